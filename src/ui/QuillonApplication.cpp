#include "QuillonApplication.h"

#include "ApplicationStart.h"
#include "LazyIconStyle.h"
#include "SingleInstance.h"
#include "StdMessageBox.h"
#include "shell/AppIdentity.h"
#include "shell/ErrorReport.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QStyleFactory>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <cstring>
#include <exception>

namespace quillon {

QuillonApplication::QuillonApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(applicationTitle());
    setApplicationVersion(versionText());
    setDesktopFileName(QString::fromLatin1(kDesktopAppId));
    // The style chosen for this run (the platform's, or -style), its icons made on first use.
    if (QStyle* base = QStyleFactory::create(style()->name()))
        setStyle(new LazyIconStyle(base));
    // The program speaks German whatever the locale; Qt's own dialogs
    // ("Ja"/"Nein", the file dialog) follow with Qt's German translation.
    auto* qtGerman = new QTranslator(this);
    if (qtGerman->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(qtGerman);
    // Looking through the icon themes, and decoding the built-in images (which
    // first loads every image-format plugin), takes longer than building the
    // window. The icon waits for the first window's first exposure and comes
    // after the frame drawn for it; the window manager takes it as it comes.
    // The filter sees every event until then, and none after.
    installEventFilter(this);
}

bool QuillonApplication::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Expose) {
        removeEventFilter(this);
        QTimer::singleShot(0, this, &QuillonApplication::setIcon);
    }
    return QApplication::eventFilter(watched, event);
}

std::optional<int> answerInfoOption(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("quillon %s\n", versionText().toUtf8().constData());
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("usage: quillon [--settings FILE] [PROGRAM.cnc] [1|2|4]\n\n"
                        "The Quillon CNC Editor for EMCO Compact 5 (Mark 2, Mark 4) and F1 part programs.\n"
                        "PROGRAM.cnc opens that program; a last 1 (F1), 2 (Mark 2) or 4 (Mark 4) picks\n"
                        "the machine for this run only. A running editor opens the program instead.\n\n"
                        "  --settings FILE  the settings file to use\n"
                        "  --help           this text\n"
                        "  --version        the version\n");
            return 0;
        }
    }
    return std::nullopt;
}

void QuillonApplication::setIcon()
{
    // The installed theme icon, else the one built in.
    QIcon icon = QIcon::fromTheme(QString::fromLatin1(kDesktopAppId));
    if (icon.isNull()) {
        icon.addFile(QStringLiteral(":/icons/quillon-48.png"));
        icon.addFile(QStringLiteral(":/icons/quillon-256.png"));
    }
    setWindowIcon(icon);
}

bool QuillonApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        if (m_report)
            m_report->LogError(QStringLiteral("modQuillon"), receiver ? receiver->objectName() : QString(), 0,
                               QString::fromLocal8Bit(e.what()));
        else
            std::fprintf(stderr, "%s\n", e.what());
    }
    return false;
}

int Main(QuillonApplication& app)
{
    StdMessageBox messages;
    ApplicationStart start(SingleInstance::defaultName(), messages, &app);
    const int early = start.start(app.arguments().mid(1));
    if (early >= 0)
        return early;
    return app.exec();
}

}  // namespace quillon
