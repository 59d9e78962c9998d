// The typing aids in the quiz window's answer fields: the Hebrew entry aid of
// the main window and the quiz's own Greek aid.
#include "database/charsets.h"
#include "mainwindow/typingaids.h"
#include "quiz/quizgreektyping.h"
#include "quiz/quizwindow.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

GreekTypingResult Tabfrag::sonderzeichen(const QString& before, const QString& after, int caret) {
    return QuizGreekTyping(before, after, caret);
}

void Tabfrag::setUpTypingAids() {
    // The answer is typed in the script of the language expected; the aids
    // help only while that is the foreign word.
    answerAids_ = new TypingAids(this, {}, [this] { return fieldCharset(Edit5); });
    answerAids_->setAidSwitches(
        [this](QWidget*) { return uber->isChecked() && HebrewEntryAidWanted(); },
        [this](QWidget*) { return uber->isChecked() && GreekTypingActive(); });
    answerAids_->setGreekRoutine(&Tabfrag::sonderzeichen);
    answerAids_->setHotkeys(false); // the window's own filter takes Ctrl+1..9
    answerAids_->watch(Edit5);

    formAids_ = new TypingAids(this, {}, [this] { return tableWordView_.charset; });
    formAids_->setAidSwitches([](QWidget*) { return HebrewEntryAidWanted(); },
                              [](QWidget*) { return GreekTypingActive(); });
    formAids_->setGreekRoutine(&Tabfrag::sonderzeichen);
    formAids_->setHotkeys(false);
    formAids_->watch(EGenitiv);
    for (QLineEdit* field : mm)
        formAids_->watch(field);
}

bool Tabfrag::moveLeadingLineBreak() {
    if (!uber->isChecked() || !HebrewEntryAidWanted()) return false;
    const QString text = Edit5->toPlainText();
    if (!text.startsWith(QLatin1Char('\n'))) return false;
    edit5Busy_ = true;
    QTextCursor all(Edit5->document());
    all.select(QTextCursor::Document);
    all.insertText(text.mid(1) + QLatin1Char('\n'));
    // The next meaning is typed on the new line, right to left from its
    // start; left at the start of the text its letters would run into the
    // line just finished.
    QTextCursor cursor = Edit5->textCursor();
    cursor.movePosition(QTextCursor::End);
    Edit5->setTextCursor(cursor);
    edit5Busy_ = false;
    return true;
}
