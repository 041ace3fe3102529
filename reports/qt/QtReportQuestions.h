#pragma once
// The cycle-count question of the report command as a modal input dialog: the document's name
// as caption, the prompt line, an edit field with the proposed answer, OK and Cancel.
#include <QPointer>
#include <QWidget>

#include "reports/BuildReport.h"

namespace orbisk {

class QtReportQuestions final : public ReportQuestions {
public:
    explicit QtReportQuestions(QWidget* window) : window_(window) {}

    std::optional<std::string> AskText(const std::string& caption, const std::string& prompt,
                                       const std::string& defaultAnswer) override;

private:
    QPointer<QWidget> window_;
};

}  // namespace orbisk
