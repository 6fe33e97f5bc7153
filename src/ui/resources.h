#pragma once

namespace nobrisa {

// Registers the program's compiled-in resources (the icons under ":/icons/"). The windows live in
// a static library, whose resource initialiser the linker would otherwise drop: call this once
// in every program that shows them, after the QApplication exists.
void initResources();

} // namespace nobrisa
