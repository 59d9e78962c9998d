#include "app/windows.h"

#include "database/newdatabasedialog.h"
#include "database/opendialog.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/progresswindows.h"
#include "settings/optionsdialog.h"

#include <QAction>

namespace {

// Menu commands whose windows lie above the main window.
void wireMainWindowCommands() {
    QObject::connect(Form1->Einstellungen2, &QAction::triggered, Form1, [] { fopt->execute(); });
}

} // namespace

void createWindows(const QStringList& arguments) {
    // The order matters: creation handlers read what earlier ones set up.
    Form1 = new TForm1;
    Form1->FormCreate(arguments);
    fopt = new Tfopt(Form1);
    DialogNeu = new TDialogNeu(Form1);
    dateiladen = new Tdateiladen(Form1);
    Fortschritt = new TFortschritt(Form1);
    fosc = new Tfosc(Form1);
    wireMainWindowCommands();
}

void showMainWindow() { Form1->show(); }

QString runUpdaterRun() {
    // The updater is not part of this build yet: report that plainly.
    return QStringLiteral("Updater nicht verfügbar");
}
