#pragma once
// The dialog of a new database: its name and its language.
#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TDialogNeu : public QDialog {
    Q_OBJECT
public:
    explicit TDialogNeu(QWidget* parent = nullptr);

    // The language chosen: the caption of the ticked button, or the list's
    // text for the further languages.
    QString languageName() const;

    void OKBtnClick();
    void CancelBtnClick();

    QLineEdit* EditName;
    QRadioButton* RLatein;
    QRadioButton* RGriechisch;
    QRadioButton* Rfranzoesisch;
    QRadioButton* REnglisch;
    QRadioButton* RSonstige;
    QRadioButton* ruser;
    QComboBox* userl;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

protected:
    void showEvent(QShowEvent* event) override;
};

extern TDialogNeu* DialogNeu;
