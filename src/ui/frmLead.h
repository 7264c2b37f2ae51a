#pragma once

#include <QDialog>

class QPagedPaintDevice;

namespace quillon {

// "Quillon - serielles Kabel": how to build the cable between the PC and
// the machine, with a button that prints the instructions.
class frmLead : public QDialog {
    Q_OBJECT
public:
    explicit frmLead(QWidget* parent = nullptr);

private:
    void cmdPrint_Click();
};

// Renders the printed instructions (Arial, heading at 14 point, blocks at
// 12) onto `device`, a printer or a PDF writer; starts a new page when one
// is full. Returns false when nothing could be drawn.
bool printCableInstructions(QPagedPaintDevice& device);

}  // namespace quillon
