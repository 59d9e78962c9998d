// The main window's word fields as a user types into them: fast typing into the
// foreign word, and the Hebrew entry aid across a change of record.
#include "database/currentdatabase.h"
#include "database/databaseoptions.h"
#include "database/generaloptions.h"
#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "mainwindow/columnfonts.h"
#include "mainwindow/hebrewentry.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/specialcharwindow.h"
#include "platform/messagebox.h"
#include "platform/paths.h"
#include "printing/printwindow.h"
#include "search/searchwindow.h"
#include "support/mainwindowstart.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

// A database of `language` in its folder, with the words of lesson 001A1; its
// foreign words in `charsetPosition` (0: the language's default).
QString makeDatabase(const QString& root, const QString& language, const QStringList& words,
                     int charsetPosition = 0) {
    platform::ensureFolder(root + "/" + language);
    const QString table = root + "/" + language + "/Woerter.ol";
    {
        engine::Query q;
        CreateVocabularyTable(q, table);
        q.setSql({"SELECT * FROM " + engine::quoteLiteral(table), "WHERE ID = 0"});
        q.open();
        for (const QString& word : words)
            q.insertRecord({QVariant(), "001A1", word, "x", "", "", "", "", "",    "",
                            "",         "",      14,   "",  3,  0,  0,  0,  false, false});
    }
    LessonList({"001A1"}).save(root + "/" + language + "/Woerter.lst");
    TDatabaseOptionsRec options = TDatabaseOptionsRec::forNewDatabase(language);
    if (charsetPosition > 0) {
        options.CharsetPosition = charsetPosition;
        options.WordFont = options.TableWordFont = "DejaVu Sans";
    }
    options.save(root + "/" + language + "/Woerter.opt");
    engine::releaseTable(table);
    return table;
}

QString storedWord(const QString& table, qint64 id) {
    engine::Query q;
    q.setSql({"SELECT * FROM " + engine::quoteLiteral(table), "WHERE ID = " + QString::number(id)});
    q.open();
    return q.asString("Fremdwort");
}

} // namespace

class TestWordFields : public QObject {
    Q_OBJECT
    QTemporaryDir program;
    std::unique_ptr<TForm1> window;

    void openProgram(const QString& table) {
        window = StartMainWindow(program.path());
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->OpenVocabularyDatabase(table);
        QCOMPARE(CurrentTablePath, table);
    }

  private slots:
    void initTestCase() {
        platform::ensureFolder(program.filePath("data"));
        platform::setMessageBoxHandler(
            [](const platform::MessageBoxRequest&) { return platform::Answer::Ok; });
    }
    void cleanup() {
        window.reset();
        Form1 = nullptr;
    }
    void cleanupTestCase() { platform::setMessageBoxHandler({}); }

