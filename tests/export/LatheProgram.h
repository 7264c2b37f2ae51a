#pragma once

// The name the window tests know the program builder by.
#include "ProgramBuilder.h"

namespace quillon::testing {
using LatheProgram = ProgramBuilder;
}
