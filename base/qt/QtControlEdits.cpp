#include "base/qt/QtControlEdits.h"

#include <QLineEdit>

#include "base/qt/QtText.h"
#include "image/IdentificationTable.h"

namespace orbisk {

QLineEdit* ControlEdits::Make(Ctl control, bool readOnly) {
    auto* edit = new QLineEdit;
    edit->setObjectName(Q(std::string(ControlName(control))));
    edit->setReadOnly(readOnly);
    edits_[static_cast<int>(control)] = edit;
    QObject::connect(edit, &QLineEdit::textEdited, edit,
                     [this, control](const QString& text) { typed_(control, text); });
    return edit;
}

void ControlEdits::Show(const DisplayModel& model) const {
    for (int i = 0; i < kControlCount; ++i) {
        QLineEdit* edit = edits_[i];
        if (!edit) continue;
        const Ctl c = static_cast<Ctl>(i);
        edit->setText(Q(model.Text(c)));
        edit->setCursorPosition(0);
        QPalette p = edit->palette();
        const QColor text =
            model.Color(c) == TextColor::Red ? QColor(255, 0, 0) : QColor(0, 0, 0);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            p.setColor(group, QPalette::Text, text);
        }
        edit->setPalette(p);
    }
}

void ControlEdits::LimitLengths() const {
    for (int i = 0; i < kControlCount; ++i) {
        const int length = MaxTextLength(static_cast<Ctl>(i));
        if (length > 0 && edits_[i]) edits_[i]->setMaxLength(length);
    }
}

}  // namespace orbisk
