#pragma once

#include "link/PortMenuModel.h"

#include <QString>
#include <functional>

class QMenu;
class QWidget;

namespace quillon {

// Puts the port items of `model` into `menu` (after whatever is there): one
// exclusive checkable action per port, "Com 1" to "Com 4" named mnuTPort1 to
// mnuTPort4. Choosing an item calls `onChoose` with the new `ComPort` value;
// the typing entry asks for a device path first (offering the last typed
// path, else the first adapter found) and calls nothing when the user gives
// none. A path typed earlier stays on offer while another port is chosen.
void fillPortMenu(QMenu* menu, const PortMenuModel& model, const std::function<void(const QString&)>& onChoose);

// Asks for a device path ("/dev/ttyUSB0"); empty when cancelled.
QString askDevicePath(QWidget* parent, const QString& current);

}  // namespace quillon
