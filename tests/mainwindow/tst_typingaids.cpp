#include "database/databaseoptions.h"
#include "database/generaloptions.h"
#include "mainwindow/greektyping.h"
#include "mainwindow/hebrewentry.h"
#include "mainwindow/specialchars.h"
#include "mainwindow/typededit.h"
#include "mainwindow/typingaids.h"
#include "platform/codec.h"
#include "platform/memolimit.h"

#include "database/currentdatabase.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>
#include <memory>

namespace {
QString b(std::initializer_list<int> bytes) {
    QString s;
    for (int v : bytes) s += platform::codec::storedChar(uchar(v));
    return s;
}

// Key presses that carry each character as their text, as a keyboard sends them.
void typeText(QWidget* widget, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void fieldKinds() {
    QTest::addColumn<bool>("memo");
    QTest::newRow("line edit") << false;
    QTest::newRow("memo") << true;
}

// A line edit or a memo watched by the aids, shown in the stored character set.
class Field {
  public:
    explicit Field(bool memo)
        : aids_(
              nullptr, [] { return true; }, [] { return 1; }) {
        if (memo) {
            auto* edit = new QPlainTextEdit;
            // Made before the aids watch the memo, as the windows do.
            limit_ = new platform::MemoLengthLimit(edit, &platform::StoredMemoLength);
            aids_.watch(edit);
            widget_.reset(edit);
        } else {
            auto* edit = new QLineEdit;
            aids_.watch(edit);
            widget_.reset(edit);
        }
        widget_->show();
        widget_->activateWindow();
        widget_->setFocus();
    }
    QWidget* widget() const { return widget_.get(); }
    QString stored() const { return StoredFieldText(widget_.get(), 1); }
    int caret() const { return FieldCaret(widget_.get()); }
    // The width of the table field the field edits.
    void setWidth(int width) {
        if (limit_)
            limit_->setWidth(width);
        else
            static_cast<QLineEdit*>(widget_.get())->setMaxLength(width);
    }
    // A text put in by the program, and the caret where the user puts it.
    void set(const QString& text, int caret) {
        if (auto* edit = qobject_cast<QLineEdit*>(widget_.get())) {
            edit->setText(text);
            edit->setCursorPosition(caret);
        } else {
            auto* memo = static_cast<QPlainTextEdit*>(widget_.get());
            memo->setPlainText(text);
            QTextCursor cursor = memo->textCursor();
            cursor.setPosition(caret);
            memo->setTextCursor(cursor);
        }
    }

  private:
    TypingAids aids_;
    std::unique_ptr<QWidget> widget_;
    platform::MemoLengthLimit* limit_ = nullptr;
};
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
        QVERIFY(!GreekTypingActive());
        QVERIFY(GreekTypingActive("Greek"));
        QVERIFY(!GreekTypingActive("greek"));
        DatabaseOptions.WordFont = "Greek";
        QVERIFY(GreekTypingActive());
        GeneralOptions.AkzAkt = false;
        QVERIFY(!GreekTypingActive());
        QVERIFY(!GreekTypingActive("Greek"));
    }

