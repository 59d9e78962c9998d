#include "mainwindow/mainwindow.h"

#include "database/currentdatabase.h"
#include "database/generaloptions.h"
#include "database/vocabularytable.h"
#include "engine/fieldbinder.h"
#include "engine/query.h"
#include "engine/tablemodel.h"
#include "mainwindow/specialcharwindow.h"
#include "mainwindow/startup.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/paths.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

TForm1* Form1 = nullptr;

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Orvilex Vokabeltrainer"));
    Query = new engine::Query(this);
    Query->setRequestLive(true);
    // A word started in the window belongs to the lesson shown, however it
    // was started (a command, or typing into a lesson without words).
    Query->setNewRecordValues([] { return NewRecordValues(CurrentLessonCode); });
    querytemp = new engine::Query(this);
    querytemp->setRequestLive(true);
    Datenquelle = new engine::TableModel(Query, this);
    binder = new engine::FieldBinder(Query, this);
    buildMenus();
    buildLayout();
    bindFields();
    wireCommands();
    resize(900, 640);
}

TForm1::~TForm1() {
    // The queries outlive this part of the window: what they report while
    // closing must not reach handlers of a window that is going away.
    Query->disconnect(this);
    querytemp->disconnect(this);
    // The grid's model resets when the query goes with the window's children,
    // after this part of the window is gone.
    Datenquelle->disconnect(this);
    try {
        Query->close();
    } catch (const std::exception&) {
        // Nothing can be shown any more; the query drops the edit itself.
    }
}

void TForm1::bindFields() {
    binder->bindMemo(DBFremdwort, QStringLiteral("Fremdwort"));
    binder->bindMemo(DBuebersetzung, QStringLiteral("Uebersetzung"));
    binder->bindLineEdit(DBGenetiv, QStringLiteral("Genitiv"));
    binder->bindLineEdit(DBGenus, QStringLiteral("Genus"));
    binder->bindMemo(DBExtra, QStringLiteral("Extra"));
    binder->bindLineEdit(DBPraeFut, QStringLiteral("PraeFut"));
    binder->bindLineEdit(DBPerAor, QStringLiteral("PerAor"));
    binder->bindLineEdit(DBPerfekt, QStringLiteral("Perfekt"));
    binder->bindLineEdit(DBFuturPassiv, QStringLiteral("Futur_passiv"));
    binder->bindLineEdit(DBAoristPassiv, QStringLiteral("Aorist_passiv"));
    binder->bindLineEdit(DBPerfektPassiv, QStringLiteral("Perfekt_passiv"));
    binder->bindLineEdit(DBcFremdwort, QStringLiteral("Fremdwort"));
    binder->bindLineEdit(DBcUebersetzung, QStringLiteral("Uebersetzung"));
    Datenquelle->setColumns({QStringLiteral("Fremdwort"), QStringLiteral("Uebersetzung")},
                            {QStringLiteral("Fremdwort"), QStringLiteral("Übersetzung")});
}

// --- start-up ---------------------------------------------------------------

void TForm1::FormCreate(const QStringList& arguments, const QString& programDir) {
    // Taken before the program changes to its own folder.
    const QString startFolder = QDir::currentPath();
    RecentMenuBase = DatenbankMenu->actions().size() - 4;
    FirstPaintPending = true;
    WorkDir = programDir.isEmpty() ? platform::programFolder() : programDir;
    InstallDir = WorkDir;

    const QString first = arguments.value(0);
    if (!startup::programFolderWritable(WorkDir) || first == QLatin1String("/1"))
        enterRestrictedUserMode();
    QDir::setCurrent(WorkDir);

    StartMode = startup::startModeFor(first);
    StartFile = StartMode == StartNormal ? QString() : startup::startFilePath(first, startFolder);

    loadGeneralOptions(); // a missing or short file leaves the defaults
    CharTableOptionsPath = platform::joinPath(WorkDir, QStringLiteral("data/gruopt.dat"));

    if (!engine::configuration::hasDatabaseName(QStringLiteral("DBOL"))) {
        engine::configuration::addStandardDatabase(QStringLiteral("DBOL"), QString(),
                                                   QStringLiteral("PARADOX"));
        engine::configuration::save();
    }

    DisableDatabaseControls();
    CurrentTablePath.clear();
    if (GeneralOptions.cbShortcutz)
        disableShortcutsExceptNewWord();
}

void TForm1::enterRestrictedUserMode() {
    try {
        InstallDir = WorkDir;
        WorkDir = startup::prepareUserFolder(InstallDir, platform::GetMyDocumentsFolder());
        platform::showMessage(startup::restrictedModeMessage(WorkDir), QStringLiteral("Information"),
                              platform::Icon::Information);
    } catch (const std::exception&) {
        platform::showMessage(QStringLiteral("Kein Zugriff auf Orvilex-Verzeichnis. Fehler beim "
                                             "Initialisieren des Modus für eingeschränkte Benutzer."));
    }
}

