#pragma once
// Hints in the recorder program's own form, "short|long": the part before the bar is the
// tooltip, the part after it the status-bar tip; a hint without a bar is both.
#include <QString>

#include "base/qt/QtText.h"

namespace orbisk {

inline QString ShortHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

inline QString LongHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

// For a widget or an action.
template <typename Target>
void SetHint(Target* target, const QString& hint) {
    target->setToolTip(ShortHint(hint));
    target->setStatusTip(LongHint(hint));
}

template <typename Target>
void SetHint(Target* target, const char* hint) {
    SetHint(target, Q(hint));
}

}  // namespace orbisk
