#pragma once

#include "editing/TipController.h"

#include <QElapsedTimer>
#include <QFont>
#include <QTimer>
#include <QWidget>

namespace quillon {

// The light yellow tip with a grey drop shadow that shows the whole text of a
// cut list cell exactly over the cell. A top-level window that never takes
// the focus, so the main window keeps it; clicks on it go to the row below.
// One per main window; the lists are pointed at it with ListView::setTipPopup.
class TipPopup : public QWidget, private TipHost {
    Q_OBJECT
public:
    explicit TipPopup(QWidget* parent = nullptr);
    ~TipPopup() override;

    // From a list's mouse move: the pointer rests on a cell whose text is cut.
    // cellOnScreen: the cell in global coordinates; font: the list's font.
    void listDisplay(TipOwner* owner, int row, int column, const QRect& cellOnScreen,
                     const QFont& font, const QString& text);
    // From a list's mouse move over anything but a cut cell.
    void listNoCutCell(TipOwner* owner);
    // Takes a shown tip away (before the commands are enabled or disabled).
    void remove();
    void ownerGone(TipOwner* owner);

    const TipController& controller() const { return controller_; }
    TipController& controller() { return controller_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // TipHost
    qint64 nowMs() const override;
    QPoint cursorPos() const override;
    void showTip(const QRect& face, const QString& text) override;
    void hideTip() override;
    void timersChanged() override;

    QElapsedTimer clock_;
    QTimer timer_;
    TipController controller_;
    QFont textFont_;
    QFont pendingFont_;
    QString text_;
};

}  // namespace quillon
