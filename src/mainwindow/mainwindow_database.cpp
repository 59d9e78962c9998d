// Opening and creating databases in the main window, and what the window shows
// of the open database: captions, fonts and the navigation buttons.
#include "mainwindow/mainwindow.h"

#include "database/currentdatabase.h"
#include "database/databasedisplay.h"
#include "database/databasefiles.h"
#include "database/databaseoptions.h"
#include "database/generaloptions.h"
#include "database/lessons.h"
#include "database/lessontree.h"
#include "database/newdatabasedialog.h"
#include "database/opendialog.h"
#include "database/paradoxconversion.h"
#include "database/recentdatabases.h"
#include "database/specialoptions.h"
#include "database/vocabularytable.h"
#include "engine/fieldbinder.h"
#include "engine/query.h"
#include "engine/tablefacts.h"
#include "engine/tablemodel.h"
#include "mainwindow/columnfonts.h"
#include "mainwindow/recentmenu.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/mounts.h"
#include "platform/paths.h"
#include "platform/regularfile.h"
#include "platform/replacementjournal.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSet>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>

namespace {
const QString CaptionPrefix = QStringLiteral("Orvilex Vokabeltrainer - ");

// A missing script font is named once per database while the program runs.
void noteMissingScriptFont() {
    static QSet<QString> told;
    const QString font =
        MissingScriptFont(DatabaseOptions, CurrentLanguage, IsHebrewDatabase(), FontInstalled);
    if (font.isEmpty() || told.contains(CurrentTablePath)) return;
    told.insert(CurrentTablePath);
    platform::showMessage(MissingFontMessage(font, CurrentDatabaseName), QStringLiteral("Hinweis"),
                          platform::Icon::Information);
}

void setDatabaseParts(const QString& tablePath) {
    const TablePathParts parts = SplitTablePath(tablePath);
    CurrentTablePath = platform::normalizePath(tablePath);
    CurrentExtension = parts.extension;
    CurrentDatabaseName = parts.name;
    CurrentDatabaseFolder = parts.folder;
    CurrentDatabaseBase = parts.base;
}
} // namespace

// --- opening ------------------------------------------------------------------

void TForm1::OpenVocabularyDatabase(const QString& path) {
    try {
        openDatabaseSteps(path);
    } catch (...) {
        // Whatever failed, the window is left in the no-database state rather
        // than half set up; the message reaches the user through the handler.
        leaveDatabase();
        throw;
    }
}

void TForm1::openDatabaseSteps(const QString& path) {
    DisableDatabaseControls();
    // A database on a file system that does not answer would hold the window for good.
    if (!platform::askFileSystem(platform::normalizePath(path)).answered()) {
        leaveDatabase();
        platform::showMessage(platform::noAnswerMessage(path, QStringLiteral("Die Datenbank")),
                              QStringLiteral("Fehler"), platform::Icon::Error);
        return;
    }
    // A restore of this database killed during its renames is undone first.
    platform::recoverInterruptedReplacements(
        QFileInfo(platform::normalizePath(path)).absolutePath());
    if (!QFileInfo::exists(platform::normalizePath(path))) {
        leaveDatabase();
        platform::showMessage(QStringLiteral("Die Datenbank ") + path +
                                  QStringLiteral(" wurde nicht gefunden."),
                              QStringLiteral("Fehler"), platform::Icon::Error);
        return;
    }
    // Reading a FIFO or a device would wait for good.
    if (!platform::isRegularFile(platform::normalizePath(path))) {
        leaveDatabase();
        platform::showMessage(QStringLiteral("Die Datenbank ") + path +
                                  QStringLiteral(" ist keine gewöhnliche Datei und kann nicht "
                                                 "geöffnet werden."),
                              QStringLiteral("Fehler"), platform::Icon::Error);
        return;
    }
    // A table of the older program is turned into one of this engine once.
    const ParadoxConversion conversion = ConvertParadoxTableInPlace(path);
    if (!conversion.error.isEmpty()) {
        leaveDatabase();
        platform::showMessage(conversion.error, QStringLiteral("Fehler"), platform::Icon::Error);
        return;
    }
    if (conversion.converted)
        platform::showMessage(conversion.notice, QStringLiteral("Information"),
                              platform::Icon::Information);
    // A file that is no usable table is refused before anything beside it
    // (lesson list, options, recent list) is read or written.
    try {
        engine::openTable(platform::normalizePath(path));
    } catch (const engine::EngineError& error) {
        leaveDatabase();
        platform::showMessage(error.message(), QStringLiteral("Fehler"), platform::Icon::Error);
        return;
    }
    setDatabaseParts(path);
    setWindowTitle(CaptionPrefix + CurrentDatabaseName);

    QString listMessage;
    LoadLessonListForOpening(baumlist, CurrentTablePath, &listMessage);
    if (!listMessage.isEmpty())
        platform::showMessage(listMessage, QStringLiteral("Hinweis"), platform::Icon::Warning);
    if (!HasLessonLine(baumlist)) {
        // A table without lessons gets its first lesson with a word in it.
        RebuildLessonListFromTable(lekbaum, *Query, baumlist);
    }
    RebuildLessonTree(lekbaum, baumlist);
    CurrentLessonCode = FirstLessonCodeOf(BuildLessonTree(baumlist));
    SelectFirstLessonSection(lekbaum);
    EnableDatabaseControls();
    // A first lesson without words gets its first word, as a click on it
    // gives it, so that the fields show a word of that lesson.
    if (Query->isEmpty() && Query->canModify()) InsertNewWordRecord(*Query, CurrentLessonCode);

    ReadDatabaseOptions(CurrentDatabaseBase);
    AddRecentDatabase(CurrentTablePath, CurrentDatabaseName, CurrentLanguage);
    SetLanguageLabels();
    LoadDatabaseOptionFiles();
    noteMissingScriptFont();
    if (GeneralOptions.sza && hooks.showCharTable) hooks.showCharTable();
    ShowWordTypeAndDifficulty();
    UpdateNavButtons();
    VokabelnClick(); // the options record has named the language of the quiz file
}

