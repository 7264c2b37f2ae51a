#include "PortMenu.h"

#include <QActionGroup>
#include <QInputDialog>
#include <QMenu>

namespace quillon {

void fillPortMenu(QMenu* menu, const PortMenuModel& model, const std::function<void(const QString&)>& onChoose)
{
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    const std::vector<PortMenuEntry>& entries = model.entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const PortMenuEntry& entry = entries[i];
        QAction* action = menu->addAction(entry.caption);
        if (entry.kind == PortMenuEntry::Kind::TypePath) {
            action->setObjectName(QStringLiteral("mnuTPortPath"));
            QObject::connect(action, &QAction::triggered, menu, [menu, onChoose] {
                const QString path = askDevicePath(menu->window(), QString());
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
