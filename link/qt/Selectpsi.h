#pragma once
// TfSelectPSI: the connection dialog, asked when the remembered kind of link found no reader.
// The person picks the link type and types the port; nothing is checked here, the search that
// follows tells whether a reader answers there.
#include <QDialog>
#include <QString>
#include <optional>

#include "link/ReaderLink.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orbisk {

class TfSelectPSI final : public QDialog, public ConnectionDialog {
    Q_OBJECT
public:
    // `helpFile` is the help document F1 opens (empty: none).
    explicit TfSelectPSI(QWidget* parent, QString helpFile = {});

    // Shows the dialog modally: the choice on OK, nothing on Cancel.
    std::optional<ConnectionChoice> Choose() override;
    // What the controls hold now.
    ConnectionChoice Choice() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void rgTypeClick(int index);
    void bbSelectClick();

    QString helpFile_;
    QLabel* Label1_ = nullptr;
    QLabel* Label2_ = nullptr;
    QButtonGroup* rgType_ = nullptr;
    QLineEdit* ePort_ = nullptr;
    QPushButton* bbSelect_ = nullptr;
    QPushButton* BitBtn1_ = nullptr;
};

// The main window's connection dialog: a TfSelectPSI made for each question and gone after it.
class SelectPsiConnection final : public ConnectionDialog {
public:
    SelectPsiConnection(QWidget* parent, QString helpFile)
        : parent_(parent), helpFile_(std::move(helpFile)) {}
    std::optional<ConnectionChoice> Choose() override;

private:
    QWidget* parent_;
    QString helpFile_;
};

}  // namespace orbisk
