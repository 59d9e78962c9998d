// Times what a user waits for in the main window on a database of 100,000
// words in 200 lessons: opening it with its first lesson shown, and
// switching to another lesson.
#include "generator.h"

#include "database/lessons.h"
#include "database/lessontree.h"
#include "engine/query.h"
#include "mainwindow/mainwindow.h"
#include "platform/messagebox.h"
#include "platform/paths.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>

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
    return 0;
}
