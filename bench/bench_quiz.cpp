// Times the start of a quiz over 10,000 words (20 of 200 lessons) of a
// 100,000-word database: selecting the words, resetting their quiz state
// and showing the first word; once through the engine alone and once through
// the quiz window. Then a few answers with "&Weiter".
#include "generator.h"

#include "database/currentdatabase.h"
#include "quiz/quizengine.h"
#include "quiz/quizstart.h"
#include "quiz/quizstore.h"
#include "quiz/quizwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath("Gross.ol");
    bench::generateDatabase(path);
    engine::releaseTable(path);

    QuizSelection selection;
    for (int lesson = 40; lesson < 60; ++lesson)
        selection.lessonCodes << bench::lessonCodeOf(lesson);
    selection.options.setDirection(3);
    QuizOptions.loadDefaults();
    QuizOptions.rborder = false;
    QuizOptions.rbrandom = true;

    QElapsedTimer timer;
    timer.start();
    {
        TableQuizStore store(path);
        QuizEngine quiz(store);
        if (!quiz.start(selection)) return 1;
        std::printf("start quiz (engine):           %8.1f ms (%d words)\n", bench::ms(timer),
                    quiz.QuizTotal);
        for (int k = 0; k < 100; ++k) {
            quiz.submit(k % 2 ? quiz.expectedAnswerText() : QStringLiteral("falsch"));
            quiz.next();
        }
        std::printf("100 answers with Weiter:       %8.1f ms\n", bench::ms(timer));
    }
    engine::releaseTable(path);

    CurrentTablePath = path;
    CurrentDatabaseName = QStringLiteral("Gross");
    SelectionOptions = selection.options;
    abfrag = new Tabfrag;
    timer.restart();
    if (!startQuiz(selection.lessonCodes)) return 1;
    std::printf("start quiz (window):           %8.1f ms (%d words)\n", bench::ms(timer),
                abfrag->engine()->QuizTotal);
    abfrag->Edit5->insertPlainText(QStringLiteral("x\n"));
    std::printf("first answer judged:           %8.1f ms\n", bench::ms(timer));
    delete abfrag;
    return 0;
}
