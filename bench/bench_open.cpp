// Times what a user waits for in the main window on a database of 100,000
// words in 200 lessons: opening it with its first lesson shown, switching to
// another lesson, and an opening that gathers 5,000 words of 5,000 different
// values that are no lesson code (as another tool may leave them).
#include "generator.h"

#include "database/lessons.h"
#include "database/lessontree.h"
#include "engine/query.h"
#include "mainwindow/mainwindow.h"
#include "platform/messagebox.h"
#include "platform/paths.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>
#include <sqlite3.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::setMessageBoxHandler([](const platform::MessageBoxRequest& r) {
        std::fprintf(stderr, "box: %s\n", qPrintable(r.text));
        return platform::Answer::Ok;
    });
    QTemporaryDir program;
    platform::ensureFolder(program.filePath("data"));
    platform::ensureFolder(program.filePath("Latein"));
    const QString table = program.filePath("Latein/Gross.ol");
    bench::generateDatabase(table);
    QStringList lines;
    for (int lesson = 0; lesson < 200; ++lesson)
        lines << bench::lessonCodeOf(lesson) + QStringLiteral("Lektion %1").arg(lesson);
    LessonList(lines).save(program.filePath("Latein/Gross.lst"));
    engine::releaseTable(table);

    TForm1 window;
    Form1 = &window;
    window.FormCreate({}, program.path());
    window.show();
    app.processEvents();

    QElapsedTimer timer;
    timer.start();
    window.OpenVocabularyDatabase(table);
    app.processEvents();
    std::printf("open database, first lesson shown: %7.1f ms (%d words, %d lessons)\n",
                timer.nsecsElapsed() / 1e6, window.Query->recordCount(),
                window.lekbaum->topLevelItemCount());

    SelectLessonNode(window.lekbaum, bench::lessonCodeOf(151));
    timer.restart();
    window.lekbaumClick();
    app.processEvents();
    std::printf("switch lesson:                     %7.1f ms (%d words)\n",
                timer.nsecsElapsed() / 1e6, window.Query->recordCount());

    engine::releaseTable(table);
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(table).constData(), &db);
    sqlite3_exec(db, "UPDATE VokabelTable SET Lektion = 'S' || ID WHERE ID % 20 = 0", nullptr,
                 nullptr, nullptr);
    const int strays = sqlite3_changes(db);
    sqlite3_close(db);
    timer.restart();
    window.OpenVocabularyDatabase(table);
    app.processEvents();
    std::printf("open, gathering stray values:      %7.1f ms (%d different values)\n",
                timer.nsecsElapsed() / 1e6, strays);
    return 0;
}
