#include "PortMenu.h"

#include <QActionGroup>
#include <QInputDialog>
#include <QMenu>

namespace quillon {

namespace {

// The menu outlives its rebuilds; it remembers the last typed path, so that
// choosing "Com 2" does not lose it.
constexpr const char* kTypedPathProperty = "quillonTypedPath";

}  // namespace

void fillPortMenu(QMenu* menu, const PortMenuModel& built, const std::function<void(const QString&)>& onChoose)
{
    PortMenuModel model = built;
    model.keepTypedPath(menu->property(kTypedPathProperty).toString());
    menu->setProperty(kTypedPathProperty, model.typedPath());
    const QString suggestion = model.pathSuggestion();

    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    const std::vector<PortMenuEntry>& entries = model.entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const PortMenuEntry& entry = entries[i];
        QAction* action = menu->addAction(entry.caption);
        if (entry.kind == PortMenuEntry::Kind::TypePath) {
            action->setObjectName(QStringLiteral("mnuTPortPath"));
            QObject::connect(action, &QAction::triggered, menu, [menu, onChoose, suggestion] {
                const QString path = askDevicePath(menu->window(), suggestion);
                if (!path.isEmpty())
                    onChoose(path);
            });
            continue;
        }
        if (entry.kind == PortMenuEntry::Kind::Fixed)
            action->setObjectName(QStringLiteral("mnuTPort") + entry.comPort);
        action->setCheckable(true);
        action->setChecked(int(i) == model.checkedIndex());
        group->addAction(action);
        const QString value = entry.comPort;
        QObject::connect(action, &QAction::triggered, menu, [onChoose, value] { onChoose(value); });
    }
}

QString askDevicePath(QWidget* parent, const QString& current)
{
    bool ok = false;
    const QString path = QInputDialog::getText(parent, QStringLiteral("Schnittstelle"),
                                               QStringLiteral("Gerätepfad der seriellen Schnittstelle:"),
                                               QLineEdit::Normal,
                                               current.isEmpty() ? QStringLiteral("/dev/ttyUSB0") : current, &ok);
    return ok ? path.trimmed() : QString();
}

}  // namespace quillon
