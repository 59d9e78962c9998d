#pragma once
// Greek typing aid for the "Greek" font, in which Latin keys stand for Greek
// letters and further codes hold the precomposed accented letters. When the
// user types a character it looks at that character and the one or two before
// it and replaces accent, breathing and iota signs typed before a letter by
// the one precomposed code. Deletions, pastes and text put in by the program
// are left alone: run on them, the aid would build a letter again from one it
// built earlier. It works on stored text (one character per byte), never on
// what a field shows, and never shortens a text.
#include <QString>

// Re-entrancy guard of the callers: writing the result back raises the change
// event again.
extern bool GreekInputBusy;

struct GreekTypingResult {
    QString text;
    int caret = 0;
    int caretShift = 0; // characters removed before the caret (<= 0)
};

// The composition of the letter left of the caret with the signs typed before
// it (accented keys, accents before h and w, breathings, iota), without the
// rule for capitals; the quiz's answer fields use it alone. Any text and caret
// (0 .. length); the whole text is kept.
GreekTypingResult composeGreekAtCaret(const QString& text, int caret);

// The composition at the caret, for any text and caret (0 .. length): the
// character left of the caret counts as the one just typed. A capital letter
// typed at the end of the text takes the signs before it as its prefix. The
// whole text is kept, however long it is; the caret stays within the result.
GreekTypingResult applyGreekTyping(const QString& text, int caret);

// The aid on one edit of a field: `before` is the field's text before the
// edit, `after` and `caret` what the editor made of it. Only an edit that
// typed one character is composed; any other comes back unchanged.
GreekTypingResult sonderzeichen(const QString& before, const QString& after, int caret);

// Whether the aid is switched on for a field in the font `fontName`: the
// accent option of the general settings is ticked and the font is exactly
// "Greek". Without a name: the open database's foreign-word font.
bool GreekTypingActive(const QString& fontName);
bool GreekTypingActive();
