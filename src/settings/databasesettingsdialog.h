#pragma once
// The dialog "Datenbank Einstellungen": name and language of the open
// database, its four fonts and the character set of its foreign words. The
// controls show DatabaseOptions when the dialog opens; "&OK" hands the font
// choice to the main window, which stores and applies it. A changed name or
// language takes effect whenever the dialog closes, also after "&Abbruch":
// the database's files are renamed or moved then (settings/databasesettings.h).
#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TDatabaseOptionsRec;

class Tdbeform : public QDialog {
    Q_OBJECT
  public:
    // Runs the creation handler.
    explicit Tdbeform(QWidget* parent = nullptr);

    // Shows the dialog modally (through the modal seam): FormShow before,
    // FormClose after, whichever way it was closed. Returns the modal result.
    int execute();

    // Handlers.
    void FormCreate();
    void FormShow();
    void BitBtn1Click(); // "&OK"
    void BitBtn2Click(); // "&Abbruch"
    void FormClose();
    void Edit1Change();
    void Button1Click();      // "&Bearbeiten": the special-form captions
    void SpeedButton8Click(); // help on the character set
    void SpeedButton1Click(); // help on cbCharset

    // The font choice the controls show, on top of `base` (what a control
    // leaves open, such as a size that is no number, keeps base's value).
    TDatabaseOptionsRec fontChoice(const TDatabaseOptionsRec& base) const;
    // Shows a record's fonts and character set in the controls.
    void showFonts(const TDatabaseOptionsRec& options);

    // Controls.
    QGroupBox* GroupDatenbank;
    QLabel* Label1;
    QLineEdit* Edit1;
    QLabel* Label2;
    QLineEdit* Edit2;
    QLabel* Label3;
    QPushButton* Button1;
    QGroupBox* GroupSchrift;
    QLabel* LabelFw;
    QComboBox* cbFw;
    QComboBox* sgFw;
    QCheckBox* FettFw;
    QLabel* LabelUe;
    QComboBox* cbUe;
    QComboBox* sgUe;
    QCheckBox* fettu;
    QLabel* LabelTFw;
    QComboBox* cbTFw;
    QComboBox* sgTfw;
    QCheckBox* FettTFw;
    QLabel* LabelTUe;
    QComboBox* cbTUe;
    QComboBox* sgTUe;
    QCheckBox* fetttu;
    QGroupBox* GroupZeichensatz;
    QLabel* LabelCharset;
    QComboBox* echarset;
    QComboBox* wcharset; // hidden: position → charset number
    QToolButton* SpeedButton8;
    QCheckBox* cbCharset;
    QToolButton* SpeedButton1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

    // The result of "&Abbruch".
    static constexpr int AbortResult = 4;

  private:
    void buildLayout();
    void connectControls();

    bool nameCheckBusy_ = false;
};

extern Tdbeform* dbeform;
