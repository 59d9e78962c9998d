#pragma once
// Hebrew entry aid: ordinary left-to-right fields behave right to left. After
// each typed character the caret moves back to its left, so the next one lands
// to its left; punctuation and the keys that stand for vowel signs and final
// forms in the Hebrew font move one place to the right, past their neighbour;
// a deletion that would leave such a character where another stood takes back
// the earlier character. Works on stored text.
#include <QString>

// The field's text as last seen by the aid (set on entering a field and after
// every pass).
extern QString HebrewEnterText;
// The caret handed to the aid and moved by it.
extern int HebrewCaretPos;
// Re-entrancy guard of the callers.
extern bool HebrewInputBusy;

// Whether a character belongs to the 26 characters that move right.
bool IsHebrewMovingChar(QChar c);

// One pass of the aid on the field text `text` with the caret at `caret`
// (characters before it). Moves HebrewCaretPos (set it to the caret first),
// sets HebrewEnterText to the result and returns it. The caret never leaves
// 0 .. length of the result.
QString HebrewReorderKey(const QString& text, int caret);