void TForm1::FormPaint() {
    if (FirstPaintPending) {
        FirstPaintPending = false;
        if (QFileInfo::exists(QDir::rootPath() + QStringLiteral("zockabc.txt")))
            bwork->setVisible(true);
        const QString file = StartFile;
        const unsigned char mode = StartMode;
        StartMode = StartNormal;
        if (mode == StartDatabase && hooks.openDatabase)
            hooks.openDatabase(file);
        else if (mode == StartZippedBackup && hooks.restoreZippedBackup)
            hooks.restoreZippedBackup(file);
        else if (mode == StartArchive && hooks.restoreArchive) {
            const QString result = hooks.restoreArchive(file);
            if (!result.isEmpty())
                platform::showMessage(result);
        }
        const QScreen* screen = this->screen();
        if (screen && startup::screenTooSmall(screen->geometry().height())) {
            platform::showMessage(
                QStringLiteral("Bildschirmauflösung ist zu gering (mindestens 800*600 nötig). "
                               "Erhöhen Sie die Auflösung und starten Sie das Programm neu."),
                QStringLiteral("Programm kann nicht gestartet werden"));
            close();
            return;
        }
    }
    if (hooks.closeQuizIfActive)
        hooks.closeQuizIfActive();
    VokabelnClick();
}

void TForm1::VokabelnClick() {
    InterruptedQuizPath = platform::joinPath(
        WorkDir, QStringLiteral("data/") + CurrentDatabaseName + CurrentLanguage + QStringLiteral(".lab"));
    uaf->setEnabled(!CurrentTablePath.isEmpty() && QFileInfo::exists(InterruptedQuizPath));
}

void TForm1::bworkClick() { platform::showMessage(WorkDir); }

// --- events -----------------------------------------------------------------

bool TForm1::event(QEvent* e) {
    // The program's "paint" work runs once the window is on the screen and
    // whenever it becomes active again.
    if (e->type() == QEvent::Show || e->type() == QEvent::WindowActivate)
        QTimer::singleShot(0, this, &TForm1::FormPaint);
    // A character chosen in the special-character window goes into the field
    // that had the focus.
    if (e->type() == QEvent::WindowActivate)
        InsertPendingCharInMainWindow();
    return QMainWindow::event(e);
}

void TForm1::paintEvent(QPaintEvent* e) { QMainWindow::paintEvent(e); }

void TForm1::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    if (!isVisible() || MainResizeAllowed)
        return;
    // Lock the size the window was shown with.
    if (fixedSize_.isEmpty()) {
        fixedSize_ = size();
        setFixedSize(fixedSize_);
    }
}

void TForm1::setResizeAllowed(bool allowed) {
    MainResizeAllowed = allowed;
    if (allowed) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        fixedSize_ = QSize();
    } else {
        fixedSize_ = size();
        setFixedSize(fixedSize_);
    }
}

// --- shutdown ---------------------------------------------------------------

void TForm1::EndeClick() {
    Query->close();
    close();
}

void TForm1::closeEvent(QCloseEvent* e) {
    try {
        FormClose();
    } catch (const std::exception&) {
        // A word that cannot be stored keeps the program open, so that the
        // user can correct it instead of losing it.
        e->ignore();
        throw;
    }
    QMainWindow::closeEvent(e);
}

void TForm1::FormClose() {
    if (hooks.beforeClose)
        hooks.beforeClose();
    Query->close(); // stores a word still being edited
}

// --- database state -----------------------------------------------------------

void TForm1::setDatabaseControlsEnabled(bool enabled) {
    anzeintrag->setVisible(enabled);
    Label5->setVisible(enabled);
    for (QAction* action : {Drucken, Eingabe1->menuAction(), Bearbeiten->menuAction(),
                            Vokabeln->menuAction(), Datenbank1, resetdata->menuAction()})
        action->setEnabled(enabled);
    for (QWidget* w : std::initializer_list<QWidget*>{
             SpeedAbfragen, SpeedDruck, SpeedDelete, SpeedCreate, SpeedSave, Speednext, SpeedLast,
             wortart, Schwcom, GroupBox1, Panel4, StammformBox, Tab1})
        w->setEnabled(enabled);
    if (!enabled) {
        SpeedFirst->setEnabled(false);
        SpeedPrior->setEnabled(false);
    }
    Tab1->setCurrentIndex(0);
    // Ctrl+U acts only while its item is enabled, and no window activation
    // need follow a change of database (the recent list opens from the menu).
    VokabelnClick();
}

void TForm1::DisableDatabaseControls() {
    setDatabaseControlsEnabled(false);
    Query->close();
}

void TForm1::EnableDatabaseControls() {
    setDatabaseControlsEnabled(true);
    Query->close();
    Query->clearSql();
    Query->addSql(QStringLiteral("SELECT * FROM ") + engine::quoteLiteral(ShortPath(CurrentTablePath)));
    Query->addSql(QStringLiteral("WHERE Lektion = ") + engine::quoteLiteral(CurrentLessonCode));
    Query->open();
    DBFremdwort->setFocus();
}
