#pragma once
// Greek typing aid for the "Greek" font, in which Latin keys stand for Greek
// letters and further codes hold the precomposed accented letters. After each
// change of a word field it looks at the character just typed and the one or
// two before it and replaces accent, breathing and iota signs typed before a
// letter by the one precomposed code. It works on stored text (one character
// per byte), never on what a field shows.
#include <QString>

// The text and caret handed to sonderzeichen() and returned by it.
extern QString GreekInputText;
extern int GreekCaretPos;
// Characters removed by the last run, as a negative count.
extern int GreekCaretShift;
// Re-entrancy guard of the callers: writing the result back raises the change
// event again.
extern bool GreekInputBusy;

struct GreekTypingResult {
    QString text;
    int caret = 0;
    int caretShift = 0; // characters removed before the caret (<= 0)
};

// The transformation itself, for any text and caret (0 .. length). The whole
// text is kept, however long it is; the caret is always within the result.
GreekTypingResult applyGreekTyping(const QString& text, int caret);

// Whether the aid is switched on: the accent option of the general settings is
// ticked and the open database's foreign-word font is exactly "Greek".
bool GreekTypingActive();

// Runs the aid on GreekInputText / GreekCaretPos when GreekTypingActive(),
// setting GreekCaretShift.
void sonderzeichen();
