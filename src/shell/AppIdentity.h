#pragma once

#include <QString>

namespace quillon {

// The identity every message, the log file name and the error report use.
inline constexpr const char* kApplicationTitle = "Quillon CNC Editor";
// The desktop entry's and the theme icon's name.
inline constexpr const char* kDesktopAppId = "org.quillon.Quillon";
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 21;

inline QString applicationTitle() { return QString::fromLatin1(kApplicationTitle); }

// "1.0.21"
inline QString versionText()
{
    return QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

// "Quillon CNC Editor 1.0.21", the title of the error report and the start-up failure.
inline QString applicationTitleWithVersion() { return applicationTitle() + QLatin1Char(' ') + versionText(); }

// The splash window's version label: "Version 1.0.21".
inline QString versionLabel() { return QStringLiteral("Version ") + versionText(); }

// What a second start shows when the running instance cannot be brought to
// the front (critical icon, OK, titled with the application title).
inline QString previousInstanceMessage()
{
    return applicationTitle() + QStringLiteral(" cannot start as a previous instance is still running");
}

}  // namespace quillon
