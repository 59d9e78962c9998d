#pragma once
// The sort window "Sortieren": sorts the open database within its lessons or
// as a whole, divided anew into lessons. Modal; the run itself is
// sorting::SortOpenDatabase.
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class Tfsort : public QDialog {
    Q_OBJECT
  public:
    explicit Tfsort(QWidget* parent = nullptr);

    void FormShow();
    void rbprimClick();
    // The sort run; the window closes at its end (result 1 when the database
    // was sorted, 2 when nothing was changed).
    void Button1Click();

    QRadioButton* rbprim;
    QRadioButton* rbsek;
    QComboBox* cbprim;
    QComboBox* cbsek;
    QLabel* Label2;
    QComboBox* cbleksize;
    QCheckBox* cbab;
    QCheckBox* cbsicher;
    QLineEdit* Edit1;
    QPushButton* Button1;
    QPushButton* Button2;

  protected:
    void showEvent(QShowEvent* event) override;
};

extern Tfsort* fsort;
