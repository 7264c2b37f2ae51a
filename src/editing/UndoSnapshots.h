#pragma once

#include "editing/ListControl.h"

#include <QString>
#include <vector>

namespace quillon {

// What one undo step guards; the number is what the tooltips are chosen by.
enum class UndoKind { None = 0, EditedLine = 1, DeletedLine = 2, InsertedLine = 3, ChangedCode = 4, CopiedLines = 5 };

// One level of undo: the program list's items and state as a whole.
struct ListSnapshot {
    std::vector<ListItem> items;
    ListState state;
};

// The one undo step and its redo: the snapshot taken before a change and,
// from the first Undo on, the state that Undo replaced. A new step replaces
// both, so there is never more than one step to go back.
class UndoSnapshots {
public:
    static const QString kUndoDesignTip;
    static const QString kRedoDesignTip;
    static QString undoTip(UndoKind kind);
    static QString redoTip(UndoKind kind);

    void take(UndoKind kind, ListSnapshot before);
    void clear();

    UndoKind kind() const { return m_kind; }
    bool canUndo() const { return m_kind != UndoKind::None; }
    bool canRedo() const { return m_redoTaken; }
    // Undo: keeps `current` as the redo state the first time, and answers the
    // state to go back to. Later Undos of the same step keep that first redo state.
    const ListSnapshot& undo(ListSnapshot current);
    const ListSnapshot& redo() const { return m_redo; }

private:
    ListSnapshot m_undo;
    ListSnapshot m_redo;
    bool m_redoTaken = false;
    UndoKind m_kind = UndoKind::None;
};

}  // namespace quillon
