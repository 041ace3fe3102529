#pragma once
// TfSpec: the register of specialists who sign the documents. The user picks a family name from
// the register in the configuration file, or types one with its particulars; whatever the
// fields hold when the dialog closes is the document's specialist, saved or not.
#include <QDialog>
#include <QString>
#include <utility>

#include "app/Config.h"
#include "reports/SpecialistProvider.h"
#include "reports/SpecialistRegister.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace orbisk {

class TfSpec : public QDialog {
    Q_OBJECT
public:
    // Centred on `parent`; the register is the configuration file of `config`; F1 opens
    // `helpFile` (empty: none).
    TfSpec(QWidget* parent, Config& config, QString helpFile = {});

    // The seven fields as they stand.
    Specialist Fields() const;

    void FormShow();
    void cbFamilySelect(int index);
    void bbAddClick();
    void bbDelClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    SpecialistRegister register_;
    QString helpFile_;
    QComboBox* cbFamily_;
    QLineEdit* eName_;
    QLineEdit* eFather_;
    QLineEdit* eWork_;
    QLineEdit* eNum_;
    QLineEdit* eDate_;
    QLineEdit* eSrok_;
    QPushButton* bbAdd_;
    QPushButton* bbDel_;
    QPushButton* bbOk_;
};

// The documents' specialist as the user chooses it: a new register dialog for every document,
// shown modally, its fields read however it was closed.
class DialogSpecialist final : public SpecialistProvider {
public:
    DialogSpecialist(QWidget* parent, Config& config, QString helpFile)
        : parent_(parent), config_(config), helpFile_(std::move(helpFile)) {}
    Specialist ChooseSpecialist() override;

private:
    QWidget* parent_;
    Config& config_;
    QString helpFile_;
};

}  // namespace orbisk
