#pragma once
// The window "Sondereinstellungen": per language, the captions of the six
// special-form fields, the genitive field and the genus field, and the font of
// those captions. It edits SpecialOptions (database/specialoptions.h); "&OK"
// writes "soption.dat" and has the main window apply the captions.
#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Wired by the program entry; an empty hook is skipped.
struct TFormSOHooks {
    // After "&OK": the main window's ApplySpecialFormCaptions.
    std::function<void()> applySpecialFormCaptions;
};
extern TFormSOHooks FormSOHooks;

class TFormSO : public QDialog {
    Q_OBJECT
  public:
    explicit TFormSO(QWidget* parent = nullptr);

    // The window's entry point (main menu, database settings dialog): reads
    // "soption.dat", preselects the open database's language and shows the
    // window modally through the modal seam. Returns the modal result.
    int checkit();

    // Fills the language list from WorkDir's language folders, reads (or
    // creates) "soption.dat" and shows the selected language.
    void LoadSpecialOptions();
    // Shows a language's slot, giving it a free one when it has none. Mode 1:
    // the open database's language; any other: the one chosen in cbsprache.
    void ShowLanguageOptions(int Mode);
    // Writes "soption.dat" (false after a reported failure).
    bool SaveSpecialOptions();

    // Handlers.
    void cbspracheChange();
    void ApplyCaptionFontChoice();
    void EditChange(int entry, const QString& text); // Edit1Change..Edit8Change
    void cbSchriftChange(const QString& text);
    void cbSchriftsizeChange(const QString& text);
    void cbSchriftfettClick(bool checked);
    void Button1Click(); // "&OK"
    void Button2Click(); // "&Abbruch"

    // Controls.
    QLabel* LabelSprache;
    QComboBox* cbsprache;
    QGroupBox* GroupBeschriftungen;
    QLabel* LabelForm[6];
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QLineEdit* Edit5;
    QLineEdit* Edit6;
    QLabel* LabelGenitiv;
    QLineEdit* Edit7;
    QLabel* LabelGenus;
    QLineEdit* Edit8;
    QGroupBox* GroupSchrift;
    QRadioButton* rb1;
    QRadioButton* rb2;
    QRadioButton* rb3;
    QComboBox* cbSchrift;
    QComboBox* cbSchriftsize;
    QCheckBox* cbSchriftfett;
    QPushButton* Button1;
    QPushButton* Button2;

  private:
    void buildLayout();
    void connectControls();
    QLineEdit* edit(int entry) const; // entry 1..8
    // Shows the font of the slot (or of the defaults) in the three controls
    // and enables them exactly for the own font.
    void showCaptionFont();
    // Tells the user when the language shown could not get a slot.
    void reportMissingSlot();

    bool CaptionChoiceBusy = false;
    bool showing_ = false; // controls are being set from the record
};

extern TFormSO* FormSO;
