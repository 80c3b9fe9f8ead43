#pragma once

#include "gui/common/appcontext.h"

namespace kalvado {

// Teaches the window registry how to make every window of the program.
void RegisterWindows(AppContext &ctx);

} // namespace kalvado
