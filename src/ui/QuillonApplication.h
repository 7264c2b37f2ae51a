#pragma once

#include <QApplication>

#include <optional>

namespace quillon {

class ErrorReport;

// The application object: an exception that escapes an event handler ends
// in the program-wide error report instead of tearing the event loop down.
// It loads Qt's German texts and sets the window icon once the first
// window has been drawn.
class QuillonApplication : public QApplication {
    Q_OBJECT
public:
    QuillonApplication(int& argc, char** argv);

    void setErrorReport(ErrorReport* report) { m_report = report; }
    bool notify(QObject* receiver, QEvent* event) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setIcon();

    ErrorReport* m_report = nullptr;
};

// `--help` and `--version` print their answer and end the run before any
// window (or display) is needed; the exit code, or nullopt to start.
std::optional<int> answerInfoOption(int argc, char** argv);

// The start-up sequence: single instance, settings, machine, window, new
// program, splash timer; then the event loop. Returns the exit code.
int Main(QuillonApplication& app);

}  // namespace quillon
