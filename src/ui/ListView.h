#pragma once

#include "editing/ListControl.h"
#include "editing/TipController.h"

#include <QPointer>

#include <QWidget>

class QScrollBar;

namespace quillon {

class TipPopup;

// Paints a ListControl: raised header buttons, white rows (cyan when selected,
// yellow when marked for copying), grey separators, a focus rectangle on the
// caret row, light grey where no row is. Carries its own scroll bar at the
// right edge, which also stands for the list's keyboard focus: focusing the
// scroll bar focuses the list. Only rows the control names are repainted;
// scrolling shifts pixels.
class ListView : public QWidget, private ListObserver, private TipOwner {
    Q_OBJECT
public:
    // scrollBarName becomes the scroll bar's objectName ("vsbList").
    explicit ListView(const QString& scrollBarName, QWidget* parent = nullptr);
    ~ListView() override;

    // The control is not owned; it may be replaced or set to null at any time.
    void setControl(ListControl* control);
    ListControl* control() const { return control_; }
    QScrollBar* scrollBar() const { return scrollBar_; }

    // The list's meaning of a Qt key (for a window that forwards keys itself).
    static ListKey keyFor(int qtKey);

    // "Courier New" where installed, else a fixed-pitch substitute (Liberation Mono).
    static QFont fixedPitchFont(int pointSize = 9);

    // Defines a column whose width is the text width of `sample` in this
    // view's font (set the font first).
    void setColumn(int column, const QString& header, const QString& sample,
                   ListAlign align = ListAlign::Left);
    // Defines the visible rows from the current size and empties the list.
    void initList();

    // The wheel scrolls this list by a page per notch while enabled (default on).
    void setWheelEnabled(bool on) { wheelEnabled_ = on; }
    // Ignore presses of other mouse buttons (the program list); default off.
    void setLeftButtonOnly(bool on) { leftButtonOnly_ = on; }
    // Where cut cells show their full text; not owned, may be null.
    void setTipPopup(TipPopup* tip);

    int headerHeight() const;
    int rowHeight() const;
    // Widget rectangle of text row `rowOffset` (0-based under the header).
    QRect rowRect(int rowOffset) const;
    // Widget rectangle of a cell of a visible entry; empty when not visible.
    QRect cellRect(int index, int column) const;
    int visibleRowsForHeight(int height) const;

signals:
    // The control reported a selection (the window's Change notification).
    void selectionReported();
    void itemDoubleClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // ListObserver
    void listRowsToDraw(const ListControl&, const std::vector<int>& positions) override;
    void listScrolled(const ListControl&, int rows) override;
    void listScrollBarChanged(const ListControl&) override;
    void listInvalidated(const ListControl&) override;
    void listSelectionReported(const ListControl&) override;

    // TipOwner
    bool tipOwnerUsable() const override;
    void tipClicked(int row) override;

    void syncScrollBar();
    void layoutScrollBar();
    int rowsWidth() const;
    void paintHeader(QPainter& p);
    void paintRow(QPainter& p, int rowOffset);
    void onScrollBarValue(int value);
    void showTipFor(const QPoint& pos);

    ListControl* control_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    QPointer<TipPopup> tip_;
    bool wheelEnabled_ = true;
    bool leftButtonOnly_ = false;
    bool syncing_ = false;
    int wheelRemainder_ = 0;
};

}  // namespace quillon
