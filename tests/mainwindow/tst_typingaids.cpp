#include "database/databaseoptions.h"
#include "database/generaloptions.h"
#include "mainwindow/greektyping.h"
#include "mainwindow/hebrewentry.h"
#include "mainwindow/specialchars.h"
#include "mainwindow/typingaids.h"
#include "platform/codec.h"

#include <QLineEdit>
#include <QTest>

namespace {
QString b(std::initializer_list<int> bytes) {
    QString s;
    for (int v : bytes) s += platform::codec::storedChar(uchar(v));
    return s;
}
} // namespace

class TstTypingAids : public QObject {
    Q_OBJECT
  private slots:
    void greekRules_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("expectedCaret");
        QTest::newRow("rough a") << QString("<a") << 2 << b({161}) << 1;
        QTest::newRow("rough r") << QString("<r") << 2 << b({183}) << 1;
        QTest::newRow("smooth r only drops sign") << QString(">r") << 2 << QString("r") << 1;
        QTest::newRow("smooth accented") << b({'>', 163}) << 2 << b({165}) << 1;
        QTest::newRow("rough accented") << b({'x', '<', 133}) << 3 << b({'x', 134}) << 2;
        QTest::newRow("iota a") << QString("+a") << 2 << QString("v") << 1;
        QTest::newRow("iota h") << QString("+h") << 2 << QString("V") << 1;
        QTest::newRow("iota w") << QString("+w") << 2 << QString("J") << 1;
        QTest::newRow("iota group 1") << b({'+', 161}) << 2 << b({172}) << 1;
        QTest::newRow("iota group 2") << b({'+', 185}) << 2 << b({197}) << 1;
        QTest::newRow("iota other") << QString("+e") << 2 << QString("+e") << 2;
        QTest::newRow("keyboard acute") << b({'l', 0xE1}) << 2 << b({'l', 163}) << 2;
        QTest::newRow("keyboard u circumflex") << b({0xFB}) << 1 << b({224}) << 1;
        QTest::newRow("circumflex w") << QString("^w") << 2 << b({238}) << 1;
        QTest::newRow("acute h") << b({180, 'h'}) << 2 << b({187}) << 1;
        QTest::newRow("grave h") << QString("`h") << 2 << b({190}) << 1;
        QTest::newRow("rough then circumflex w") << QString("<^w") << 3 << b({239}) << 1;
        QTest::newRow("blank after sign") << QString("< ") << 2 << QString("< ") << 2;
        QTest::newRow("caret at start") << QString("<a") << 0 << QString("<a") << 0;
        QTest::newRow("caret past end") << QString("<a") << 9 << b({161}) << 1;
        QTest::newRow("mid word") << QString("l<ax") << 3 << b({'l', 161, 'x'}) << 2;
        QTest::newRow("capital pair") << b({180, '<', 'A'}) << 3 << b({147, 'A'}) << 2;
        QTest::newRow("capital circumflex smooth") << QString("^>E") << 3 << b({146, 'E'}) << 2;
        QTest::newRow("capital two rough") << QString("<A") << 2 << QString("`A") << 2;
        QTest::newRow("capital two smooth") << QString(">O") << 2 << QString("'O") << 2;
        QTest::newRow("capital no pair") << QString("x<A") << 3 << QString("x`A") << 3;
        QTest::newRow("capital alone") << QString("A") << 1 << QString("A") << 1;
        QTest::newRow("empty") << QString() << 0 << QString() << 0;
    }
    void greekRules() {
        QFETCH(QString, typed);
        QFETCH(int, caret);
        QFETCH(QString, expected);
        QFETCH(int, expectedCaret);
        const GreekTypingResult r = applyGreekTyping(typed, caret);
        QCOMPARE(r.text, expected);
        QCOMPARE(r.caret, expectedCaret);
    }

    void greekLongTextKeptWhole() {
        const QString text = QString(140, QLatin1Char('x')) + "<a";
        const GreekTypingResult r = applyGreekTyping(text, text.size());
        QCOMPARE(r.text, QString(140, QLatin1Char('x')) + b({161}));
    }

    void greekOnlyWhenSwitchedOn() {
        GeneralOptions.AkzAkt = true;
        DatabaseOptions.WordFont = "Arial";
        GreekInputText = "<a";
        GreekCaretPos = 2;
        sonderzeichen();
        QCOMPARE(GreekInputText, QString("<a"));
        DatabaseOptions.WordFont = "Greek";
        GeneralOptions.AkzAkt = false;
        sonderzeichen();
        QCOMPARE(GreekInputText, QString("<a"));
        GeneralOptions.AkzAkt = true;
        sonderzeichen();
        QCOMPARE(GreekInputText, b({161}));
        QCOMPARE(GreekCaretPos, 1);
        QCOMPARE(GreekCaretShift, -1);
    }

    void hebrewTyping() {
        // Typing a, then b into an empty field: ba with the caret at the start.
        HebrewEnterText.clear();
        QString r = HebrewReorderKey("a", 1);
        QCOMPARE(r, QString("a"));
        QCOMPARE(HebrewCaretPos, 0);
        r = HebrewReorderKey("ba", 1);
        QCOMPARE(r, QString("ba"));
        QCOMPARE(HebrewCaretPos, 0);
        // A full stop typed at the start of ab moves past its neighbour.
        HebrewEnterText = "ab";
        r = HebrewReorderKey(".ab", 1);
        QCOMPARE(r, QString("a.b"));
        QCOMPARE(HebrewCaretPos, 0);
        // A moving character at the end has no neighbour to pass.
        HebrewEnterText = "ab";
        QCOMPARE(HebrewReorderKey("ab.", 3), QString("ab."));
    }

    void hebrewDeletion() {
        HebrewEnterText = "abc";
        QCOMPARE(HebrewReorderKey("ac", 1), QString("ac"));
        QCOMPARE(HebrewCaretPos, 1);
        // A moving character sliding into a deleted place is taken back.
        HebrewEnterText = "ab.c";
        QCOMPARE(HebrewReorderKey("a.c", 1), QString("abc"));
        // Deleting at the start never sends the caret below 0.
        HebrewEnterText = "abc";
        QCOMPARE(HebrewReorderKey("bc", 0), QString("bc"));
        QCOMPARE(HebrewCaretPos, 0);
        HebrewEnterText = "x";
        QCOMPARE(HebrewReorderKey("", 0), QString());
        QCOMPARE(HebrewCaretPos, 0);
    }

    void hotkeys() {
        QCOMPARE(HotkeyCharIndex(Qt::Key_7, Qt::ControlModifier), 6);
        QCOMPARE(HotkeyCharIndex(Qt::Key_0, Qt::ControlModifier), -1);
        QCOMPARE(HotkeyCharIndex(Qt::Key_1, Qt::ControlModifier | Qt::ShiftModifier), -1);
        QCOMPARE(HotkeyCharIndex(Qt::Key_1, Qt::NoModifier), -1);
    }

    void ctrlDigitInsertsIntoField() {
        GeneralOptions.AkzAkt = false;
        DatabaseOptions.WordFont = "Arial";
        QLineEdit field;
        TypingAids aids(nullptr, [] { return true; }, [] { return 1; });
        aids.watch(&field);
        bool shown = false;
        SpecialCharHandlers.windowShown = [&] { return shown; };
        SpecialCharHandlers.userCell = [](int c, int r) {
            return r == 1 && c == 0 ? QString(QChar(0xDF)) : r == 0 && c == 0 ? QString("a") : QString();
        };
        SpecialCharHandlers.deliver = [&] {
            InsertStoredText(&field, CharToInsert, 1);
            CharInsertPending = false;
        };
        field.setText("xy");
        field.setCursorPosition(1);
        QTest::keyClick(&field, Qt::Key_7, Qt::ControlModifier); // hidden: nothing
        QCOMPARE(field.text(), QString("xy"));
        shown = true;
        QTest::keyClick(&field, Qt::Key_7, Qt::ControlModifier); // first cell of row 2
        QCOMPARE(field.text(), QString("x") + QChar(0xDF) + "y");
        QTest::keyClick(&field, Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(field.text(), QString("x") + QChar(0xDF) + "ay");
        QTest::keyClick(&field, Qt::Key_2, Qt::ControlModifier); // empty cell
        QCOMPARE(field.text(), QString("x") + QChar(0xDF) + "ay");
        SpecialCharHandlers = {};
    }

    void greekTypedIntoField() {
        GeneralOptions.AkzAkt = true;
        DatabaseOptions.WordFont = "Greek";
        QLineEdit field;
        TypingAids aids(nullptr, [] { return true; }, [] { return 1; });
        aids.watch(&field);
        field.setFocus();
        QTest::keyClicks(&field, "l<a");
        QCOMPARE(platform::codec::fromDisplay(field.text(), 1), b({'l', 161}));
        QCOMPARE(field.cursorPosition(), 2);
        // Text put in by the program is left alone.
        field.setText("<a");
        QCOMPARE(field.text(), QString("<a"));
    }
};

QTEST_MAIN(TstTypingAids)
#include "tst_typingaids.moc"
