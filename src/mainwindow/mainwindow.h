#pragma once
// The main window: menus, tool bar, the lesson tree and the notebook with the
// word page, the statistics page and the table page, bound to the main query.
#include <QMainWindow>
#include <functional>

struct LanguageLabels;
class TDatabaseOptionsRec;
struct DatabaseFonts;
struct SpecialFormCaptions;

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QToolButton;
class QTreeWidget;
class QWidget;
class QChartView;
class QListWidget;
class ColumnFontDelegate;

namespace engine {
class Query;
class TableModel;
class FieldBinder;
} // namespace engine

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Start-up, first paint and shutdown.
    // `programDir` is the folder of the program file (tests give another one).
    void FormCreate(const QStringList& arguments, const QString& programDir = QString());
    // Lets the backup window rescale the window at start-up.
    void setResizeAllowed(bool allowed);
    void FormPaint();
    void EndeClick();
    void bworkClick();
    // Enables "Unterbrochene Abfrage &fortsetzen" when the open database has an interrupted quiz.
    void VokabelnClick();

    // The two states of the window: no database open, a database open.
    void DisableDatabaseControls();
    void EnableDatabaseControls();

    // Opening and creating databases; what the window shows of the open one.
    void OpenVocabularyDatabase(const QString& path);
    void oeffnenClick();
    void openRecentDatabase(int slot);
    void RebuildRecentFilesMenu();
    // Returns true when the user cancelled, false when a database was created.
    bool NeuClick2();
    // A new database; its settings dialog follows when one was created.
    void NeuClick() {
        if (!NeuClick2() && hooks.afterNewDatabase)
            hooks.afterNewDatabase();
    }
    void SetLanguageLabels();
    void ApplyFonts();
    void ApplySpecialFormCaptions();
    void UpdateNavButtons();
    void ShowWordTypeAndDifficulty();
    // Takes the font choices of the database settings into the open database's
    // options, writes its options file and applies the fonts.
    void Schriftart(const TDatabaseOptionsRec& choice);
    // Shows the word fields in the character set of the open database again.
    void SetWordFontCharset();

    // Starts the road of a quiz: the current word must be complete first.
    void AbfragenClick();

    // Word editing and navigation.
    bool CheckRecordCompleteHere();
    void SpeedCreateClick();
    void SpeedSaveClick();
    void SpeedDeleteClick();
    void SpeedFirstClick();
    void SpeedPriorClick();
    void SpeednextClick();
    void SpeedLastClick();
    void WortartChange();
    void schwcomChange();
    void DBFremdwortExit();
    void Tab1Change(int index);
    void DBGitterDblClick();
    void Button1Click();
    void SpeedButton2Click();
    void lekbaumClick();
    void selectWordClass(int item);
    // Lesson operations, marked words and the counter reset
    // (mainwindow_lessons.cpp); wireLessonCommands connects them.
    void wireLessonCommands();
    void NeueLektion1Click();
    void NeueLektion2Click();
    void Lektionunbenennen1Click();
    void Lektionlschen1Click();
    void Kopieren1Click();
    void Verschieben1Click();
    QList<qint64> BuildSelectedIdsWhere();
    void Vokabelnlschen1Click();
    void Vokabelnverschieben1Click();
    void Vokabelnkopieren1Click();
    void Schwierigkeit1Click(int tag);
    void lekbaumContextMenu(const QPoint& position);
    QString SelectedIdsWhere;
    QPushButton* btnvokloeschen = nullptr;
    QPushButton* btnvokverschieben = nullptr;
    QPushButton* btnvokkopieren = nullptr;
    // The statistics page's charts for the current word.
    void refreshStatistics();

    // Commands of later parts of the program are wired here by the program
    // entry, which knows every window.
    struct Hooks {
        std::function<void(const QString&)> openDatabase;
        std::function<void(const QString&)> restoreZippedBackup;
        std::function<QString(const QString&)> restoreArchive;
        std::function<void()> closeQuizIfActive;
        std::function<void()> beforeClose;
        std::function<void()> showCharTable;
        std::function<void()> closeSearchWindow;
        std::function<void()> deleteMarkedWords;
        std::function<bool()> quizVisible;
        std::function<void()> afterNewDatabase;
        std::function<void()> showQuizSelection;
        // What the quiz window and others show of the open database.
        std::function<void(const LanguageLabels&)> languageChanged;
        std::function<void(const DatabaseFonts&)> fontsChanged;
        std::function<void(const SpecialFormCaptions&)> captionsChanged;
    };
    Hooks hooks;

    // The main query and the scratch query on the open table.
    engine::Query* Query;
    engine::Query* querytemp;
    engine::TableModel* Datenquelle;
    engine::FieldBinder* binder;

    // Menu "&Datenbank".
    QMenu* DatenbankMenu;
    QAction* Neu;
    QAction* oeffnen;
    QAction* Drucken;
    QMenu* resetdata;
    QAction* Schwierigkeit1;
    QAction* BisherigeAbfragen1;
    QAction* Zippen1;
    QAction* Unzippen1;
    QMenu* ImportExport1;
    QAction* ExportinTextdatei1;
    QAction* ImportvonTextdatei1;
    QAction* N12;
    QAction* Ende;
    QAction* mit1;
    QAction* mit2;
    QAction* mit3;
    QAction* mit4;
    QAction* recentSeparator;
    // Menu "&Bearbeiten".
    QMenu* Bearbeiten;
    QMenu* Lektion1;
    QAction* NeueLektion1;
    QAction* LektionLoeschen1;
    QAction* Umbenennen1;
    QAction* LektionKopieren1;
    QAction* LektionVerschieben1;
    QMenu* MarkierteVokabeln1;
    QAction* Vokabelnlschen1;
    QAction* VokabelnKopieren1;
    QAction* VokabelnVerschieben1;
    QMenu* Vokabel1;
    QAction* VokabelNeu1;
    QAction* VokabelLoeschen1;
    QAction* VokabelSpeichern1;
    QMenu* Wortart1;
    QAction* verb1;
    QAction* Nomen1;
    QAction* adjektiv1;
    QAction* Ausdruck1;
    QAction* Sortieren1;
    QAction* Suchen1;
    QAction* ErsteVokabel1;
    QAction* VorherigeVokabel1;
    QAction* NaechsteVokabel1;
    QAction* LetzteVokabel1;
    // Menu "&Sonderzeichen".
    QMenu* Eingabe1;
    QAction* Einfuegen1;
    QAction* Benutzertabelle1;
    // Menu "&Abfrage".
    QMenu* Vokabeln;
    QAction* Abfragen;
    QAction* uaf;
    // Menu "&Einstellungen".
    QMenu* EinstellungenMenu;
    QAction* Einstellungen2;
    QAction* Datenbank1;
    QAction* Sonderoptionen1;
    QAction* Einstellungen1;
    // Menu "&Hilfe".
    QMenu* HilfeMenu;
    QAction* OrvilexHilfe1;
    QAction* HilfezurgriechischenSchriftart1;
    QAction* Orvilexeffektivnutzen1;
    QAction* OrvikonHomepage1;
    QAction* Info1;
    // Pop-up menus of the lesson tree and of the table page.
    QMenu* Lektionenpup;
    QMenu* vokabelpopup;

    // Tool bar.
    QWidget* Panel1;
    QToolButton* SpeedNew;
    QToolButton* SpeedOpen;
    QToolButton* SpeedAbfragen;
    QToolButton* SpeedEnde;
    QToolButton* SpeedCreate;
    QToolButton* SpeedSave;
    QToolButton* SpeedDelete;
    QToolButton* SpeedFirst;
    QToolButton* SpeedPrior;
    QToolButton* Speednext;
    QToolButton* SpeedLast;
    QToolButton* SpeedDruck;
    QToolButton* hilfebtn;
    QToolButton* infobtn;
    QPushButton* bwork;

    // Lesson tree and notebook.
    QTreeWidget* lekbaum;
    QTabWidget* Tab1;
    // Word page.
    QWidget* GroupBox1;
    QWidget* Panel4;
    QGroupBox* StammformBox;
    QWidget* PanelGre;
    QPlainTextEdit* DBFremdwort;
    QPlainTextEdit* DBuebersetzung;
    QLineEdit* DBGenetiv;
    QLineEdit* DBGenus;
    QPlainTextEdit* DBExtra;
    QLineEdit* DBPraeFut;
    QLineEdit* DBPerAor;
    QLineEdit* DBPerfekt;
    QLineEdit* DBFuturPassiv;
    QLineEdit* DBAoristPassiv;
    QLineEdit* DBPerfektPassiv;
    QLabel* LabelFremdwort;
    QLabel* LabelUebersetzung;
    QLabel* LabelGenetiv;
    QLabel* LabelGenus;
    QLabel* LabelExtra;
    QLabel* LabelPraeFut;
    QLabel* LabelPerAor;
    QLabel* LabelPerfekt;
    QLabel* LabelFuturPassiv;
    QLabel* LabelAoristPassiv;
    QLabel* LabelPerfektPassiv;
    QComboBox* wortart;
    QComboBox* Schwcom;
    QPushButton* Button1;
    QToolButton* SpeedButton2;
    // Statistics page.
    QWidget* ExtrasPage;
    QLineEdit* DBcFremdwort;
    QLineEdit* DBcUebersetzung;
    QChartView* allchart;
    QChartView* xchart;
    // Table page.
    QTableView* DBGitter;
    QLabel* LabelMarkiert;
    QListWidget* idlist;
    QLabel* anzeintrag;
    QLabel* Label5;

    // Position of the first recent-database item in the "&Datenbank" menu.
    int RecentMenuBase = 0;
    bool FirstPaintPending = false;
    // Size changes are refused except while the windows are scaled at start-up.
    bool MainResizeAllowed = false;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildWordPage(QWidget* page);
    void buildExtrasPage(QWidget* page);
    void buildTablePage(QWidget* page);
    void buildLayout();
    void bindFields();
    void setDatabaseControlsEnabled(bool enabled);
    void disableShortcutsExceptNewWord();
    void enterRestrictedUserMode();
    void FormClose();
    void openDatabaseSteps(const QString& path);
    void leaveDatabase();
    void wireCommands();
    void reopenKeeping(qint64 id, bool live);
    void navigate(const std::function<void()>& move);
    // Row height and foreign-word column of the table page, sized to its fonts.
    void sizeTableColumns();
    ColumnFontDelegate* gitterFonts_ = nullptr;
    int currentPage_ = 0;
    // Bulk changes of records keep the field-change handlers quiet.
public:
    bool SuppressFieldChange = false;
private:
    QSize fixedSize_;
};

extern TForm1* Form1;
