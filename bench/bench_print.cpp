// Times the print window the way a user meets it: the main window open and
// bound to a database of 10,000 words, the print window shown from it, and
// "Änderungen übernehmen" with every lesson chosen; for the words in one
// lesson and spread over 100 lessons, as a word list and as index cards. A
// build is timed until its first page is painted in the preview and until its
// last page is laid out. Beside it: the same rows read with a raw SQLite
// statement plus the layout of one page, and whether the main window's table
// moved meanwhile.
#include "generator.h"

#include "database/currentdatabase.h"
#include "database/lessons.h"
#include "engine/query.h"
#include "mainwindow/mainwindow.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/paths.h"
#include "printing/printwindow.h"
#include "printing/reportpreview.h"
#include "support/mainwindowstart.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

namespace {

constexpr int Words = 10000;

struct Timing {
    double firstPage = -1;
    double lastPage = 0;
    int pages = 0;
};

// Runs `build` and times it until the preview has painted its first page
// and until it returns.
template <typename Build> Timing timeBuild(Tdruck& window, Build build) {
    Timing timing;
    QElapsedTimer timer;
    const auto connection =
        QObject::connect(window.prev, &report::ReportPreview::previewChanged, [&] {
            if (timing.firstPage >= 0 || window.prev->pageCount() == 0) return;
            // Painted as the user sees it, not only laid out.
            window.prev->viewport()->grab();
            timing.firstPage = timer.nsecsElapsed() / 1e6;
        });
    timer.start();
    build();
    timing.lastPage = timer.nsecsElapsed() / 1e6;
    timing.pages = window.document().pageCount();
    QObject::disconnect(connection);
    return timing;
}

// The selection of the print window read straight from SQLite, every column
// of every row as text, the way the window needs them.
double rawRead(const QString& table, int* rows) {
    QElapsedTimer timer;
    timer.start();
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(table).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT * FROM VokabelTable WHERE Lektion <> '' AND Fremdwort <> '' "
                       "ORDER BY Lektion, ID",
                       -1, &select, nullptr);
    QList<QStringList> read;
    while (sqlite3_step(select) == SQLITE_ROW) {
        QStringList values;
        for (int c = 0; c < sqlite3_column_count(select); ++c)
            values << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(select, c)));
        read << values;
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
    *rows = int(read.size());
    return timer.nsecsElapsed() / 1e6;
}

// The layout of the first page of what the window built last.
double onePage(Tdruck& window, const QList<PrintWord>& words) {
    QElapsedTimer timer;
    timer.start();
    bool pageReady = false;
    auto stop = [&](int, int) { return !pageReady; };
    auto ready = [&](const report::ReportPage&) { pageReady = true; };
    if (window.cardMode())
        LayoutIndexCards(words, window.cardSettings(), stop, ready);
    else
        LayoutWordList(words, window.wordListSettings(), stop, ready);
    return timer.nsecsElapsed() / 1e6;
}

struct Scenario {
    const char* name;
    int lessons;
    QString table;
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::setMessageBoxHandler([](const platform::MessageBoxRequest& request) {
        std::fprintf(stderr, "box: %s\n", qPrintable(request.text));
        return platform::Answer::Ok;
    });
    QTemporaryDir program;
    platform::ensureFolder(program.filePath("data"));
    platform::ensureFolder(program.filePath("Latein"));
    Scenario scenarios[] = {{"one lesson", 1, program.filePath("Latein/Eine.ol")},
                            {"100 lessons", 100, program.filePath("Latein/Hundert.ol")}};
    for (Scenario& scenario : scenarios) {
        bench::generateDatabase(scenario.table, Words, scenario.lessons);
        QStringList lines;
        for (int lesson = 0; lesson < scenario.lessons; ++lesson)
            lines << bench::lessonCodeOf(lesson) + QStringLiteral("Lektion %1").arg(lesson);
        LessonList(lines).save(QString(scenario.table).replace(".ol", ".lst"));
        engine::releaseTable(scenario.table);
    }

    const auto main = StartMainWindow(program.path());
    main->show();
    druck = new Tdruck(main.get());
    Tdruck& window = *druck;
    std::printf("print window over %d words, the main window open on them:\n", Words);
    for (const Scenario& scenario : scenarios) {
        main->OpenVocabularyDatabase(scenario.table);
        main->Query->setRecNo(7);
        app.processEvents();
        const int rowBefore = main->Query->recNo();
        int mainMoves = 0;
        const auto moves =
            QObject::connect(main->Query, &engine::Query::scrolled, [&] { ++mainMoves; });

        Timing opening;
        Timing list;
        Timing cards;
        double listPage = 0;
        double cardPage = 0;
        QElapsedTimer sinceClick;
        const auto firstSight =
            QObject::connect(window.prev, &report::ReportPreview::previewChanged, [&] {
                if (opening.firstPage >= 0 || window.prev->pageCount() == 0) return;
                window.prev->viewport()->grab();
                opening.firstPage = sinceClick.nsecsElapsed() / 1e6;
            });
        platform::setModalHandler([&](QDialog& dialog) {
            dialog.show();
            // The template of the current lesson is built once the window is shown.
            while (opening.firstPage < 0 || !window.BitBtn2->isEnabled())
                app.processEvents();
            opening.lastPage = sinceClick.nsecsElapsed() / 1e6;
            opening.pages = window.document().pageCount();
            QObject::disconnect(firstSight);

            window.llek->selectAll();
            window.cbkartei->setChecked(false);
            list = timeBuild(window, [&] { window.Button2Click(); });
            engine::Query selection;
            selection.setSql(PrintSelectionSql(CurrentTablePath, window.chosenLessonCodes(),
                                               PrintSelectionOptions));
            selection.open();
            const QList<PrintWord> words = ReadPrintWords(selection);
            listPage = onePage(window, words);
            window.cbkartei->setChecked(true);
            cards = timeBuild(window, [&] { window.Button2Click(); });
            cardPage = onePage(window, words);
            dialog.hide();
            return int(QDialog::Rejected);
        });
        sinceClick.start();
        window.showForPrint();
        QObject::disconnect(moves);
        int rows = 0;
        const double raw = rawRead(scenario.table, &rows);
        std::printf("%s, %d rows (raw SQLite read %.1f ms):\n", scenario.name, rows, raw);
        auto line = [&](const char* what, const Timing& timing, double page) {
            std::printf("  %-12s first page %7.1f ms, last page %7.1f ms (%d pages); "
                        "raw read + one page %6.1f ms, ratio %.2f\n",
                        what, timing.firstPage, timing.lastPage, timing.pages, raw + page,
                        timing.firstPage / (raw + page));
        };
        std::printf("  %-12s first page %7.1f ms, last page %7.1f ms (%d pages), the window "
                    "shown with its current lesson\n",
                    "opening:", opening.firstPage, opening.lastPage, opening.pages);
        line("word list:", list, listPage);
        line("index cards:", cards, cardPage);
        std::printf("  main window: %d moves of its query, on row %d before and %d after\n",
                    mainMoves, rowBefore, main->Query->recNo());
    }
    std::printf("target: first page < 500 ms and < 2x (raw read + one page)\n");
    delete druck;
    druck = nullptr;
    return 0;
}
