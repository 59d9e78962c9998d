#pragma once
// The general settings dialog "Allgemeine Einstellungen". Its controls show
// and edit GeneralOptions, the settings in force: a change counts at once,
// "&OK" makes it persistent, "&Abbruch" puts back what was in force before.
#include "database/generaloptions.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QToolButton;

// What the dialog sets off in other windows. The program entry fills these in
// before it creates the dialog; an empty one is skipped.
struct TfoptHooks {
    // At creation: the recent-databases entries of the database menu.
    std::function<void()> rebuildRecentFilesMenu;
    // On "&OK", before the record is written: the quiz field layout and the
    // foreign-word character set of the windows.
    std::function<void()> applySettings;
    // On "&OK", after the record is written, with a database open: the fonts
    // of the database settings are stored and applied.
    std::function<void()> saveDatabaseFonts;
    // After the dialog closed (either way), with a database open: the
    // per-language settings files, the recent-databases entry and the
    // foreign-word alignment follow the settings.
    std::function<void()> databaseSettingsChanged;
    // The size or row count of the user character table changed.
    std::function<void()> charTableLayoutChanged;
};
extern TfoptHooks FoptHooks;

class Tfopt : public QDialog {
    Q_OBJECT
  public:
    // Runs the creation handler: WorkDir must be set.
    explicit Tfopt(QWidget* parent = nullptr);

    // Shows the dialog modally (through the modal seam) with the settings of
    // "gruopt.dat" and returns its result; runs FormShow before and FormClose
    // after, and undoes the changes unless it was confirmed.
    int execute();

    // Handlers.
    void FormCreate();
    void FormShow();
    void BitBtn1Click(); // "&OK"
    void BitBtn2Click(); // "&Abbruch"
    void FormClose();
    void bVVClick();
    void rbVVStandardClick();
    void rbVVCustomClick();
    void tabgChange();
    void cbMehrZeichenClick();

    // Controls.
    QGroupBox* GroupGriechisch;
    QCheckBox* AkzAkt;
    QGroupBox* GroupEinstellungsdateien;
    QCheckBox* AusJedAn;
    QCheckBox* AbfJedAn;
    QGroupBox* GroupSonderzeichentabelle;
    QCheckBox* sza;
    QCheckBox* szs;
    QCheckBox* cbMehrZeichen;
    QLabel* LabelGroesse;
    QLabel* LabelKlein;
    QSlider* tabg;
    QLabel* LabelGross;
    QGroupBox* GroupOrvilex;
    QCheckBox* wbla;
    QCheckBox* sca;
    QCheckBox* sbanz;
    QCheckBox* cbdopp;
    QCheckBox* cbeinf;
    QCheckBox* cbShortcutz;
    QGroupBox* GroupVokabelverzeichnis;
    QRadioButton* rbVVStandard;
    QRadioButton* rbVVCustom;
    QLabel* LabelVV;
    QPushButton* bVV;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QToolButton* SpeedButton3;
    QToolButton* SpeedButton4;
    QToolButton* SpeedButton5;
    QToolButton* SpeedButton6;
    QToolButton* SpeedButton7;
    QToolButton* SpeedButton8;
    QToolButton* SpeedButton9;
    QToolButton* SpeedButton10;
    QToolButton* SpeedButton11;
    QToolButton* SpeedButton12;
    QToolButton* SpeedButton13;

  private:
    void buildLayout();
    void connectControls();
    // GeneralOptions → controls, and back.
    void showRecord();
    void storeControls();
    // The folder choice from GeneralOptions: the custom folder counts only
    // when it can be used; sets CustomVocabularyDir.
    void showFolderChoice();
    void updateFolderControls();

    bool showing_ = false; // controls are being set from the record
    TGeneralOptionsRec before_;
    QString dirBefore_;
};

// The folder dialog: true and the chosen folder in `path` when the user picks one.
bool BrowseForFolder(QWidget* owner, const QString& title, QString& path);

extern Tfopt* fopt;