    // Keys that arrive faster than the program handles them, all queued at
    // once, are stored in the order they were typed: in a Latin database, and
    // in a Hebrew one in the Hebrew character set, whose field lays out the
    // right-to-left text itself.
    void burstOfKeysIntoForeignWord_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("charsetPosition");
        QTest::newRow("Latein") << "Latein" << 0;
        QTest::newRow("Hebrew character set") << QString::fromUtf8("Hebräisch") << 13;
    }
    void burstOfKeysIntoForeignWord() {
        QFETCH(QString, language);
        QFETCH(int, charsetPosition);
        const QString table = makeDatabase(program.path() + "/" + QTest::currentDataTag(), language,
                                           {"", "zweites"}, charsetPosition);
        openProgram(table);
        QPlainTextEdit* field = window->DBFremdwort;
        field->setFocus();
        const qint64 id = window->Query->currentId();
        const QString keys = "abcdefghij";
        for (QChar c : keys) {
            const int key = Qt::Key_A + (c.unicode() - 'a');
            QCoreApplication::postEvent(
                field, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, QString(c)));
            QCoreApplication::postEvent(
                field, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, QString(c)));
        }
        QTRY_COMPARE(field->toPlainText(), keys);
        // Then a few more, two milliseconds apart.
        QTest::keyClicks(field, "klm", Qt::NoModifier, 2);
        QCOMPARE(field->toPlainText(), keys + "klm");
        window->SpeedSaveClick();
        QCOMPARE(storedWord(table, id), keys + "klm");
    }

    // Every memo of the word page takes keys up to its field's width: the
    // keys that fit are kept in order, the ones after them are not taken and
    // leave nothing to undo, so undo takes back what was typed.
    void memoKeysStopAtTheFieldWidth_data() {
        QTest::addColumn<int>("memo");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("width");
        QTest::newRow("Fremdwort") << 0 << "Fremdwort" << 100;
        QTest::newRow("Übersetzung") << 1 << "Uebersetzung" << 150;
        QTest::newRow("Bemerkungen") << 2 << "Extra" << 100;
    }
    void memoKeysStopAtTheFieldWidth() {
        QFETCH(int, memo);
        QFETCH(QString, field);
        QFETCH(int, width);
        const QString table = makeDatabase(program.path() + "/width/" + field, "Latein", {"domus"});
        openProgram(table);
        QPlainTextEdit* edit =
            std::array{window->DBFremdwort, window->DBuebersetzung, window->DBExtra}[memo];
        const QString original = edit->toPlainText();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QString(width - 2, 'a') + "12345");
        const QString kept = QString(width - 2, 'a') + "12";
        QCOMPARE(edit->toPlainText(), kept);
        QCOMPARE(edit->textCursor().position(), width);
        // "Rückgängig" of the memo's menu (Ctrl+Z belongs to the main menu).
        QTest::failOnWarning(QRegularExpression("QTextCursor"));
        for (int undo = 0; undo < 3 && edit->toPlainText() != original; ++undo)
            edit->undo();
        QCOMPARE(edit->toPlainText(), original);
        edit->redo();
        edit->redo();
        QCOMPARE(edit->toPlainText(), kept);
        window->SpeedSaveClick();
        engine::Query q;
        q.setSql({"SELECT * FROM " + engine::quoteLiteral(table)});
        q.open();
        QCOMPARE(q.asString(field), kept);
    }

    // Tab walks the word page from the foreign word to the translation and on
    // through the fields; speed and tool-bar buttons take no focus in any
    // window, so a translation typed after Tab lands in its field.
    void tabOrderOfTheWordPage() {
        const QString table = makeDatabase(program.path() + "/tab", "Latein", {""});
        openProgram(table);
        window->DBFremdwort->setFocus();
        QTest::keyClicks(window->DBFremdwort, "domus");
        QList<QWidget*> order;
        order << window->DBuebersetzung << window->DBGenetiv << window->DBGenus << window->wortart
              << window->Schwcom << window->DBPraeFut << window->DBPerAor << window->DBPerfekt
              << window->DBFuturPassiv << window->DBAoristPassiv << window->DBPerfektPassiv
              << window->DBExtra << window->Button1;
        for (QWidget* next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
            if (next == window->DBuebersetzung) {
                window->DBuebersetzung->selectAll();
                QTest::keyClicks(next, "Haus");
            }
        }
        window->SpeedSaveClick();
        engine::Query q;
        q.setSql({"SELECT * FROM " + engine::quoteLiteral(table)});
        q.open();
        QCOMPARE(q.asString("Fremdwort"), QStringLiteral("domus"));
        QCOMPARE(q.asString("Uebersetzung"), QStringLiteral("Haus"));

        Teinf characters;
        Tsuchen search;
        Tdruck print;
        for (QWidget* w :
             std::initializer_list<QWidget*>{window.get(), &characters, &search, &print})
            for (QToolButton* button : w->findChildren<QToolButton*>())
                if (!qobject_cast<QTabBar*>(button->parent())) // Qt's own scroll arrows
                    QVERIFY2(button->focusPolicy() == Qt::NoFocus,
                             qPrintable(button->toolTip() + button->text()));
    }

    // After a change of record the aid starts from the word now shown: a
    // deletion takes nothing back from the word shown before.
    void hebrewDeletionAfterNavigation() {
        const QString table =
            makeDatabase(program.path(), QString::fromUtf8("Hebräisch"), {"ab.d", "x.yz"});
        openProgram(table);
        QPlainTextEdit* field = window->DBFremdwort;
        field->setFocus();
        QCOMPARE(field->toPlainText(), QString("ab.d"));
        QCOMPARE(HebrewEnterText, QString("ab.d"));
        window->SpeednextClick();
        QCOMPARE(field->toPlainText(), QString("x.yz"));
        QCOMPARE(HebrewEnterText, QString("x.yz"));
        QTextCursor cursor = field->textCursor();
        cursor.setPosition(1);
        field->setTextCursor(cursor);
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(field->toPlainText(), QString(".yz"));
        QCOMPARE(field->textCursor().position(), 0);

        // Typing still runs right to left, in a line edit as in the memo.
        QTest::keyClicks(field, "q");
        QCOMPARE(field->toPlainText(), QString("q.yz"));
        QCOMPARE(field->textCursor().position(), 0);
        window->DBGenetiv->setFocus();
        QTest::keyClicks(window->DBGenetiv, "ab");
        QCOMPARE(window->DBGenetiv->text(), QString("ba"));
        // A new record: the aid's text is the empty new word.
        window->SpeedCreateClick();
        QCOMPARE(HebrewEnterText, QString());
    }

    // A Greek database whose font "Greek" is not installed says so once,
    // naming the font, however often it is opened.
    void missingFontNamedOnce() {
        const QString table = makeDatabase(program.path() + "/font", "Griechisch", {"logos"});
        QList<platform::MessageBoxRequest> boxes;
        platform::setMessageBoxHandler([&](const platform::MessageBoxRequest& r) {
            boxes << r;
            return platform::Answer::Ok;
        });
        openProgram(table);
        window->OpenVocabularyDatabase(table);
        platform::setMessageBoxHandler(
            [](const platform::MessageBoxRequest&) { return platform::Answer::Ok; });
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes.at(0).text.contains("\"Greek\""));
    }

    // The table page draws each column in its own font, rows as high as the
    // larger one and the foreign-word column wide enough for its title.
    void tablePageFollowsFonts() {
        const QString table = makeDatabase(program.path() + "/table", "Latein", {"domus"});
        TDatabaseOptionsRec options;
        QVERIFY(options.load(program.path() + "/table/Latein/Woerter.opt"));
        options.TableWordFont = "DejaVu Sans";
        options.TableWordFontSize = 26;
        options.TableTranslationFont = "DejaVu Serif";
        options.TableTranslationFontSize = 9;
        QVERIFY(options.save(program.path() + "/table/Latein/Woerter.opt"));
        openProgram(table);
        window->Tab1->setCurrentIndex(2);
        auto* fonts = dynamic_cast<ColumnFontDelegate*>(window->DBGitter->itemDelegate());
        QVERIFY(fonts);
        QCOMPARE(fonts->fonts.value(0).family(), QString("DejaVu Sans"));
        QCOMPARE(fonts->fonts.value(1).family(), QString("DejaVu Serif"));
        QCOMPARE(fonts->fonts.value(1).pointSize(), 9);
        const QFontMetrics big(fonts->fonts.value(0));
        QVERIFY(window->DBGitter->verticalHeader()->defaultSectionSize() > big.height());
        QVERIFY(window->DBGitter->columnWidth(0) >=
                window->DBGitter->horizontalHeader()->sectionSizeHint(0));
        QVERIFY(window->DBGitter->columnWidth(0) >= big.horizontalAdvance("domus"));
        QVERIFY(window->DBGitter->horizontalHeader()->font().pointSize() < 26);
    }
};

QTEST_MAIN(TestWordFields)
#include "tst_wordfields.moc"
