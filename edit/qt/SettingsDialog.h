#pragma once
// What the settings page's two dialogs share: modal over the main window, the buttons "&Ввод"
// (the default), "&Отмена" and "Вы&ход" in a row, Esc as "&Отмена" — the values come back
// and the dialog stays — and F1 for the help document.
#include <QDialog>

class QHBoxLayout;
class QPushButton;

namespace orbisk {

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    virtual void bbEnterClick() = 0;
    virtual void bbCancelClick() = 0;

protected:
    SettingsDialog(QWidget* owner, const char* name, const char* caption, QString helpFile);
    // The three buttons; "Вы&ход" ends the dialog with `exitResult`.
    QHBoxLayout* Buttons(DialogCode exitResult);
    QPushButton* EnterButton() const { return bbEnter_; }
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString helpFile_;
    QPushButton* bbEnter_ = nullptr;
};

}  // namespace orbisk