void TForm1::leaveDatabase() {
    Query->close();
    DisableDatabaseControls();
    CurrentTablePath.clear();
    baumlist.clear();
    lekbaum->clear();
    setWindowTitle(QStringLiteral("Orvilex Vokabeltrainer"));
}

void TForm1::oeffnenClick() {
    DisableDatabaseControls();
    if (platform::execModal(*dateiladen) == 1) {
        CurrentTablePath = dateiladen->Label2->text();
        OpenVocabularyDatabase(CurrentTablePath);
    } else if (!CurrentTablePath.isEmpty()) {
        EnableDatabaseControls();
        ShowWordTypeAndDifficulty();
        UpdateNavButtons();
    } else {
        leaveDatabase();
    }
}

void TForm1::openRecentDatabase(int slot) {
    const QString path = RecentDatabasePath(slot);
    if (path.isEmpty()) return;
    if (!CheckRecordCompleteHere()) return;
    OpenVocabularyDatabase(path);
}

void TForm1::RebuildRecentFilesMenu() {
    ::RebuildRecentFilesMenu({mit1, mit2, mit3, mit4}, recentSeparator);
}

// --- creating -----------------------------------------------------------------

bool TForm1::NeuClick2() {
    // Everything the dialog rounds change is put back when the user cancels.
    const QString previousPath = CurrentTablePath;
    const QString previousLanguage = CurrentLanguage;
    const TDatabaseOptionsRec previousOptions = DatabaseOptions;
    const QString previousSelection = SelectionOptionsPath, previousQuiz = QuizOptionsPath,
                  previousCharTable = CharTableOptionsPath;
    DisableDatabaseControls();
    const auto putBackPrevious = [&] {
        CurrentTablePath = previousPath;
        CurrentLanguage = previousLanguage;
        DatabaseOptions = previousOptions;
        SelectionOptionsPath = previousSelection;
        QuizOptionsPath = previousQuiz;
        CharTableOptionsPath = previousCharTable;
        if (!CurrentTablePath.isEmpty() && !baumlist.isEmpty() &&
            QFileInfo::exists(CurrentTablePath)) {
            setDatabaseParts(CurrentTablePath);
            EnableDatabaseControls();
            ShowWordTypeAndDifficulty();
            UpdateNavButtons();
        }
    };

    QString name;
    while (true) {
        if (platform::execModal(*DialogNeu) != 1) {
            putBackPrevious();
            return true;
        }
        name = DialogNeu->EditName->text().trimmed();
        const QString problem = CheckDatabaseName(name);
        if (!problem.isEmpty()) {
            platform::showMessage(problem, QStringLiteral("Fehler"), platform::Icon::Error);
            continue;
        }
        const QString language = DialogNeu->languageName();
        const QString languageProblem = CheckTypedLanguage(language);
        if (!languageProblem.isEmpty()) {
            platform::showMessage(languageProblem, QStringLiteral("Fehler"), platform::Icon::Error);
            continue;
        }
        const QString folder = platform::joinPath(VocabularyRoot(), language);
        if (!platform::ensureFolder(folder)) {
            platform::showMessage(QStringLiteral("Der Ordner ") + folder +
                                      QStringLiteral(" kann nicht angelegt werden."),
                                  QStringLiteral("Fehler"), platform::Icon::Error);
            continue;
        }
        const QString tablePath = platform::joinPath(folder, name + QStringLiteral(".ol"));
        if (QFileInfo::exists(tablePath)) {
            if (platform::showMessage(QStringLiteral("Datei schon vorhanden. Überschreiben?"),
                                      QStringLiteral("Datei schon vorhanden"),
                                      platform::Icon::Question,
                                      platform::Buttons::YesNo) != platform::Answer::Yes)
                continue;
            DeleteDatabaseFiles(tablePath);
        }
        CurrentLanguage = language;
        setDatabaseParts(tablePath);
        try {
            CreateVocabularyTable(*Query, CurrentTablePath);
        } catch (...) {
            // The engine's message follows; the window goes back to the
            // database open before, or to none when that one was overwritten.
            putBackPrevious();
            if (!QFileInfo::exists(previousPath)) leaveDatabase();
            throw;
        }
        break;
    }
    LoadDatabaseOptionFiles();
    setWindowTitle(CaptionPrefix + CurrentDatabaseName);
    CurrentLessonCode = FirstLessonCode;
    EnableDatabaseControls();
    DatabaseOptions = TDatabaseOptionsRec::forNewDatabase(CurrentLanguage);
    WriteDatabaseOptions();
    SetLanguageLabels();
    InsertNewWordRecord(*Query, FirstLessonCode);
    ShowWordTypeAndDifficulty();
    baumlist.setLines({FirstLessonCode});
    SaveLessonList(baumlist);
    RebuildLessonTree(lekbaum, baumlist);
    SelectFirstLessonSection(lekbaum);
    Tab1->setCurrentIndex(0);
    UpdateNavButtons();
    DBFremdwort->setFocus();
    noteMissingScriptFont();
    return false;
}