    void typedEdits_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("caret");
        QTest::addColumn<bool>("typed");
        QTest::newRow("at end") << "ab"
                                << "abc" << 3 << true;
        QTest::newRow("at start") << "ab"
                                  << "xab" << 1 << true;
        QTest::newRow("doubled letter") << "ab"
                                        << "abb" << 2 << true;
        QTest::newRow("over selection") << "axyb"
                                        << "acb" << 2 << true;
        QTest::newRow("into empty") << ""
                                    << "a" << 1 << true;
        QTest::newRow("backspace") << "abc"
                                   << "ac" << 1 << false;
        QTest::newRow("delete at end") << "abc"
                                       << "ab" << 2 << false;
        QTest::newRow("paste") << "ab"
                               << "a<xb" << 3 << false;
        QTest::newRow("whole text set, caret at end") << "xy"
                                                      << "<a" << 2 << false;
        QTest::newRow("whole text set, caret at start") << "ab"
                                                        << "xab" << 0 << false;
        QTest::newRow("unchanged") << "ab"
                                   << "ab" << 1 << false;
    }
    void typedEdits() {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(int, caret);
        QFETCH(bool, typed);
        QCOMPARE(TypedOneCharacter(before, after, caret), typed);
    }

    // The aids' own routines on old text / new text / caret, as every caller uses them.
    void aidRoutinesOnEdits() {
        QCOMPARE(sonderzeichen("<", "<a", 2).text, b({161}));
        QCOMPARE(sonderzeichen("<a", "<a", 2).text, QString("<a")); // nothing typed
        QCOMPARE(sonderzeichen(b({232, 'x'}), b({232}), 1).text, b({232}));
        QCOMPARE(sonderzeichen("", "<a", 2).text, QString("<a")); // a paste
        const HebrewEntryResult typed = HebrewReorderKey("ab", ".ab", 1);
        QCOMPARE(typed.text, QString("a.b"));
        QCOMPARE(typed.caret, 0);
        const HebrewEntryResult deleted = HebrewReorderKey("a.bc", "a.c", 2);
        QCOMPARE(deleted.text, QString("a.c"));
        QCOMPARE(deleted.caret, 2);
    }

    void hebrewWithEnterText() {
        // Typing a, then b into an empty field: ba with the caret at the start.
        HebrewEnterText.clear();
        QCOMPARE(HebrewReorderKey("a", 1), QString("a"));
        QCOMPARE(HebrewCaretPos, 0);
        QCOMPARE(HebrewReorderKey("ba", 1), QString("ba"));
        QCOMPARE(HebrewCaretPos, 0);
        QCOMPARE(HebrewEnterText, QString("ba"));
        // A moving character at the end has no neighbour to pass.
        HebrewEnterText = "ab";
        QCOMPARE(HebrewReorderKey("ab.", 3), QString("ab."));
        // A deletion leaves text and caret as they are.
        HebrewEnterText = "ab.c";
        QCOMPARE(HebrewReorderKey("a.c", 1), QString("a.c"));
        QCOMPARE(HebrewCaretPos, 1);
        QCOMPARE(HebrewEnterText, QString("a.c"));
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

    // Each aid driven through a real line edit and a real memo.
    void greekInFields_data() { fieldKinds(); }
    void greekInFields() {
        QFETCH(bool, memo);
        GeneralOptions.AkzAkt = true;
        DatabaseOptions.WordFont = "Greek";
        CurrentLanguage = "Griechisch";
        Field f(memo);

        typeText(f.widget(), QString(QChar(180)) + "w");
        QCOMPARE(f.stored(), b({232}));
        typeText(f.widget(), "x");
        QTest::keyClick(f.widget(), Qt::Key_Backspace);
        QCOMPARE(f.stored(), b({232})); // not built again into 157
        QCOMPARE(f.caret(), 1);

        // Deletions at the end, in the middle and at the start leave the rest
        // as it stands, though it would compose.
        f.set("<ax", 3);
        QTest::keyClick(f.widget(), Qt::Key_Backspace);
        QCOMPARE(f.stored(), QString("<a"));
        f.set("<axb", 3);
        QTest::keyClick(f.widget(), Qt::Key_Backspace);
        QCOMPARE(f.stored(), QString("<ab"));
        f.set("<axb", 2);
        QTest::keyClick(f.widget(), Qt::Key_Delete);
        QCOMPARE(f.stored(), QString("<ab"));
        f.set("<ax", 2);
        QTest::keyClick(f.widget(), Qt::Key_Delete);
        QCOMPARE(f.stored(), QString("<a"));
        f.set("x<a", 1);
        QTest::keyClick(f.widget(), Qt::Key_Backspace);
        QCOMPARE(f.stored(), QString("<a"));
        f.set("x<a", 0);
        QTest::keyClick(f.widget(), Qt::Key_Delete);
        QCOMPARE(f.stored(), QString("<a"));

        // A paste of several characters and a fill by the program stay as they are.
        f.set("", 0);
        QGuiApplication::clipboard()->setText("<a");
        QTest::keyClick(f.widget(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.stored(), QString("<a"));
        f.set("l<a", 3);
        QCOMPARE(f.stored(), QString("l<a"));

        // Typing in the middle composes there; a capital at the end takes its prefix.
        f.set("lx", 1);
        typeText(f.widget(), "<a");
        QCOMPARE(f.stored(), b({'l', 161, 'x'}));
        QCOMPARE(f.caret(), 2);
        f.set("", 0);
        typeText(f.widget(), QString(QChar(180)) + "<A");
        QCOMPARE(f.stored(), b({147, 'A'}));

        // A long text is never cut.
        f.set(QString(150, QLatin1Char('o')), 150);
        typeText(f.widget(), "<a");
        QCOMPARE(f.stored(), QString(150, QLatin1Char('o')) + b({161}));

        // At the field's width the key is composed before the width applies:
        // the letter fits where the key alone would not. A key that builds
        // no letter is refused.
        f.setWidth(100);
        f.set(QString(99, QLatin1Char('o')), 99);
        typeText(f.widget(), QString(QChar(180)) + "w");
        QCOMPARE(f.stored(), QString(99, QLatin1Char('o')) + b({232}));
        QCOMPARE(f.caret(), 100);
        f.set(QString(98, QLatin1Char('o')) + "<", 0);
        typeText(f.widget(), "x");
        QCOMPARE(f.stored(), "x" + QString(98, QLatin1Char('o')) + "<");
        typeText(f.widget(), "y");
        QCOMPARE(f.stored(), "x" + QString(98, QLatin1Char('o')) + "<");
    }

    void hebrewInFields_data() { fieldKinds(); }
    void hebrewInFields() {
        QFETCH(bool, memo);
        GeneralOptions.AkzAkt = false;
        DatabaseOptions.WordFont = "Arial";
        CurrentLanguage = QString::fromUtf8("Hebräisch");
        Field f(memo);

        typeText(f.widget(), "ab");
        QCOMPARE(f.stored(), QString("ba"));
        QCOMPARE(f.caret(), 0);
        f.set("ab", 0);
        typeText(f.widget(), ".");
        QCOMPARE(f.stored(), QString("a.b"));
        QCOMPARE(f.caret(), 0);

        // Deletions keep exactly what the user left, caret included.
        f.set("a.bc", 3);
        QTest::keyClick(f.widget(), Qt::Key_Backspace);
        QCOMPARE(f.stored(), QString("a.c"));
        QCOMPARE(f.caret(), 2);
        QCOMPARE(HebrewEnterText, QString("a.c"));
        f.set("ab.c", 2);
        QTest::keyClick(f.widget(), Qt::Key_Backspace);
        QCOMPARE(f.stored(), QString("a.c"));
        QCOMPARE(f.caret(), 1);
        f.set("ab.c", 4);
        QTest::keyClick(f.widget(), Qt::Key_Backspace);
        QCOMPARE(f.stored(), QString("ab."));
        f.set("ab.c", 1);
        QTest::keyClick(f.widget(), Qt::Key_Backspace);
        QCOMPARE(f.stored(), QString("b.c"));
        QCOMPARE(f.caret(), 0);
        f.set("a.bc", 0);
        QTest::keyClick(f.widget(), Qt::Key_Delete);
        QCOMPARE(f.stored(), QString(".bc"));
        f.set("a.bc", 1);
        QTest::keyClick(f.widget(), Qt::Key_Delete);
        QCOMPARE(f.stored(), QString("abc"));
        QCOMPARE(f.caret(), 1);
        f.set("ab.", 2);
        QTest::keyClick(f.widget(), Qt::Key_Delete);
        QCOMPARE(f.stored(), QString("ab"));

        // A paste stays as pasted.
        f.set("ab", 1);
        QGuiApplication::clipboard()->setText(".x");
        QTest::keyClick(f.widget(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.stored(), QString("a.xb"));
        CurrentLanguage.clear();
    }
};

QTEST_MAIN(TstTypingAids)
#include "tst_typingaids.moc"
