#include "ExportMessages.h"

namespace quillon {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
// Every failure ends here: the export writes its file whole or not at all.
const QString kNoFile = QStringLiteral("Es wurde keine Datei geschrieben.");
}

QString missingJumpTargetMessage(const LineRecord& record)
{
    return QStringLiteral("Die Ziel Zeile für den Sprungbefehl ist nicht vorhanden") + kCrLf + record.text + kCrLf
           + kNoFile;
}

QString zeroRadiusArcMessage(const QString& previousText, const LineRecord& record)
{
    return QStringLiteral("Es ist ein Problem mit dem Bogen in der zweiten Zeile,") + kCrLf
           + QStringLiteral("er endet in einem 0 Radius") + kCrLf + kCrLf + previousText + kCrLf + record.text + kCrLf
           + kNoFile;
}

QString returnWithoutCallMessage(const LineRecord& record)
{
    return QStringLiteral("Der Rücksprungbefehl hat keinen Unterprogrammaufruf, zu dem er zurückkehren kann")
           + kCrLf + record.text + kCrLf + kNoFile;
}

QString lineLimitMessage()
{
    return QStringLiteral("Das exportierte Programm würde die höchste Zeilennummer 32767 überschreiten.") + kCrLf
           + QStringLiteral("Springt ein Sprungbefehl (G27) zurück und bildet eine endlose Schleife?") + kCrLf + kNoFile;
}

QString toolCancelledMessage(const LineRecord& record)
{
    return QStringLiteral("Der Export wurde abgebrochen: kein Werkzeug für Zeile %1 gewählt.").arg(record.lineNumber)
           + kCrLf + kNoFile;
}

QString notLatheMessage()
{
    return QStringLiteral("Der Export zu Spindra ist nur für Programme der Drehmaschinen (Mark 2 und Mark 4) "
                          "möglich. Es wurde keine Datei geschrieben.");
}

QString unencodableMessage(const QString& characters)
{
    return QStringLiteral("Diese Zeichen können in der Exportdatei nicht gespeichert werden: ") + characters + kCrLf + kNoFile;
}

QString exportWriteFailedMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("Die Exportdatei kann nicht geschrieben werden: ") + path + kCrLf + reason + kCrLf
           + kNoFile;
}

QString percentInDescriptionMessage()
{
    return QStringLiteral("Die Programmbeschreibung darf kein Prozentzeichen (%) enthalten.") + kCrLf + kNoFile;
}

QString exportCompleteMessage(const QString& path)
{
    return QStringLiteral("Die in das Spindra exportierte Datei hat folgenden Namen") + kCrLf + path;
}

QString withoutNoFileNote(const QString& message)
{
    return message.endsWith(kCrLf + kNoFile) ? message.chopped(kCrLf.size() + kNoFile.size()) : message;
}

}  // namespace quillon
