#pragma once

#include "editing/EditorView.h"

#include <QGroupBox>
#include <array>
#include <functional>

class QLabel;
class QLineEdit;

namespace quillon {

class Editor;

// fraCode, the line form: line number, code, the five parameter fields with
// their captions and the comment. It lays itself out and routes its fields'
// focus and keys to the editor; the rules stay in the editor.
class LineForm : public QGroupBox {
    Q_OBJECT
public:
    // Runs an editor call under the window's error report, named for the log.
    using Guard = std::function<void(const char* procedure, const std::function<void()>& call)>;

    explicit LineForm(QWidget* parent);

    void attach(Editor* editor, bool lathe, Guard guard);
    QLineEdit* param(int k) const { return m_txtParam[static_cast<std::size_t>(k)]; }
    QLineEdit* comment() const { return m_txtComment; }
    QLabel* label(FormLabel label) const;
    // The caption of the frame: a code's description or the prompt.
    void setCaption(const QString& text);
    // Lays the form out for `width` and answers the height it needs.
    int layoutFor(int width);
    int neededHeight() const { return m_height; }
    // A field was shown or hidden, or a caption changed: the places move with them.
    void fieldsChanged();

signals:
    // The form's height changed, so the controls below it must move.
    void heightChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int paramIndex(QObject* watched) const;
    bool fieldKey(int k, bool comment, QKeyEvent* key);

    Editor* m_editor = nullptr;
    Guard m_guard;
    bool m_lathe = false;
    int m_width = 0;
    int m_height = 0;
    QLabel* m_lblLine0 = nullptr;
    QLabel* m_lblLine1 = nullptr;
    QLabel* m_lblGcodeHead = nullptr;
    QLabel* m_lblGcode = nullptr;
    QLabel* m_lblFpar = nullptr;
    QLabel* m_lblComment = nullptr;
    std::array<QLabel*, 5> m_lblParam{};
    std::array<QLineEdit*, 5> m_txtParam{};
    QLineEdit* m_txtComment = nullptr;
};

// True for the key that saves under a new name, which line edits would
// otherwise keep for select-all: the window's shortcut comes first.
bool isWindowShortcut(const QKeyEvent* key);

}  // namespace quillon
