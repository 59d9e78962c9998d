#pragma once
// Hebrew entry aid: ordinary left-to-right fields behave right to left. After
// each typed character the caret moves back to its left, so the next one lands
// to its left; punctuation and the keys that stand for vowel signs and final
// forms in the Hebrew font move one place to the right, past their neighbour.
// Only typed characters are handled: after a deletion, a paste or a text put in
// by the program the field keeps exactly what it holds, caret included, so a
// deletion never brings back a deleted character nor loses one. Works on
// stored text.
#include <QString>

// The field's text as last seen by the aid: set when a word field is entered,
// when a record is loaded into the fields and after every pass.
extern QString HebrewEnterText;
// The caret moved by the last pass of HebrewReorderKey(text, caret).
extern int HebrewCaretPos;
// Re-entrancy guard of the callers.
extern bool HebrewInputBusy;

// Whether a character belongs to the 26 characters that move right.
bool IsHebrewMovingChar(QChar c);

struct HebrewEntryResult {
    QString text;
    int caret = 0;
};

// The aid on one edit of a field: `before` is the field's text before the
// edit, `after` and `caret` what the editor made of it. When the edit typed
// one character, the caret goes to its left and a moving character changes
// places with its right neighbour; any other edit comes back unchanged.
HebrewEntryResult HebrewReorderKey(const QString& before, const QString& after, int caret);

// The same with HebrewEnterText as the text before the edit; sets
// HebrewCaretPos and HebrewEnterText to the result and returns its text.
QString HebrewReorderKey(const QString& text, int caret);
