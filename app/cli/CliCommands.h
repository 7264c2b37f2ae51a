#pragma once

#include <QCoreApplication>
#include <QString>
#include <memory>

namespace quillon::cli {

class CliContext;

struct CliCommand {
    const char* name;
    const char* summary;  // one line for the general help
    const char* help;     // the command's --help text
    int (*run)(CliContext& context);
    bool needsGui = false;  // draws with fonts: runs under a QGuiApplication
};

// The application a drawing command (print, preview) runs under. The Qt
// drawing libraries take longer to load than quillon-cli needs for anything
// else, so quillon-cli links none of them: its version hands the whole
// command line over to the helper quillon-cli-draw (and returns only when
// that cannot start); the helper's gives a QGuiApplication on the offscreen
// platform unless the caller chose one.
std::unique_ptr<QCoreApplication> drawingApplication(int& argc, char** argv);

// The command table; each command lives in its own file. quillon-cli's own
// print and preview are never reached: the helper runs them.
const CliCommand* findCommand(const QString& name);
QString generalHelp();

int runCheckCommand(CliContext& context);
int runExportCommand(CliContext& context);
int runFormatCommand(CliContext& context);
int runLintCommand(CliContext& context);
int runPreviewCommand(CliContext& context);
int runPrintCommand(CliContext& context);
int runReceiveCommand(CliContext& context);
int runSendCommand(CliContext& context);

}  // namespace quillon::cli
