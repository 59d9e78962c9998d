#pragma once
// The Greek typing aid of the quiz's answer fields and of the word editor.
// It composes the letter just typed with the accent, breathing and iota signs
// typed before it, as the main window's aid does, but only in a database of
// the language "Griechisch" and without the main window's rule for capitals
// (an answer is typed without the signs a capital carries before it). Like
// the main window's aid it acts only on a typed character and never shortens
// a text. Works on stored text.
#include "mainwindow/greektyping.h"

// The aid's own switch: the language is "Griechisch" and the general setting
// "Akzentsetzungsverfahren (Greek.ttf) bei Griechischer Schrift" is ticked.
// (The fields run it only where the foreign-word font is "Greek" as well.)
bool QuizGreekTypingActive();

// The aid on one edit of a field: `before` is the field's stored text before
// the edit, `after` and `caret` what the editor made of it.
GreekTypingResult QuizGreekTyping(const QString& before, const QString& after, int caret);
