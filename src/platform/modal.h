#pragma once
// Modal windows are shown through execModal, so that a test can fill and
// confirm a dialog without entering a real modal loop.
#include <functional>

class QDialog;

namespace platform {

// Dialog results beside QDialog's Accepted (1): 2 cancel, 11 a lesson section
// chosen, 12 a lesson number chosen, 99 refused or cancelled.
enum ModalResult { ResultNone = 0, ResultOk = 1, ResultCancel = 2, ResultSection = 11,
                   ResultLesson = 12, ResultRefused = 99 };

using ModalHandler = std::function<int(QDialog&)>;

// Shows the dialog modally and returns its result code. While it runs, the
// dialog is the owner window of the boxes and dialogs it opens.
int execModal(QDialog& dialog);

// Replaces the modal loop (tests): the handler gets the dialog, may fill and
// click it, and returns the result. An empty handler restores the real loop.
ModalHandler setModalHandler(ModalHandler handler);

} // namespace platform
