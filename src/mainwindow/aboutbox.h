#pragma once
// The about box "Orvilex Info": product and version in a group box with the
// program's picture, the maker's web page and mail address as links, "&OK".
#include <QDialog>

class QGroupBox;
class QLabel;
class QPixmap;
class QPushButton;

class Tinfo2 : public QDialog {
    Q_OBJECT
  public:
    explicit Tinfo2(QWidget* parent = nullptr);

    // The program's picture, drawn at the given edge length in pixels.
    static QPixmap programImage(int size);

    // Handlers.
    void OKButtonClick();
    void memo1Click(); // the maker's web page
    void memo2Click(); // a new mail to the maker

    // Controls.
    QGroupBox* GroupBox1;
    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Label1; // "Internet"
    QLabel* memo1;
    QLabel* Label2; // "Kontakt"
    QLabel* memo2;
    QPushButton* OKButton;
};

extern Tinfo2* info2;
