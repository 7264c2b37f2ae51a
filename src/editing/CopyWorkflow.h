#pragma once

#include "editing/EditorView.h"
#include "editing/ListControl.h"

#include <QString>

namespace quillon {

class Editor;

// Copying marked lines: marking (the program list in multi-mark mode), then
// position and count, then the copies, one undoable step. While it runs the
// editor's other commands are off, and the keys of the window go to the
// program list so that the arrows and Space mark lines.
class CopyWorkflow {
public:
    explicit CopyWorkflow(Editor& editor) : m_editor(editor) {}

    bool active() const { return m_stage != CopyStage::Off; }
    CopyStage stage() const { return m_stage; }
    const QString& insertText() const { return m_insertText; }
    const QString& copiesText() const { return m_copiesText; }
    bool nextEnabled() const { return m_nextEnabled; }

    void start();
    void next();
    void cancel();
    void insertChanged(const QString& text);
    void copiesChanged(const QString& text);
    // A key the window routes to the program list while lines are marked.
    void key(ListKey key);

private:
    void setStage(CopyStage stage, const QString& instructions);
    void setEntries(const QString& insert, const QString& copies);
    void setNextEnabled(bool enabled);
    int lastLineNumber() const;
    int markedCount() const;
    // Copies every marked line `copies` times behind `caret`; the number of lines copied.
    int copyMarked(int caret, int copies);
    bool blnCopyLine(int source, int caret);

    Editor& m_editor;
    CopyStage m_stage = CopyStage::Off;
    QString m_insertText;
    QString m_copiesText;
    bool m_nextEnabled = false;
    int m_returnLine = 0;  // list position made current when copying ends
    bool m_undoWasEnabled = false;
    bool m_redoWasEnabled = false;
};

}  // namespace quillon
