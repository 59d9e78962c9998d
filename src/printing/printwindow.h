#pragma once
// The print window "Vokabeln drucken": which words of the open database to
// print, how to sort and group them and how to lay them out, as a word list in
// one to four columns or as index cards, with a preview of the result.
//
// The window reads its words through a query of its own, so the main window's
// query, its table and its fields stay on the record they showed. The settings
// are read from their three files when the window is shown and written back
// when it is closed.
#include "printing/indexcards.h"
#include "printing/reportdocument.h"
#include "printing/wordlistreport.h"

#include <QDialog>
#include <QElapsedTimer>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPrinter;
class QProgressBar;
class QStackedWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;
class QWidget;

namespace engine {
class Query;
}
namespace report {
class ReportPreview;
}

// What the progress panel says, and "&Drucken" answers, when the selection
// holds no words.
inline const QString NothingToPrintText =
    QStringLiteral("Es sind keine Vokabeln zum Drucken gewählt.");

// The file proposed for a printout into a file: the database's name (and for
// cards " - Karteikarten") with ".pdf", in `folder`.
QString PrintFileProposal(const QString& folder, const QString& databaseName, bool cards);

class Tdruck : public QDialog {
    Q_OBJECT
  public:
    explicit Tdruck(QWidget* parent = nullptr);
    ~Tdruck() override;

    // What "&Drucken" in the main window does: the settings in, then the window
    // modally through the modal seam, building its template once it is on the
    // screen. Returns the dialog result.
    int showForPrint();

    // Handlers.
    void FormShow();     // settings in, lessons listed, the current lesson chosen, template built
    void ud();           // builds the template and shows it
    void Button2Click(); // "Änderungen &übernehmen": card measures checked in card mode, then ud
    void Button1Click(); // "Standard": the card measures back to their defaults (asks first)
    void zo();           // the zoom of the list applied to the preview
    void sbziClick();
    void sbzoClick();
    void SpeedButton2Click(); // fit to height
    void SpeedButton3Click(); // fit to width
    void sbzzClick();
    void sbzClick();
    void sbvClick();
    void sbvvClick();
    void sakt();              // page buttons and page label
    void BitBtn3Click();      // "&Drucken"; into a file the user names each time
    void SpeedButton1Click(); // printer set-up
    void BitBtn4Click();      // cancels the building of the template
    void BitBtn1Click();      // "&Abbruch": closes the window
    void FormClose();         // settings out
    void formatClicked(int format);

    // The controls from the records and back.
    void loadControls();
    void storeControls();

    // State of the last build.
    bool cardMode() const { return cardMode_; }
    int lessonCount() const { return lessonCount_; }
    const QString& titleLine() const { return titleLine_; }
    const report::ReportDocument& document() const { return document_; }
    // The lesson codes of the entries chosen in llek, in list order.
    QStringList chosenLessonCodes() const;
    // The settings of the two layouts as the controls give them.
    WordListSettings wordListSettings() const;
    CardSettings cardSettings() const;
    // The printer "&Drucken" and the printer set-up use.
    QPrinter* printer() const { return printer_.get(); }

