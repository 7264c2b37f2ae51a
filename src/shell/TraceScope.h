#pragma once

// The trace scope of every layer, with the log that receives its entries.
#include "Logger.h"
#include "model/Trace.h"
