#pragma once
// Resuming an interrupted quiz: the entry the main window's
// "Unterbrochene Abfrage &fortsetzen" calls. Implemented by the quiz window.

// Resumes the interrupted quiz of the open database. The caller has checked
// that the word being edited is complete. Returns whether the quiz runs; when
// it does not, the user was told why and the main window is visible.
bool resumeInterruptedQuiz();
