#include "FileCommands.h"

#include "editing/Editor.h"
#include "files/Cp1252.h"
#include "files/ProgramFile.h"
#include "files/ProgramText.h"
#include "shell/FileExists.h"
#include "shell/RecentFiles.h"
#include "shell/Settings.h"

#include <QDir>
#include <QFileInfo>

namespace quillon {

namespace {

const QString kOpenTitle = QStringLiteral("Quillon - Datei öffnen");

}  // namespace

QString initialDialogFolder(const QString& filePath, const QString& home)
{
    if (!filePath.isEmpty() && QFileInfo(filePath).isDir())
        return filePath;
    const QString cncFiles = QDir(home).filePath(QStringLiteral("CNCfiles"));
    if (QFileInfo(cncFiles).isDir())
        return cncFiles;
    return home;
}

FileCommands::FileCommands(Editor& editor, FileCommandsHost& host, const Settings& settings,
                           RecentFiles& recent, QString home)
    : m_editor(editor), m_host(host), m_settings(settings), m_recent(recent), m_home(std::move(home))
{
}

QString FileCommands::captionFor(const QString& path) const
{
    return m_editor.profile().title + QStringLiteral(" (") + path + QLatin1Char(')');
}

bool FileCommands::NewFile()
{
    const TraceScope trace(m_editor.tracer(), "frmQuillon", "NewFile");
    if (!m_editor.NewFile())
        return false;
    m_fileName.clear();
    return true;
}

bool FileCommands::mayReplaceProgram()
{
    return !m_editor.modified()
        || blnAskUnsavedWork(m_host, QStringLiteral("Sind Sie sicher das Sie ein anderes Programm öffnen wollen?"));
}

void FileCommands::OpenFile()
{
    const TraceScope trace(m_editor.tracer(), "frmQuillon", "OpenFile");
    if (!mayReplaceProgram())
        return;
    m_host.commandState(false);
    const QString path = strGetFileName(QStringLiteral("Datei auswählen"), true);
    if (!path.isEmpty())
        ReadFile(path);
    m_host.commandState(true);
}

bool FileCommands::openRecent(const QString& path)
{
    if (!mayReplaceProgram())
        return false;
    return ReadFile(path);
}

bool FileCommands::ReadFile(const QString& path)
{
    const TraceScope trace(m_editor.tracer(), "frmQuillon", "ReadFile");
    if (!blnStdFileExists(path)) {
        m_host.StdMsgBox(QStringLiteral("Datei nicht gefunden ") + path, MsgStyle::Exclamation, kOpenTitle);
        return false;
    }
    // A file that exists but cannot be read leaves the program as it is.
    QString reason;
    const std::optional<QByteArray> bytes = readWholeFile(path, &reason);
    if (!bytes) {
        m_host.StdMsgBox(QStringLiteral("Datei kann nicht gelesen werden ") + path + QStringLiteral("\r\n") + reason,
                         MsgStyle::Exclamation, kOpenTitle);
        return false;
    }
    // Listed before decoding, so a rejected file can be found again.
    m_recent.MRUAddItem(path);
    const DecodeResult decoded = blnDecodeBuffer(decodeCp1252(*bytes), m_editor.machine(), m_editor.units(), m_editor.tracer());
    if (!decoded.accepted) {
        m_host.StdMsgBox(decoded.message, MsgStyle::Exclamation, QString::fromLatin1(kDecodeTitle));
        m_editor.setModified(false);
        NewFile();
        return false;
    }
    m_editor.replaceProgram(decoded.program, false, captionFor(path));
    m_fileName = path;
    if (m_settings.warning() && m_host.showOpenNotice())
        m_settings.setValue(QString::fromLatin1(Settings::kWarning), QStringLiteral("No"));
    return true;
}

void FileCommands::FileSaver()
{
    const TraceScope trace(m_editor.tracer(), "frmQuillon", "FileSaver");
    m_host.commandState(false);
    QString path = m_fileName;
    if (path.isEmpty())
        path = strGetFileName(QStringLiteral("Datei zum speichern auswählen"), false);
    if (!path.isEmpty()) {
        const SaveResult result = SaveFile(path, m_editor.program(), m_editor.machine(), m_editor.tracer());
        if (result.ok) {
            m_recent.MRUAddItem(path);
            m_fileName = path;
            m_editor.setModified(false);
            m_editor.setCaptionText(captionFor(path));
        } else {
            m_host.StdMsgBox(result.message, MsgStyle::Exclamation, QString::fromLatin1(kSaveFailureTitle));
        }
    }
    m_host.commandState(true);
}

void FileCommands::SaveAs()
{
    const TraceScope trace(m_editor.tracer(), "frmQuillon", "SaveAs");
    m_fileName.clear();
    FileSaver();
}

bool FileCommands::ExitProg()
{
    const TraceScope trace(m_editor.tracer(), "frmQuillon", "ExitProg");
    if (m_editor.modified()
        && !blnAskUnsavedWork(m_host, QStringLiteral("Sind Sie sicher das Sie das Programm schließen wollen?")))
        return false;
    m_recent.MRUSaveFileList(m_settings);
    m_editor.setModified(false);
    const QString win = m_host.winSetting();
    if (!win.isEmpty())
        m_settings.setValue(QString::fromLatin1(Settings::kWin), win);
    return true;
}

QString FileCommands::strGetFileName(const QString& title, bool forOpening)
{
    const QString folder = initialDialogFolder(m_settings.fileFolder(), m_home);
    const QString path = m_host.chooseFile(title, forOpening, folder);
    if (path.isEmpty())
        return QString();
    QString dir = QFileInfo(path).absolutePath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    m_settings.setValue(QString::fromLatin1(Settings::kFilePath), dir);
    return path;
}

}  // namespace quillon
