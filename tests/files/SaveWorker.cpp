// Saves a large program over and over, once under a file-size limit, or just
// once (where the fault test decides who runs it), so the fault tests can
// kill it mid-save or let the write fail.
#include "files/ProgramFile.h"
#include "model/NumberFormat.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>

using namespace quillon;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    const QString path = args[1];
    const QString mode = args[2];  // "loop", "once" or "limit:BYTES"

    Program program;
    for (int i = 0; i < 4000; ++i) {
        ProgramRow row;
        row.setColumn(1, QStringLiteral(" "));
        row.setColumn(2, strFormatNumber(QString::number(i % 222), 3, false));
        row.setColumn(3, QStringLiteral(" 01"));
        row.setColumn(4, strFormatNumber(QString::number(i), 6, true));
        row.setColumn(5, strFormatNumber(QString::number(-i), 5, true));
        row.setColumn(6, strFormatNumber(QString::number(i / 2), 6, true));
        row.setColumn(7, QStringLiteral(" 100"));
        row.setColumn(8, QStringLiteral("Zeile %1 mit einem langen Kommentar").arg(i));
        program.rows.push_back(row);
    }

    if (mode.startsWith(QLatin1String("limit:")) || mode == QLatin1String("once")) {
        if (mode != QLatin1String("once")) {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            limit.rlim_cur = limit.rlim_max = mode.mid(6).toULongLong();
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        const SaveResult r = SaveFile(path, program, MachineType::F1);
        std::fputs(r.message.toUtf8().constData(), stdout);
        return r.ok ? 0 : 1;
    }
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (;;) {
        if (!SaveFile(path, program, MachineType::F1).ok)
            return 1;
    }
}
