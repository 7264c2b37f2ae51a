#include "CliCommands.h"
#include "CliContext.h"

#include <QCoreApplication>
#include <memory>

using namespace quillon::cli;

namespace {

// Global options may stand before the command or among its options.
struct GlobalOptions {
    QString settings;
    bool help = false;
    bool version = false;
    QString command;
    QStringList rest;
    QString error;
};

GlobalOptions splitArguments(const QStringList& args)
{
    GlobalOptions g;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--settings")) {
            if (i + 1 >= args.size()) {
                g.error = QStringLiteral("--settings needs a value");
                return g;
            }
            g.settings = args[++i];
        } else if (a.startsWith(QLatin1String("--settings="))) {
            g.settings = a.mid(11);
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            g.help = true;
        } else if (a == QLatin1String("--version") && g.command.isEmpty()) {
            g.version = true;
        } else if (g.command.isEmpty() && !a.startsWith(QLatin1Char('-'))) {
            g.command = a;
        } else {
            g.rest << a;
        }
    }
    return g;
}

}  // namespace

// The one main of quillon-cli and of its drawing helper, which differ only
// in drawingApplication and the two drawing commands.
int main(int argc, char* argv[])
{
    // The command decides the kind of application: drawing the listing
    // needs fonts, hence a QGuiApplication (see drawingApplication); every
    // other command stays without a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const GlobalOptions g = splitArguments(arguments);
    const CliCommand* command = g.command.isEmpty() ? nullptr : findCommand(g.command);
    std::unique_ptr<QCoreApplication> app;
    if (command && command->needsGui && !g.help)
        app = drawingApplication(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillon-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));

    if (!g.error.isEmpty())
        return CliContext::usageError(g.error);
    if (g.version) {
        CliContext::out(QStringLiteral("quillon-cli " QUILLON_VERSION "\n"));
        return kExitOk;
    }
    if (g.command.isEmpty()) {
        if (g.help) {
            CliContext::out(generalHelp());
            return kExitOk;
        }
        CliContext::err(generalHelp());
        return kExitUsage;
    }
    if (!command)
        return CliContext::usageError(QStringLiteral("unknown command \"%1\" (see quillon-cli --help)").arg(g.command));
    if (g.help) {
        CliContext::out(QString::fromUtf8(command->help));
        return kExitOk;
    }
    CliContext context(g.settings, g.rest);
    return command->run(context);
}
