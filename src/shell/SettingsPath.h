#pragma once

#include <QString>

namespace quillon {

inline constexpr const char* kSettingsFileName = "Quillon.ini";

// `folder` + "/" + `name` with exactly one separator between them, whether
// or not the folder already ends in "/" or "\" (a drive or file system root).
QString joinPath(const QString& folder, const QString& name);

// True when `folder` exists and this process may create files in it.
bool isFolderWritable(const QString& folder);

// True when the program keeps its settings and log in its own folder, as the
// Windows program does: the folder is writable and is not a shared binary
// folder (a folder named "bin", as under /usr or /usr/local). /usr/bin is
// writable for root, and a settings file or log left there belongs to no package.
bool isPrivateProgramFolder(const QString& folder);

// The user's configuration folder: $XDG_CONFIG_HOME when it holds an
// absolute path, else ~/.config.
QString userConfigHome();

// Where the settings live: the `--settings` file when one was given (made
// absolute); else Quillon.ini in the program folder when it is a private
// one (see isPrivateProgramFolder); else
// <configHome>/Quillon/Quillon.ini, whose folder is created on the first write.
QString settingsFilePath(const QString& programDir, const QString& overridePath, const QString& configHome);
QString settingsFilePath(const QString& programDir, const QString& overridePath);

// The log file "Quillon CNC Editor.log": in the program folder when it is a
// private one, else beside the settings file.
QString logFilePath(const QString& programDir, const QString& settingsFile);

}  // namespace quillon
