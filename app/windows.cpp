#include "app/windows.h"

#include "database/currentdatabase.h"
#include "database/databasefiles.h"
#include "database/databaseoptions.h"
#include "database/lessondialogs.h"
#include "database/newdatabasedialog.h"
#include "database/opendialog.h"
#include "database/recentdatabases.h"
#include "engine/query.h"
#include "exchange/backupwindow.h"
#include "exchange/exportwindow.h"
#include "exchange/importwindow.h"
#include "exchange/restorewindow.h"
#include "mainwindow/aboutbox.h"
#include "mainwindow/helpcommands.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/progresswindows.h"
#include "mainwindow/specialcharwindow.h"
#include "mainwindow/updater.h"
#include "printing/printwindow.h"
#include "quiz/evaluationwindow.h"
#include "quiz/quizresume.h"
#include "quiz/quizwindow.h"
#include "quiz/selectionwindow.h"
#include "quiz/wordeditorwindow.h"
#include "search/searchwindow.h"
#include "search/sortlogic.h"
#include "search/sortwindow.h"
#include "settings/databasesettingsdialog.h"
#include "settings/optionsdialog.h"
#include "settings/specialoptionswindow.h"

#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/temporaryfiles.h"

#include <QAction>
#include <QToolButton>
#include <QTreeWidget>

namespace {

// What windows set off in each other, wired before they are created so that
// their creation handlers find it in place.
void wireHooks() {
    Form1->hooks.restoreArchive = [](const QString& file) { return zsichern->neu_entzip(file); };
    Form1->hooks.restoreZippedBackup = [](const QString& file) {
        platform::showMessage(zsichern->entzip(file, true));
    };
    Form1->hooks.beforeClose = [] {
        if (einf && einf->isVisible())
            einf->close();
        sichern->removeTempFolder();
    };
    Form1->hooks.showQuizSelection = [] { ausw->showForQuiz(); };
    Form1->hooks.closeSearchWindow = [] {
        if (suchen && suchen->isVisible())
            suchen->close();
    };
    Form1->hooks.languageChanged = [](const LanguageLabels& l) { abfrag->applyLanguageLabels(l); };
    Form1->hooks.fontsChanged = [](const DatabaseFonts& f) {
        abfrag->applyDatabaseFonts(f);
        if (einf) einf->SetWordFontCharset();
    };
    Form1->hooks.captionsChanged = [](const SpecialFormCaptions& c) {
        abfrag->applySpecialFormCaptions(c);
    };
    Form1->hooks.quizVisible = [] { return abfrag && abfrag->isVisible(); };
    Form1->hooks.closeQuizIfActive = [] {
        if (abfrag && abfrag->isVisible() && abfrag->isActiveWindow())
            abfrag->close();
    };
    DatabaseOptionFileReaders.reloadQuizOptions = [] { abfrag->FormCreate(); };
    DatabaseOptionFileReaders.reloadCharTable = [] { einf->FormCreate(); };
    Form1->hooks.showCharTable = [] { einf->HufigeSonderzeichen1Click(); };
    FoptHooks.charTableLayoutChanged = [] { einf->PageControl1Change(); };
    Form1->hooks.openDatabase = [](const QString& path) { Form1->OpenVocabularyDatabase(path); };
    RecentDatabasesChanged = [] { Form1->RebuildRecentFilesMenu(); };
    FoptHooks.rebuildRecentFilesMenu = [] { Form1->RebuildRecentFilesMenu(); };
    FoptHooks.databaseSettingsChanged = [] {
        LoadDatabaseOptionFiles();
        Form1->ApplyFonts();
    };
    FoptHooks.saveDatabaseFonts = [] { Form1->Schriftart(DatabaseOptions); };
    FoptHooks.applySettings = [] {
        abfrag->LayoutQuizFields();
        Form1->SetWordFontCharset();
    };
    FormSOHooks.applySpecialFormCaptions = [] {
        if (!CurrentTablePath.isEmpty())
            Form1->ApplySpecialFormCaptions();
    };
}

// Menu commands whose windows lie above the main window.
void wireMainWindowCommands() {
    QObject::connect(Form1->Einstellungen2, &QAction::triggered, Form1, [] { fopt->execute(); });
    QObject::connect(Form1->Sonderoptionen1, &QAction::triggered, Form1, [] { FormSO->checkit(); });
    dateiladen->clearLessonTree = [] { Form1->lekbaum->clear(); };
    abfrag->charWindowVisible = [] { return einf && einf->isVisible(); };
    abfrag->quizEnded = [] { Form1->VokabelnClick(); };
    QObject::connect(Form1->uaf, &QAction::triggered, Form1, [] {
        if (Form1->CheckRecordCompleteHere())
            resumeInterruptedQuiz();
    });
    einf->hooks.quizVisible = [] { return abfrag && abfrag->isVisible(); };
    einf->hooks.quizInsert = [] { abfrag->FormActivate(); };
    einf->hooks.takeCharWindowWasOpen = [] {
        const bool wasOpen = abfrag->CharWindowWasOpen;
        abfrag->CharWindowWasOpen = false;
        return wasOpen;
    };
    QObject::connect(Form1->Datenbank1, &QAction::triggered, Form1, [] { dbeform->execute(); });
    Form1->hooks.afterNewDatabase = [] { dbeform->execute(); };
    QObject::connect(Form1->Einstellungen1, &QAction::triggered, Form1,
                     [] { abfrag->showSettingsOnly(); });
    QObject::connect(Form1->ExportinTextdatei1, &QAction::triggered, Form1,
                     [] { ExportinTextdatei1Click(); });
    QObject::connect(Form1->ImportvonTextdatei1, &QAction::triggered, Form1,
                     [] { ImportvonTextdatei1Click(); });
    auto print = [] {
        if (!Form1->Query->isActive() || !Form1->CheckRecordCompleteHere())
            return;
        if (Form1->Query->state() != engine::Query::State::Browse)
            Form1->Query->post();
        druck->showForPrint();
        Form1->ShowWordTypeAndDifficulty();
        Form1->UpdateNavButtons();
    };
    QObject::connect(Form1->Drucken, &QAction::triggered, Form1, print);
    QObject::connect(Form1->SpeedDruck, &QToolButton::clicked, Form1, print);
    QObject::connect(Form1->Einfuegen1, &QAction::triggered, Form1,
                     [] { einf->Sonderzeicheneinfgen1Click(); });
    QObject::connect(Form1->Benutzertabelle1, &QAction::triggered, Form1,
                     [] { einf->HufigeSonderzeichen1Click(); });
    QObject::connect(Form1->Suchen1, &QAction::triggered, Form1,
                     [] { helpcommands::ShowSearchWindow(*Form1, suchen); });
    QObject::connect(Form1->Sortieren1, &QAction::triggered, Form1,
                     [] { platform::execModal(*fsort); });
    suchen->exportHits = [](const QList<qint64>& ids) { ExportWords(ExportRows::idList(ids)); };
    QObject::connect(Form1->Zippen1, &QAction::triggered, Form1, [] { sichern->execute(); });
    QObject::connect(Form1->Unzippen1, &QAction::triggered, Form1, [] { zsichern->execute(); });
    auto about = [] { platform::execModal(*info2); };
    QObject::connect(Form1->Info1, &QAction::triggered, Form1, about);
    QObject::connect(Form1->infobtn, &QToolButton::clicked, Form1, about);
    helpcommands::ConnectHelpCommands(*Form1);
    QObject::connect(Form1->OrvikonHomepage1, &QAction::triggered, Form1,
                     [] { helpcommands::OpenHomepage(); });
    QObject::connect(Form1->N12, &QAction::triggered, Form1, [] { helpcommands::StartMergeTool(); });
}

} // namespace

