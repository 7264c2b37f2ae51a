#include "CliCommands.h"

#include <QGuiApplication>

namespace quillon::cli {

std::unique_ptr<QCoreApplication> drawingApplication(int& argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace quillon::cli
