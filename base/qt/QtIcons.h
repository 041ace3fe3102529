#pragma once
// The program's icons, drawn for it as SVG files in its resources.
#include <QIcon>

#include "image/DisplayModel.h"

namespace orbisk {

// An icon of the resources by its file's base name ("open", "save", ...).
QIcon ResourceIcon(const char* name);

// The icon of a work-cycle row: the state mark (frame present) beside the row's own icon.
QIcon CycleRowIcon(RowIcon icon, bool hasFrame);

}  // namespace orbisk
