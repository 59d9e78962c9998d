#pragma once
// The quiz selection window "Lektionenauswahl": the lessons to train, the
// filters that narrow their words and the direction of the quiz.
//
// The lesson list shows every section of the open database, one line each
// ("  1 A1  [Haus]"); the marks are remembered per database in "aw.dat" and
// "aw2.dat". The filters are shown from and kept in SelectionOptions, whose
// file the print window shares; the window writes only its own bytes of it.
//
// "&OK" checks first (a lesson marked, a difficulty ticked) and changes
// nothing when it refuses; only then does it write the mark files and the
// filters and hand the lesson codes to the quiz start.
#include <QDialog>
#include <QSlider>
#include <QStringList>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;
class TSelectionOptionsRec;

// A track bar that also shows a selected range (a band) on its groove, the
// way the band of right answers is chosen.
class SelectionTrackBar : public QSlider {
    Q_OBJECT
  public:
    explicit SelectionTrackBar(QWidget* parent = nullptr);

    int selStart() const { return selStart_; }
    int selEnd() const { return selEnd_; }
    // The range is kept within the bar and in order (start <= end).
    void setSelection(int start, int end);

  signals:
    void selectionChanged(int start, int end);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int selStart_ = 0;
    int selEnd_ = 0;
};

class Tausw : public QDialog {
    Q_OBJECT
  public:
    explicit Tausw(QWidget* parent = nullptr);

    // What the main menu's "&Start" does once the current word may be left:
    // fills the lesson list from the open database's lessons, loads the
    // filters (FormShow) and shows the window modally through the modal seam.
    // Returns the dialog result.
    int showForQuiz();

    // Clears both lists and fills SrcList from baumlist; "&Wie bei letzter
    // Abfrage" is offered exactly when the open database has an "aw.dat".
    void fillLessonList();

    // Handlers.
    void FormShow();    // the filters from the file, the marks of the last quiz when asked for
    void OKBtn_Click(); // checks, stores, starts the quiz
    void CancelBtn_Click();
    void spaClick(); // the filters into SelectionOptions and its file (bytes 236..271)
    void BitBtn1Click();
    void allemarkClick();
    void InvertClick();
    void Tb1Change();
    void startClick();
    void endeClick();
    void Panel5MouseDown();
    void FormHelp();
    void BitBtn2Click() { FormHelp(); }

    // The filters from and into a record.
    void loadControls(const TSelectionOptionsRec& record);
    void storeControls(TSelectionOptionsRec& record) const;

    // The marks of SrcList, line by line.
    QList<bool> marks() const;
    void setMarks(const QList<bool>& marks);

    // Two-list helpers: moves the marked lines of one list to the end of the
    // other, last line first; the index of the first marked line or -1; puts
    // the caret on one line without marking it, the index clipped to the list
    // (nothing on an empty list).
    static void MoveSelected(QListWidget* from, QListWidget* to);
    static int GetFirstSelection(const QListWidget* list);
    static void SetItem(QListWidget* list, int index);

    // Runs the quiz over the lesson codes; empty means the quiz window's start
    // (startQuiz). Tests put their own here.
    std::function<bool(const QStringList& lessonCodes)> quizStarter;

    // Controls, named as the window names them.
    QTabWidget* Notebook;
    QWidget* PageLektionen; // "Wahl der Lektionen"
    QLabel* LabelSrc;
    QListWidget* SrcList;
    QListWidget* dstlist; // not shown: the codes of the last confirmed selection
    QPushButton* BitBtn1; // "&Wie bei letzter Abfrage"
    QPushButton* allemark;
    QPushButton* Invert;

    QGroupBox* GroupRichtung;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    QButtonGroup* RichtungGroup;
    QToolButton* SpeedButton4;

    QGroupBox* GroupSchwierigkeit;
    QCheckBox* sl;
    QCheckBox* l;
    QCheckBox* n;
    QCheckBox* s;
    QCheckBox* ss;
    QToolButton* SpeedButton2;

    QGroupBox* GroupFilter;
    QCheckBox* CheckBox1; // "&Nicht gewußte"
    QToolButton* SpeedButton3;
    QLabel* LabelWortart;
    QComboBox* ComboBox1;
    QCheckBox* cbgenus;
    QCheckBox* cbgeni;
    QCheckBox* cbsf;
    QToolButton* SpeedButton1;

    QGroupBox* Panel5; // the band of right answers
    SelectionTrackBar* Tb1;
    QLabel* Label0;
    QLabel* Label100;
    QLabel* LabelGewusst;
    QLabel* LabelBand; // the band in words
    QRadioButton* start;
    QRadioButton* ende;
    QButtonGroup* BandGroup;
    QToolButton* SpeedButton9;

    QPushButton* OkBtn;
    QPushButton* CancelBtn;
    QPushButton* spa; // not shown

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void buildLessonPage();
    QWidget* buildFilterColumn();
    void showBand();

    bool loading_ = false;
};

extern Tausw* ausw;
