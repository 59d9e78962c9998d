#pragma once
// The program's file dialogs are Qt's own, so that they speak German with
// Qt's catalogue whatever the desktop, shown large enough that the side bar
// and the columns of the file list show their texts whole.
#include <QString>

class QDialog;
class QFileDialog;

namespace platform {

void prepareFileDialog(QFileDialog& dialog);

// The file chosen in a dialog that was accepted, when its folder's file system
// answers in time; otherwise a "Fehler" box says that it does not answer, and
// the result is empty. Empty as well when nothing was chosen.
QString chosenFile(QFileDialog& dialog, int result);

// A folder model (of a file dialog, or of the completer of a print dialog's
// output file) looks at every entry of each folder shown, on a thread that
// the model's end waits for: a mount point there that does not answer would
// hold up the end of the dialog for good. Called when the dialog has closed:
// while any mount does not answer, the models are taken from the dialog and
// left alive.
void releaseSilentFileModels(QDialog& dialog);

} // namespace platform
