#include "ProgramFile.h"

#include "Cp1252.h"
#include "ProgramText.h"

#include <QFile>
#include <QSaveFile>

namespace quillon {

std::optional<QByteArray> readWholeFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

std::optional<QByteArray> programFileBytes(const Program& program, MachineType machine, QString* problem,
                                           TraceSink* trace)
{
    const QString why = programTextProblem(program, machine);
    if (!why.isEmpty()) {
        if (problem)
            *problem = why;
        return std::nullopt;
    }
    return encodeCp1252(strFileOutBuff(program, machine, trace) + QStringLiteral("\r\n")).bytes;
}

QString saveFailureMessage(const QString& path)
{
    return QStringLiteral("Datei kann nicht geschrieben werden ") + path
           + QStringLiteral("\r\nStellen Sie sicher das die Diskette nicht schreibgeschützt ist.\r\n");
}

SaveResult SaveFile(const QString& path, const Program& program, MachineType machine, TraceSink* trace)
{
    const TraceScope scope(trace, "modQuillon", "SaveFile");
    SaveResult result;
    QString problem;
    const std::optional<QByteArray> bytes = programFileBytes(program, machine, &problem, trace);
    if (!bytes) {
        // Nothing was written; the write-protect advice would mislead here.
        result.message = QStringLiteral("Datei kann nicht geschrieben werden ") + path + QStringLiteral("\r\n") + problem;
        return result;
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.message = saveFailureMessage(path);
        return result;
    }
    if (file.write(*bytes) != bytes->size() || !file.commit()) {
        file.cancelWriting();
        result.message = saveFailureMessage(path);
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace quillon
