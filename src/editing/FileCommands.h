#pragma once

#include "shell/MessageSink.h"

#include <QString>

namespace quillon {

class Editor;
class RecentFiles;
class Settings;

// What the file commands need from their window besides the editor: boxes,
// the file dialog, the tool-offset notice, the command state and the
// window's placement. Tests replace it with a script.
class FileCommandsHost : public MessageSink {
public:
    // The Open or Save dialog started in `folder`; the chosen full path, or
    // "" when the user cancelled.
    virtual QString chooseFile(const QString& title, bool forOpening, const QString& folder) = 0;
    // The tool-offset notice after a file was opened; true when the user
    // ticked "Do not show this message again.".
    virtual bool showOpenNotice() = 0;
    virtual void commandState(bool enabled) = 0;
    // The `Win` value of the window, or "" while it is minimised.
    virtual QString winSetting() const = 0;
};

// The folder the file dialog starts in: the `FilePath` folder when it
// exists, else ~/CNCfiles when that exists, else the home folder.
QString initialDialogFolder(const QString& filePath, const QString& home);

// New, Open, Save, Save As and Exit over the editor, the current file name,
// the settings and the recently used files.
class FileCommands {
public:
    FileCommands(Editor& editor, FileCommandsHost& host, const Settings& settings, RecentFiles& recent,
                 QString home);

    // Full path of the program in the editor; "" for an unnamed program.
    const QString& fileName() const { return m_fileName; }
    // A received program belongs to no file.
    void forgetFileName() { m_fileName.clear(); }

    bool NewFile();
    // Asks about unsaved work, then for a file, then reads it.
    void OpenFile();
    // Reads `path` without asking (callers guard unsaved work); true when
    // the program was replaced by the file's.
    bool ReadFile(const QString& path);
    // Opens a recently used file: the unsaved-work question of Open first.
    bool openRecent(const QString& path);
    void FileSaver();
    void SaveAs();
    // The unsaved-work question, then the recent files and `Win` are
    // written; true when the program may end.
    bool ExitProg();
    // The unsaved-work question of Open; true when the user may go on.
    bool mayReplaceProgram();

    QString strGetFileName(const QString& title, bool forOpening);

private:
    QString captionFor(const QString& path) const;

    Editor& m_editor;
    FileCommandsHost& m_host;
    const Settings& m_settings;
    RecentFiles& m_recent;
    QString m_home;
    QString m_fileName;
};

}  // namespace quillon
