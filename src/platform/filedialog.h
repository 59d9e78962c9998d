#pragma once
// The program's file dialogs are Qt's own, so that they speak German with
// Qt's catalogue whatever the desktop, shown large enough that the side bar
// and the columns of the file list show their texts whole.
class QFileDialog;

namespace platform {

void prepareFileDialog(QFileDialog& dialog);

} // namespace platform
