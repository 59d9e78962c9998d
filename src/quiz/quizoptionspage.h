#pragma once
// The settings page of the quiz window: the notebook with the pages
// "Allgemein", "Autokorrektur" and "Sonstige" and the button that leaves it.
// The quiz window shows it in place of the quiz; the page is self-contained.
//
// The controls show and edit a TQuizOptionsRec (QuizOptions, the options in
// force, unless another is given): every change goes into the record at once,
// so the quiz sees it as soon as the page is left; the file is written by
// schlie().
#include "quiz/quizoptions.h"

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;
class QTableWidget;
class QToolButton;

class QuizOptionsPage : public QWidget {
    Q_OBJECT
  public:
    explicit QuizOptionsPage(TQuizOptionsRec* options = &QuizOptions, QWidget* parent = nullptr);

    // The record the controls edit.
    TQuizOptionsRec* options() const { return options_; }

    // Reads the options file (QuizOptionsPath; "Option.dat" when none was
    // chosen) into the record and shows it. A missing or short file shows the
    // defaults.
    void FormCreate();
    // Runs the exit checks of the number fields, takes the controls into the
    // record and writes the file; false (reported) when it cannot be written.
    bool schlie();

    // The controls from the record, and the record from the controls.
    void loadControls();
    void storeControls();

    // Handlers.
    void rbabmultClick(); // the mode decides which of its fields are enabled
    void emsExit();
    void edurchExit();
    void exmalChange(); // exit check of exmal
    void esynExit();
    void ComboBox1Exit();
    // Every exit check at once; false when one of them put back a default.
    bool checkFields();

  signals:
    // "&Zurück zur Abfrage" (or "&Fertig") was clicked.
    void BitBtn2Clicked();

  public:
    // Controls, named as the quiz window names them.
    QTabWidget* TabbedNotebook1;
    QWidget* TabAllgemein;
    QWidget* TabAutokorrektur;
    QWidget* TabSonstige;
    QPushButton* BitBtn2; // "&Zurück zur Abfrage"

    // "Allgemein": quiz type.
    QGroupBox* GroupAbfrageart;
    QCheckBox* CheckBox1;
    QLabel* LabelVersuche;
    QComboBox* ComboBox1;
    QCheckBox* cbgw;
    QCheckBox* cbschnell;
    // Order and mode.
    QGroupBox* GroupReihenfolge;
    QRadioButton* rborder;
    QRadioButton* rbrandom;
    QButtonGroup* OrderGroup;
    QGroupBox* GroupModus;
    QRadioButton* rbabnorm;
    QRadioButton* rbabmult;
    QCheckBox* cbms;
    QRadioButton* rbabvor;
    QButtonGroup* ModeGroup;
    QLabel* Label6; // "Anzeigen (ms):"
    QLineEdit* ems;
    QLabel* Label7; // "Durchläufe:"
    QLineEdit* edurch;
    QCheckBox* cbnach;
    QLabel* label21; // "nacheinander zeigen"
    // Special forms asked and shown, auto-correction.
    QGroupBox* GroupSonderformen;
    QCheckBox* labf;
    QCheckBox* geabf;
    QCheckBox* seabf;
    QGroupBox* GroupAnzeigen;
    QCheckBox* lanz;
    QCheckBox* ganz;
    QCheckBox* sanz;
    QCheckBox* CheckBox6;
    QCheckBox* CheckBox10;
    QGroupBox* GroupAutokorrekturAktiv;
    QCheckBox* cbaue;
    QCheckBox* cbast;
    QCheckBox* cbage;
    // Meanings to be typed.
    QGroupBox* GroupBedeutungen;
    QSlider* tb1;
    QLabel* LabelEineBedeutung;
    QLabel* Label60Prozent;
    QLabel* Label80Prozent;
    QLabel* LabelAlleBedeutungen;

    // "Autokorrektur".
    QGroupBox* GroupIgnorieren;
    QCheckBox* aktign;
    QCheckBox* cbfa;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox5;
    QCheckBox* cbss;
    QCheckBox* cbrf;
    QCheckBox* cbkw;
    QCheckBox* cbuk;
    QCheckBox* cbklamm;
    QGroupBox* GroupTippfehler;
    QCheckBox* ak1;
    QCheckBox* ak2;
    QCheckBox* ak4;
    QCheckBox* ak3;
    QLabel* LabelKorrigieren; // "Wenig oder viel korrigieren"
    QSlider* ak12;
    QGroupBox* GroupSatzzeichen;
    QPlainTextEdit* Memo4;
    QGroupBox* GroupArtikel;
    QPlainTextEdit* Memo3;
    QGroupBox* GroupUnkorrigierbar;
    QPlainTextEdit* ukb;
    QGroupBox* GroupKompatibel;
    QTableWidget* lkw;

    // "Sonstige".
    QCheckBox* cbendung;
    QCheckBox* cbstamm;
    QCheckBox* cbpraep;
    QCheckBox* cbautosch;
    QCheckBox* cbsyn;
    QLabel* LabelTrennzeichen;
    QLineEdit* esyn;
    QCheckBox* cbbemerkung;
    QCheckBox* cbxmal;
    QLineEdit* exmal;
    QLabel* LabelXmalTimes;  // "-mal nicht gekonnt werden"
    QLabel* LabelXmalLesson; // "in Lektion "Schwierige Wörter" kopieren"

    // Help buttons beside the options.
    QToolButton *SpeedButton1, *SpeedButton2, *SpeedButton3, *SpeedButton33, *SpeedButton9,
        *SpeedButton10, *SpeedButton11, *SpeedButton12, *SpeedButton34, *SpeedButton35,
        *SpeedButton13, *SpeedButton14, *SpeedButton20, *SpeedButton19, *SpeedButton22,
        *SpeedButton21, *SpeedButton23, *SpeedButton15, *SpeedButton16, *SpeedButton17,
        *SpeedButton18, *SpeedButton29, *SpeedButton30, *SpeedButton31, *SpeedButton32,
        *SpeedButton24, *SpeedButton25, *SpeedButton27, *SpeedButton26, *SpeedButton28,
        *SpeedButton6, *SpeedButton7, *SpeedButton8, *SpeedButton36, *SpeedButton37, *SpeedButton4;

  private:
    void buildAllgemein();
    void buildAutokorrektur();
    void buildSonstige();
    void connectControls();
    // A control changed: the record follows unless the controls are being filled.
    void controlChanged();

    TQuizOptionsRec* options_;
    bool loading_ = false;
    bool checking_ = false; // an exit check's message box is open
};