// --- what the window shows of the database -------------------------------------

void TForm1::SetLanguageLabels() {
    const LanguageLabels plan =
        PlanLanguageLabels(CurrentLanguage, IsHebrewDatabase(), DatabaseOptions.WordFont);
    QLabel* labels[6] = {LabelPraeFut,     LabelPerAor,       LabelPerfekt,
                         LabelFuturPassiv, LabelAoristPassiv, LabelPerfektPassiv};
    for (int i = 0; i < 6; ++i)
        if (!plan.formLabels[i].isEmpty()) labels[i]->setText(plan.formLabels[i]);
    // The three extra forms are typed in the order the language lists them.
    QWidget* extra[3] = {DBFuturPassiv, DBAoristPassiv, DBPerfektPassiv};
    QWidget* ordered[3] = {};
    for (int i = 0; i < 3; ++i)
        ordered[plan.passiveTabOrder[i]] = extra[i];
    setTabOrder(DBPerfekt, ordered[0]);
    setTabOrder(ordered[0], ordered[1]);
    setTabOrder(ordered[1], ordered[2]);
    if (hooks.languageChanged) hooks.languageChanged(plan);
    ApplyFonts();
    ApplySpecialFormCaptions();
}

void TForm1::ApplyFonts() {
    const DatabaseFonts fonts = PlanDatabaseFonts(DatabaseOptions, IsHebrewDatabase());
    auto apply = [this](QWidget* control, const WordFontView& view) {
        control->setFont(view.font);
        binder->setConverter(
            control, [view](const QString& s) { return view.toDisplay(s); },
            [view](const QString& s) { return view.fromDisplay(s); });
    };
    for (QWidget* w :
         std::initializer_list<QWidget*>{DBcFremdwort, DBPraeFut, DBPerAor, DBPerfekt,
                                         DBFuturPassiv, DBAoristPassiv, DBPerfektPassiv, DBGenetiv})
        apply(w, fonts.tableWord);
    apply(DBFremdwort, fonts.word);
    // The memos size themselves to lines of the fonts put on them here (two
    // whole lines of the foreign word, however large its font).
    apply(DBuebersetzung, fonts.translation);
    apply(DBExtra, fonts.translation);
    apply(DBcUebersetzung, fonts.tableTranslation);
    apply(DBGenus, fonts.tableTranslation);
    DBGitter->setFont(fonts.tableWord.font);
    gitterFonts_->fonts = {fonts.tableWord.font, fonts.tableTranslation.font};
    sizeTableColumns();
    const WordFontView tableWord = fonts.tableWord, tableTranslation = fonts.tableTranslation;
    Datenquelle->setDisplayConverter(
        [tableWord, tableTranslation](const QString& field, const QString& s) {
            return field == QLatin1String("Fremdwort") ? tableWord.toDisplay(s)
                                                       : tableTranslation.toDisplay(s);
        },
        [tableWord, tableTranslation](const QString& field, const QString& s) {
            return field == QLatin1String("Fremdwort") ? tableWord.fromDisplay(s)
                                                       : tableTranslation.fromDisplay(s);
        });
    // Only the alignment changes: the memo's wrapping stays as it is.
    QTextOption wordOption = DBFremdwort->document()->defaultTextOption();
    wordOption.setAlignment(fonts.centreForeignWord ? Qt::AlignHCenter : Qt::AlignLeft);
    DBFremdwort->document()->setDefaultTextOption(wordOption);
    binder->refresh();
    if (hooks.fontsChanged) hooks.fontsChanged(fonts);
}

