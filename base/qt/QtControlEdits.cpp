#include "base/qt/QtControlEdits.h"

#include <QEvent>
#include <QHelpEvent>
#include <QLineEdit>
#include <QStyle>
#include <QToolTip>
#include <algorithm>

#include "base/qt/QtText.h"
#include "image/IdentificationTable.h"

namespace orbisk {

namespace {

// A text longer than its edit shows whole in the tooltip (with the edit's own hint after it).
// The edits of a page out of edit mode are disabled: there is no scrolling through them.
class WholeTextTip final : public QObject {
public:
    explicit WholeTextTip(QLineEdit* edit) : QObject(edit), edit_(edit) {
        edit->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != edit_ || event->type() != QEvent::ToolTip || Fits()) return false;
        const QString hint = edit_->toolTip();
        const QString tip = hint.isEmpty() ? edit_->text() : edit_->text() + "\n" + hint;
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip, edit_);
        return true;
    }

private:
    bool Fits() const {
        // The room QLineEdit leaves its text: inside the frame, the text margins and the two
        // pixels it keeps on either side.
        constexpr int kSideRoom = 2;
        const int frame = edit_->hasFrame() ? edit_->style()->pixelMetric(
                                                  QStyle::PM_DefaultFrameWidth, nullptr, edit_)
                                            : 0;
        const QMargins margins = edit_->textMargins();
        const int room = edit_->contentsRect().width() - 2 * frame - margins.left() -
                         margins.right() - 2 * kSideRoom;
        return edit_->fontMetrics().horizontalAdvance(edit_->text()) <= room;
    }

    QLineEdit* edit_;
};

}  // namespace

QLineEdit* ControlEdits::Make(Ctl control, bool readOnly) {
    auto* edit = new QLineEdit;
    edit->setObjectName(Q(std::string(ControlName(control))));
    edit->setReadOnly(readOnly);
    edits_[static_cast<int>(control)] = edit;
    new WholeTextTip(edit);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [this, control](const QString& text) {
        FitLimit(static_cast<int>(control));
        typed_(control, text);
    });
    return edit;
}

void ControlEdits::Show(const DisplayModel& model) const {
    for (int i = 0; i < kControlCount; ++i) {
        QLineEdit* edit = edits_[i];
        if (!edit) continue;
        const Ctl c = static_cast<Ctl>(i);
        const QString shown = Q(model.Text(c));
        // QLineEdit cuts whatever it is given to its length limit, not only what is typed.
        if (limits_[i] > 0) edit->setMaxLength(std::max<int>(limits_[i], shown.size()));
        edit->setText(shown);
        FitLimit(i);
        edit->setCursorPosition(0);
        QPalette p = edit->palette();
        const QColor text = model.Color(c) == TextColor::Red ? QColor(255, 0, 0) : QColor(0, 0, 0);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            p.setColor(group, QPalette::Text, text);
        }
        edit->setPalette(p);
    }
}

void ControlEdits::LimitLengths() {
    for (int i = 0; i < kControlCount; ++i) {
        limits_[i] = MaxTextLength(static_cast<Ctl>(i));
        FitLimit(i);
    }
}

// The limit, or the text's own length while it is longer: never more than it holds, so typing
// cannot lengthen a text beyond the limit.
void ControlEdits::FitLimit(int control) const {
    QLineEdit* edit = edits_[control];
    if (!edit || limits_[control] <= 0) return;
    edit->setMaxLength(std::max<int>(limits_[control], edit->text().size()));
}

}  // namespace orbisk
