#pragma once
// Starting a quiz: the one entry the selection window (and the main menu)
// calls. Implemented by the quiz window (quizwindow_start.cpp).
#include <QStringList>

// Set when the last start found no word to ask (or could not run); the quiz
// window is then not shown and the main window is visible again.
extern bool QuizNotStarted;

// Starts a new quiz over the given lessons (five-character lesson codes such
// as "001A1", in the order the selection window hands them over), filtered by
// the selection options in force (`SelectionOptions`: direction, difficulty,
// word class, "Nicht gewußte", the field filters and the band of right
// answers) and run by the quiz options in force (`QuizOptions`).
//
// Shows the progress window while the words are prepared, hides the main
// window, locks its menus and shows the quiz window with the focus in the
// answer field. When no word qualifies the user is asked whether to reset the
// selection filters (saved through `saveSelectionOptions()` on "Ja"), the main
// window is shown again and false is returned (`QuizNotStarted` set).
// Returns true when the quiz runs.
//
// The caller closes its own window before calling; it need not show the
// progress window or the quiz window itself.
bool startQuiz(const QStringList& lessonCodes);
