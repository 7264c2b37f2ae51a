#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace quillon {

class ApplicationState;
class MainWindow;
class MessageSink;
class QuillonApplication;
class SingleInstance;
class SplashWindow;
class TraceScope;

// The start-up sequence up to the event loop: single instance, settings,
// machine, window, new program, the command line's file, splash timer. It
// then keeps the window, rebuilding it when the machine changes, and opens
// what later starts hand over.
class ApplicationStart : public QObject {
    Q_OBJECT
public:
    // `app` (may be null) gets the error report for exceptions in event handlers.
    ApplicationStart(QString instanceName, MessageSink& messages, QuillonApplication* app = nullptr);
    ~ApplicationStart() override;

    // `args` are the arguments after the program name. Returns -1 when the
    // window is up and the event loop is to run, else the exit code.
    int start(const QStringList& args);

    MainWindow* window() const { return m_window.get(); }
    ApplicationState* state() const { return m_state.get(); }

private:
    void openWindow();
    void bringToFront();
    void openHandedOver(const QString& path);
    // The first failed write of the settings file is told, with its path.
    void settingsNotWritten(const QString& path);

    QString m_instanceName;
    MessageSink& m_messages;
    QuillonApplication* m_app;
    std::unique_ptr<SingleInstance> m_instance;
    std::unique_ptr<ApplicationState> m_state;
    std::unique_ptr<TraceScope> m_trace;  // "Main" in the log, from start to the end of the run
    std::unique_ptr<SplashWindow> m_splash;
    std::unique_ptr<MainWindow> m_window;
    bool m_settingsFailureTold = false;
};

}  // namespace quillon
