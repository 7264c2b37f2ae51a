// Saves a large program over and over ("loop"), or once under a file-size
// limit ("limit:BYTES"), so the fault tests can kill it mid-save or let the
// write fail.
#include "files/ProgramFile.h"

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
    Program program;
    for (int i = 0; i < 4000; ++i) {
        ProgramRow row;
        row.columns = {QStringLiteral(" "), QStringLiteral("%1").arg(i % 222, 3), QStringLiteral(" 01"),
                       QStringLiteral("%1").arg(i, 6), QStringLiteral("%1").arg(-i, 5), QStringLiteral("%1").arg(i / 2, 6),
                       QStringLiteral(" 100"), QStringLiteral("Zeile %1 mit einem langen Kommentar").arg(i)};
        program.rows.push_back(row);
    }
    if (args[2].startsWith(QLatin1String("limit:"))) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = args[2].mid(6).toULongLong();
        setrlimit(RLIMIT_FSIZE, &limit);
        const SaveResult r = SaveFile(args[1], program, MachineType::F1);
        std::fputs(r.message.toUtf8().constData(), stdout);
        return r.ok ? 0 : 1;
    }
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    while (SaveFile(args[1], program, MachineType::F1).ok) {
    }
    return 1;
}
