#include "UndoSnapshots.h"

namespace quillon {

namespace {

const QString kUndoTips[] = {
    QString(),
    QStringLiteral("Wiederherstellen der editierten Zeile"),
    QStringLiteral("Wiederherstellen der gelöschten Zeile"),
    QStringLiteral("Entfernen der eingefügten Zeile"),
    QStringLiteral("Wiederherstellen des ursprünglichen G-Codes"),
    QStringLiteral("Entfernen der kopierten Zeilen"),
};
const QString kRedoTips[] = {
    QString(),
    QStringLiteral("Wiederholen der Änderung in der Zeile"),
    QStringLiteral("Löschen der wiederhergestellten Zeile"),
    QStringLiteral("Wiederherstellen der eingefügten Zeile"),
    QStringLiteral("Wiederholen der Änderung in der G-Codes"),
    QStringLiteral("Wiederherstellen der kopierten Zeilen"),
};

}  // namespace

const QString UndoSnapshots::kUndoDesignTip = QStringLiteral("aktuelle Programmzeile wiederherstellen");
const QString UndoSnapshots::kRedoDesignTip = QStringLiteral("Wiederherstellen der ursprünglichen Werte");

QString UndoSnapshots::undoTip(UndoKind kind)
{
    return kUndoTips[static_cast<int>(kind)];
}

QString UndoSnapshots::redoTip(UndoKind kind)
{
    return kRedoTips[static_cast<int>(kind)];
}

void UndoSnapshots::take(UndoKind kind, ListSnapshot before)
{
    m_undo = std::move(before);
    m_redo = {};
    m_kind = kind;
    m_redoTaken = false;
}

void UndoSnapshots::clear()
{
    m_undo = {};
    m_redo = {};
    m_kind = UndoKind::None;
    m_redoTaken = false;
}

const ListSnapshot& UndoSnapshots::undo(ListSnapshot current)
{
    if (!m_redoTaken) {
        m_redo = std::move(current);
        m_redoTaken = true;
    }
    return m_undo;
}

}  // namespace quillon
