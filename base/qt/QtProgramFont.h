#pragma once
// The program's own font. On Linux the windows are drawn in the desktop's sans-serif font, which
// is what their layouts are measured against; Windows has no such font under that name (Wine
// even substitutes a serif one), so the package ships the font in "fonts" beside the program.
// Its faces are loaded from there and the first one's family becomes the application's font at
// the system's size; without a usable font file the system's font stays.
#include <QString>

namespace orbisk {

// True when a font from the folder became the application's font.
bool UseShippedFont(const QString& folder);

}  // namespace orbisk
