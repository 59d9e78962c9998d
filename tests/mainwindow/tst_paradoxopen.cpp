// A table of the older program opened in the main window: converted once with
// one message, then opened like any other; one that cannot be converted is
// refused and stays as it was.
#include "database/currentdatabase.h"
#include "database/databaseoptions.h"
#include "database/lessons.h"
#include "database/opendialog.h"
#include "engine/query.h"
#include "mainwindow/mainwindow.h"
#include "platform/messagebox.h"
#include "platform/paths.h"
#include "support/mainwindowstart.h"
#include "support/paradoxwriter.h"
#include "support/testfiles.h"

#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

class TestParadoxOpen : public QObject {
    Q_OBJECT
    QTemporaryDir program;
    QList<platform::MessageBoxRequest> boxes;

    std::unique_ptr<TForm1> startProgram() {
        return StartMainWindow(program.path());
    }

  private slots:
    void initTestCase() {
        platform::ensureFolder(program.filePath("data"));
        platform::ensureFolder(program.filePath("Latein"));
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
            boxes << r;
            return platform::Answer::Ok;
        });
        dateiladen = new Tdateiladen;
    }
    void cleanupTestCase() {
        platform::setMessageBoxHandler({});
        delete dateiladen;
    }
    void init() { boxes.clear(); }

    void anOldTableIsConvertedOnceAndOpened() {
        const QString table = program.filePath("Latein/Caesar.ol");
        paradox::Row first = paradox::word(4, "002A1", "r\xe9x", "K\xf6nig");
        first[12] = 2;
        QVERIFY(
            paradox::writeTable(table, paradox::vocabularyFields(),
                                {paradox::word(2, "001A1", "amare", "lieben\r\nm\xf6gen"), first},
                                program.filePath("Latein/Caesar.px")));
        LessonList({"001A1Verben", "002A1Nomen"}).save(program.filePath("Latein/Caesar.lst"));
        TDatabaseOptionsRec::forNewDatabase("Latein").save(program.filePath("Latein/Caesar.opt"));

        auto window = startProgram();
        window->OpenVocabularyDatabase(table);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].caption, QStringLiteral("Information"));
        QVERIFY(boxes[0].text.startsWith("Die Tabelle \"Caesar.ol\" lag im Format des früheren "
                                         "Programms (Paradox) vor"));
        QCOMPARE(CurrentTablePath, table);
        QCOMPARE(window->Query->recordCount(), 1);
        QCOMPARE(window->DBFremdwort->toPlainText(), QStringLiteral("amare"));
        QCOMPARE(window->DBuebersetzung->toPlainText(), QStringLiteral("lieben\nmögen"));
        QCOMPARE(window->lekbaum->topLevelItemCount(), 2);

        // Opened again: nothing more to convert, nothing said.
        window->OpenVocabularyDatabase(table);
        QCOMPARE(boxes.size(), 1);
        QVERIFY(QFile::exists(table + ".paradox"));
        QVERIFY(!QFile::exists(program.filePath("Latein/Caesar.px")));
        // The open dialog lists the converted table once, not the kept original.
        dateiladen->FormPaint();
        QCOMPARE(dateiladen->dbnames, QStringList(table));
    }

    void aTableThatCannotBeConvertedIsRefused() {
        const QString table = program.filePath("Latein/Fremd.ol");
        QVERIFY(paradox::writeTable(table, {{"ID", pxfAutoInc, 4}, {"Name", pxfAlpha, 20}},
                                    {{1, QByteArray("x")}}));
        const QByteArray bytes = readFile(table);
        auto window = startProgram();
        window->OpenVocabularyDatabase(table);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].caption, QStringLiteral("Fehler"));
        QVERIFY(boxes[0].text.contains("keine Vokabeltabelle"));
        QVERIFY(CurrentTablePath.isEmpty());
        QVERIFY(!window->Query->isActive());
        QCOMPARE(readFile(table), bytes);
        QVERIFY(!QFile::exists(table + ".paradox"));
    }
};

QTEST_MAIN(TestParadoxOpen)
#include "tst_paradoxopen.moc"
