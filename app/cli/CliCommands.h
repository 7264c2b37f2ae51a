#pragma once

#include <QString>

namespace quillon::cli {

class CliContext;

struct CliCommand {
    const char* name;
    const char* summary;  // one line for the general help
    const char* help;     // the command's --help text
    int (*run)(CliContext& context);
    bool needsGui = false;  // draws with fonts: runs under a QGuiApplication
};

// The command table; each command lives in its own file.
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
