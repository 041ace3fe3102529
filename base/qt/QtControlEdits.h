#pragma once
// The edits of the display model's text controls, found by their control: each is made with the
// control's name as its object name, hands what the user types back to the model, and shows the
// model's text and colour.
#include <QString>
#include <array>
#include <functional>

#include "image/DisplayModel.h"

class QLineEdit;

namespace orbisk {

class ControlEdits {
public:
    // `typed` is told of every change the user makes in an edit.
    explicit ControlEdits(std::function<void(Ctl, const QString&)> typed)
        : typed_(std::move(typed)) {}

    QLineEdit* Make(Ctl control, bool readOnly = false);
    QLineEdit* operator[](Ctl control) const { return edits_[static_cast<int>(control)]; }

    // Every edit shows its control's text, from its start, in the control's text colour.
    void Show(const DisplayModel& model) const;
    // The longest texts the edits take from typing: the widths of their image fields. A text the
    // program shows is shown whole, however long; typing never makes it longer.
    void LimitLengths();

private:
    void FitLimit(int control) const;

    std::function<void(Ctl, const QString&)> typed_;
    std::array<QLineEdit*, kControlCount> edits_{};
    std::array<int, kControlCount> limits_{};
};

}  // namespace orbisk
