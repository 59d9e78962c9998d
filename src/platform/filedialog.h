#pragma once
// The program's file dialogs are Qt's own, so that they speak German with
// Qt's catalogue whatever the desktop, shown large enough that the side bar
// and the columns of the file list show their texts whole.
class QFileDialog;

namespace platform {

void prepareFileDialog(QFileDialog& dialog);

// A file dialog's folder model looks at every entry of each folder shown, on
// a thread that the model's end waits for: a mount point there that does not
// answer would hold up the end of the dialog for good. Called when the dialog
// has closed: when a mount in or above a folder it showed does not answer,
// the model is taken from the dialog and left alive.
void releaseSilentFileModel(QFileDialog& dialog);

} // namespace platform
