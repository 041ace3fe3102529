#pragma once
// The program's hint timing: a hint appears half a second after the pointer stops over a control
// and goes away two and a half seconds later, in every window, also in those made later.
class QApplication;

namespace orbisk {

inline constexpr int kHintShowPause = 500;
inline constexpr int kHintHidePause = 2500;

void InstallHintTiming(QApplication& app);

}  // namespace orbisk
