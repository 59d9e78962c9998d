// What the main window shows of a long foreign word in a large font, and the
// texts of its statistics page.
#include "database/databaseoptions.h"
#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "mainwindow/mainwindow.h"
#include "platform/messagebox.h"
#include "platform/paths.h"
#include "support/mainwindowstart.h"

#include <QAbstractTextDocumentLayout>
#include <QBarCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QGraphicsTextItem>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

namespace {

const QString LongWord =
    QStringLiteral("Donaudampfschifffahrtsgesellschaftskapitaensmuetzenabzeichen");

QStringList shownTexts(QChartView* view) {
    QStringList texts;
    for (QGraphicsItem* item : view->scene()->items())
        if (auto* text = dynamic_cast<QGraphicsTextItem*>(item); text && text->isVisible())
            texts << text->toPlainText();
    return texts;
}

} // namespace

class TestMainWindowLook : public QObject {
    Q_OBJECT
    QTemporaryDir program;
    std::unique_ptr<TForm1> window;

  private slots:
    void initTestCase() {
        platform::setMessageBoxHandler(
            [](const platform::MessageBoxRequest&) { return platform::Answer::Ok; });
        platform::ensureFolder(program.filePath("data"));
        platform::ensureFolder(program.filePath("Latein"));
        const QString table = program.filePath("Latein/Caesar.ol");
        engine::Query q;
        CreateVocabularyTable(q, table);
        q.setSql({"SELECT * FROM " + engine::quoteLiteral(table)});
        q.open();
        q.append();
        WriteNewRecordValues(q, "001A1");
        q.setValue("Fremdwort", LongWord);
        q.setValue("Uebersetzung", "Abzeichen");
        q.setValue("Anzahl_Abfragen", 157);
        q.setValue("Falsche_Antworten", 42);
        q.post();
        q.close();
        TDatabaseOptionsRec options = TDatabaseOptionsRec::forNewDatabase("Latein");
        options.WordFontSize = 24;
        options.TranslationFontSize = 20;
        options.save(program.filePath("Latein/Caesar.opt"));
        LessonList({"001A1Verben"}).save(program.filePath("Latein/Caesar.lst"));
        window = StartMainWindow(program.path());
        window->OpenVocabularyDatabase(table);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanupTestCase() {
        window.reset();
        Form1 = nullptr;
        platform::setMessageBoxHandler({});
    }

    // No horizontal scroll bar over the lower half of the word: it breaks
    // between letters and the memo shows two lines of its font.
    void aLongForeignWordWrapsInTwoLines() {
        // With ORVILEX_SHOTS set to a folder the window is saved there to be looked at.
        if (const QString shots = qEnvironmentVariable("ORVILEX_SHOTS"); !shots.isEmpty())
            QVERIFY(window->grab().save(shots + "/mainwindow-largefonts.png"));
        QPlainTextEdit* memo = window->DBFremdwort;
        QCOMPARE(memo->toPlainText(), LongWord);
        QVERIFY(!memo->horizontalScrollBar()->isVisible());
        QVERIFY(memo->document()->firstBlock().layout()->lineCount() >= 2);
        QVERIFY2(memo->viewport()->height() >= 2 * memo->fontMetrics().lineSpacing(),
                 qPrintable(QString::number(memo->viewport()->height())));
    }

    // With large fonts the word page still fits the window, which keeps its size.
    void theWordPageFitsTheWindow() {
        QCOMPARE(window->size(), QSize(900, 640));
        for (QWidget* field :
             {static_cast<QWidget*>(window->DBExtra), static_cast<QWidget*>(window->DBPerfekt)}) {
            const QPoint bottom = field->mapTo(window.get(), QPoint(0, field->height()));
            QVERIFY2(bottom.y() <= window->height(), qPrintable(field->objectName()));
            QVERIFY(field->height() > 0);
        }
    }

    void theStatisticsBarIsNamedWhole() {
        window->Tab1->setCurrentIndex(1);
        QTest::qWait(20);
        const auto axes = window->allchart->chart()->axes(Qt::Horizontal);
        QCOMPARE(axes.size(), 1);
        auto* categories = qobject_cast<QBarCategoryAxis*>(axes.first());
        QVERIFY(categories);
        QCOMPARE(categories->categories(), QStringList({"Anzahl der Abfragen"}));
        const QStringList texts = shownTexts(window->allchart);
        QVERIFY2(texts.contains("Anzahl der Abfragen"), qPrintable(texts.join('|')));
        QVERIFY2(texts.contains("157"), qPrintable(texts.join('|')));
        // The read-only copy shows the start of the word.
        QCOMPARE(window->DBcFremdwort->cursorPosition(), 0);
        window->Tab1->setCurrentIndex(0);
    }
};

QTEST_MAIN(TestMainWindowLook)
#include "tst_mainwindowlook.moc"
