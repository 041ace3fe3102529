#pragma once
// The program's name and the file name of its help document: the desktop shows them, the
// reports name the program, the build names its menu entry and help file after them.
namespace orbisk::ui {

inline constexpr char kAppTitle[] = "Регистратор параметров работы крана";
inline constexpr char kHelpFileName[] = "orbis_k.pdf";

}  // namespace orbisk::ui
