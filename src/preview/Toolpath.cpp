#include "Toolpath.h"

namespace quillon {

Toolpath buildToolpath(const Program& program, MachineType machine)
{
    // Placeholder until the walk reports rows; draws nothing yet.
    Toolpath path;
    path.machine = machine;
    path.inch = program.units == Units::Imperial;
    return path;
}

}  // namespace quillon
