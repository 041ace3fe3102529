#include "reports/qt/QtReportQuestions.h"

#include <QInputDialog>

#include "base/qt/QtCaptions.h"
#include "base/qt/QtText.h"

namespace orbisk {

std::optional<std::string> QtReportQuestions::AskText(const std::string& caption,
                                                      const std::string& prompt,
                                                      const std::string& defaultAnswer) {
    QInputDialog dialog(window_);
    dialog.setObjectName("ReportQuestion");
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(Q(caption));
    dialog.setLabelText(Q(prompt));
    dialog.setTextValue(Q(defaultAnswer));
    dialog.setOkButtonText(Q(ui::kOkButton));
    dialog.setCancelButtonText(Q(ui::kCancelButton));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return S(dialog.textValue());
}

}  // namespace orbisk