void TForm1::ApplySpecialFormCaptions() {
    PanelGre->setVisible(true);
    const SpecialFormCaptions captions = SpecialFormCaptionsFor(CurrentLanguage);
    const QFont font = CaptionFont(captions);
    QLabel* labels[6] = {LabelPraeFut,     LabelPerAor,       LabelPerfekt,
                         LabelFuturPassiv, LabelAoristPassiv, LabelPerfektPassiv};
    for (int i = 0; i < 6; ++i) {
        labels[i]->setFont(font);
        labels[i]->setText(captions.Forms[i]);
    }
    LabelGenetiv->setText(captions.Genitive);
    LabelGenus->setText(captions.Genus);
    if (hooks.captionsChanged) hooks.captionsChanged(captions);
}

void TForm1::UpdateNavButtons() {
    const NavButtons state = NavButtonsFor(*Query);
    SpeedFirst->setEnabled(state.first);
    SpeedPrior->setEnabled(state.prior);
    Speednext->setEnabled(state.next);
    SpeedLast->setEnabled(state.last);
}

void TForm1::ShowWordTypeAndDifficulty() {
    const WordTypeAndDifficulty shown = ::ShowWordTypeAndDifficulty(*Query);
    if (!shown.active) return;
    const QSignalBlocker a(wortart), b(Schwcom); // only the user's choice writes the record
    wortart->setCurrentIndex(shown.wortartItem);
    Schwcom->setCurrentIndex(shown.schwierigkeitItem);
}

void TForm1::Schriftart(const TDatabaseOptionsRec& choice) {
    DatabaseOptions.WordFont = choice.WordFont.left(TDatabaseOptionsRec::NameCapacity);
    DatabaseOptions.TranslationFont =
        choice.TranslationFont.left(TDatabaseOptionsRec::NameCapacity);
    DatabaseOptions.TableWordFont = choice.TableWordFont.left(TDatabaseOptionsRec::NameCapacity);
    DatabaseOptions.TableTranslationFont =
        choice.TableTranslationFont.left(TDatabaseOptionsRec::NameCapacity);
    DatabaseOptions.WordFontBold = choice.WordFontBold;
    DatabaseOptions.TableWordFontBold = choice.TableWordFontBold;
    DatabaseOptions.TranslationFontBold = choice.TranslationFontBold;
    DatabaseOptions.TableTranslationFontBold = choice.TableTranslationFontBold;
    DatabaseOptions.WordFontSize = choice.WordFontSize;
    DatabaseOptions.TranslationFontSize = choice.TranslationFontSize;
    DatabaseOptions.TableWordFontSize = choice.TableWordFontSize;
    DatabaseOptions.TableTranslationFontSize = choice.TableTranslationFontSize;
    DatabaseOptions.CharsetPosition = choice.CharsetPosition;
    DatabaseOptions.CharsetInTranslation = choice.CharsetInTranslation;
    if (!CurrentTablePath.isEmpty()) WriteDatabaseOptions();
    ApplyFonts();
}

void TForm1::SetWordFontCharset() {
    // The converters of the word fields follow the database's character set;
    // the stored text never changes.
    ApplyFonts();
}
