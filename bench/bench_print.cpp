// Times the print window's preview of one lesson of 10,000 words: from the
// start of a build until its first page is painted in the preview, and until
// the last page is laid out; for the word list in one and in three columns and
// for index cards.
#include "generator.h"

#include "database/currentdatabase.h"
#include "database/lessons.h"
#include "engine/query.h"
#include "platform/folders.h"
#include "printing/printwindow.h"
#include "printing/reportpreview.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int Words = 10000;

void putAllWordsIntoOneLesson(const QString& table) {
    engine::Query update;
    update.setSql({QStringLiteral("UPDATE ") + engine::quoteLiteral(table) +
                   QStringLiteral(" SET Lektion = \"001A1\"")});
    update.execSql();
}

struct Timing {
    double firstPage = -1;
    double lastPage = 0;
    int pages = 0;
};

// One build as "Änderungen übernehmen" starts it.
Timing timeBuild(Tdruck& window) {
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
    window.Button2Click();
    timing.lastPage = timer.nsecsElapsed() / 1e6;
    timing.pages = window.document().pageCount();
    QObject::disconnect(connection);
    return timing;
}

// The same pages through Qt's print preview widget, which paints every page
// before it shows the first: what a preview of this size cost before.
double timeQtPreview(const report::ReportDocument& document) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewWidget preview(&printer);
    QObject::connect(&preview, &QPrintPreviewWidget::paintRequested,
                     [&](QPrinter* target) { report::paintReport(document, *target); });
    preview.resize(360, 480);
    preview.show();
    QElapsedTimer timer;
    timer.start();
    preview.updatePreview();
    preview.grab();
    return timer.nsecsElapsed() / 1e6;
}

void printTiming(const char* what, const Timing& timing) {
    std::printf("%-34s first page %7.1f ms, last page %7.1f ms (%d pages)\n", what,
                timing.firstPage, timing.lastPage, timing.pages);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    WorkDir = folder.path();
    QDir(WorkDir).mkpath(QStringLiteral("data"));
    QDir(WorkDir).mkpath(QStringLiteral("Latein"));
    CurrentDatabaseBase = folder.filePath(QStringLiteral("Latein/Gross"));
    CurrentTablePath = CurrentDatabaseBase + QStringLiteral(".ol");
    CurrentDatabaseName = QStringLiteral("Gross");
    CurrentLanguage = QStringLiteral("Latein");
    bench::generateDatabase(CurrentTablePath, Words);
    putAllWordsIntoOneLesson(CurrentTablePath);
    baumlist.setLines({QStringLiteral("001A1Alle Wörter")});
    CurrentLessonCode = QStringLiteral("001A1");

    engine::Query query;
    ReopenLessonQuery(query);
    Tdruck window;
    window.Query = &query;
    window.show();
    window.FormShow(); // the opening build, at the settings of a first start
    window.cbus->setChecked(true);
    window.line->setChecked(true);

    std::printf("print preview of one lesson of %d words:\n", Words);
    window.rb0->click(); // one column at 14 points
    printTiming("word list, 1 column:", timeBuild(window));
    std::printf("%-34s %7.1f ms to the first page\n",
                "  the same in Qt's print preview:", timeQtPreview(window.document()));
    window.rb2->click(); // three columns at 10 points
    printTiming("word list, 3 columns:", timeBuild(window));
    window.cbkartei->setChecked(true);
    window.cbkfremdwort->setCurrentIndex(10); // "16"
    window.cbkueber->setCurrentIndex(6);      // "12"
    printTiming("index cards, folded:", timeBuild(window));
    std::printf("target: first page < 1000 ms\n");
    window.done(0);
    return 0;
}