    // Notebook.
    QTabWidget* PageControl1;
    // "&Vokabelauswahl".
    QWidget* TabAuswahl;
    QLabel* LabelLektionen;
    QListWidget* llek;
    QToolButton* SpeedButton4;
    QLabel* LabelWortart;
    QComboBox* comw;
    QGroupBox* GroupNur;
    QCheckBox* nge;
    QCheckBox* nse;
    QCheckBox* nst;
    QToolButton* SpeedButton5;
    // "&Einstellungen".
    QWidget* TabEinstellungen;
    QGroupBox* GroupSort;
    QRadioButton* sl;
    QRadioButton* sa;
    QRadioButton* sa_ueber;
    QRadioButton* sw;
    QRadioButton* ss;
    QCheckBox* sab;
    QToolButton* SpeedButton6;
    QGroupBox* GroupSort2;
    QRadioButton* ssta;
    QRadioButton* sa2;
    QRadioButton* sa2_ueber;
    QRadioButton* nrb;
    QToolButton* SpeedButton7;
    QGroupBox* GroupBemerkungen;
    QRadioButton* rbbd0;
    QRadioButton* rbbd1;
    QRadioButton* rbbd2;
    QToolButton* SpeedButton8;
    QGroupBox* GroupStamm;
    QRadioButton* rbsd0;
    QRadioButton* rbsd1;
    QRadioButton* rbsd2;
    QToolButton* SpeedButton17;
    // "&Layout".
    QWidget* TabLayout;
    QGroupBox* GroupFormat;
    QRadioButton* rb0;
    QRadioButton* rb1;
    QRadioButton* rb2;
    QRadioButton* rb3;
    QRadioButton* rb4;
    QRadioButton* rb5;
    QToolButton* SpeedButton9;
    QGroupBox* GroupLayoutEinst;
    QLabel* LabelSchrift;
    QComboBox* cbs;
    QCheckBox* cbra;
    QCheckBox* line;
    QCheckBox* cbus;
    QToolButton* SpeedButton10;
    QGroupBox* GroupKopfFuss;
    QLabel* LabelKopf;
    QLineEdit* ekz;
    QLabel* LabelFuss;
    QLineEdit* efz;
    QPlainTextEdit* Memo1;
    QPlainTextEdit* Memo2;
    QToolButton* SpeedButton12;
    QGroupBox* GroupRaender;
    QLineEdit* sro;
    QLineEdit* sru;
    QLineEdit* srl;
    QLineEdit* srr;
    QToolButton* SpeedButton11;
    // "&Karteikarten".
    QWidget* TabKartei;
    QCheckBox* cbkartei;
    QToolButton* SpeedButton13;
    QGroupBox* GroupKartenart;
    QRadioButton* rbk1;
    QRadioButton* rbk2;
    QRadioButton* rbk3;
    QToolButton* SpeedButton14;
    QGroupBox* GroupKartEinst;
    QCheckBox* rbkrahmen;
    QCheckBox* rbklektion;
    QCheckBox* cbkvor;
    QCheckBox* cbKartKopfFuss;
    QToolButton* SpeedButton15;
    QToolButton* SpeedButton19;
    QGroupBox* GroupSchriftgroessen;
    QComboBox* cbkfremdwort;
    QComboBox* cbkueber;
    QComboBox* cbksonder;
    QComboBox* cbklektion;
    QToolButton* SpeedButton16;
    QGroupBox* GroupKartLayout;
    QLineEdit* kkBreite;
    QLineEdit* kkHoehe;
    QLineEdit* kkAbstandh;
    QLineEdit* kkAbstandv;
    QPushButton* Button1;
    QToolButton* SpeedButton18;

    // Preview and its tools.
    report::ReportPreview* prev;
    // Shows the preview, or an empty area while there are no pages.
    QStackedWidget* PreviewArea;
    QWidget* PanelTools;
    QToolButton* sbzi;
    QToolButton* sbzo;
    QToolButton* sbzz;
    QToolButton* sbz;
    QToolButton* sbv;
    QToolButton* sbvv;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QToolButton* SpeedButton3;
    QComboBox* ComboBox1;
    QLabel* mSeite;
    QPushButton* BitBtn2; // "Änderungen &übernehmen"
    QPushButton* BitBtn3; // "&Drucken"
    QPushButton* BitBtn1; // "&Abbruch"
    // Progress of a build.
    QWidget* Panel2;
    QLabel* li;
    QProgressBar* pb;
    QPushButton* BitBtn4;

    // Closing runs FormClose; while a build runs, the window closes after it.
    void done(int result) override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void buildLayout();
    QWidget* buildSelectionTab();
    QWidget* buildSettingsTab();
    QWidget* buildLayoutTab();
    QWidget* buildCardTab();
    QWidget* buildPreviewTools();
    void connectHandlers();
    void prepareShow(); // FormShow up to the build
    void fillLessonList();
    bool openSelection(); // the selection SQL opened; false without one or after a reported error
    void setBuilding(bool building);
    bool keepAnswering(); // lets the window answer now and then; false once cancelled
    bool progressStep(int done, int total);
    void showBuiltPage(const report::ReportPage& page);
    void setPage(int page);
    int pageCount() const;
    bool printsToFile() const;
    QString printFolder() const; // where a printout into a file goes first
    QString choosePrintFile();   // empty when the user cancels

    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<engine::Query> selection_; // open while a build reads it
    report::ReportDocument document_;
    bool cardMode_ = false;
    int lessonCount_ = 0;
    QString titleLine_;
    bool building_ = false;
    bool cancelBuild_ = false;
    int closePending_ = -1;
    QElapsedTimer sinceAnswered_;
    QString printFolder_; // where the last printout into a file went
    QString setupFile_;   // the file chosen in the printer set-up, until it is printed into
};

extern Tdruck* druck;