void createWindows(const QStringList& arguments) {
    // The order matters: creation handlers read what earlier ones set up.
    Form1 = new TForm1;
    wireHooks();
    Form1->FormCreate(arguments);
    // A sort stopped part-way last time leaves its work table behind, a
    // write, restore or conversion its hidden temporary files.
    sorting::RemoveWorkFiles(sorting::WorkTableBase());
    platform::removeLeftoverTemporariesBelow({WorkDir, VocabularyRoot()});
    fopt = new Tfopt(Form1);
    zsichern = new Tzsichern(Form1);
    ausw = new Tausw(Form1);
    DialogNeu = new TDialogNeu(Form1);
    dateiladen = new Tdateiladen(Form1);
    abfrag = new Tabfrag;
    abfrag->FormCreate();
    auswertung = new Tauswertung;
    umbe = new Tumbe(Form1);
    suchen = new Tsuchen(Form1);
    vokbear = new Tvokbear(abfrag);
    kopieren = new Tkopieren(Form1);
    Fortschritt = new TFortschritt(Form1);
    fosc = new Tfosc(Form1);
    druck = new Tdruck(Form1);
    einf = new Teinf(Form1);
    sichern = new Tsichern(Form1);
    sichern->ApplyQuizScaling(abfrag);
    Exportform = new TExportform(Form1);
    ImportForm = new TImportForm(Form1);
    info2 = new Tinfo2(Form1);
    FormSO = new TFormSO(Form1);
    dbeform = new Tdbeform(Form1);
    fsort = new Tfsort(Form1);
    wireMainWindowCommands();
}

void showMainWindow() { Form1->show(); }

QString runUpdaterRun() {
    QString result;
    updater::RunUpdate(result);
    return result;
}
