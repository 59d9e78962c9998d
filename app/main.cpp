// The program entry: picks the updater run, the uninstall run or the normal
// run from the first argument, and in the normal run creates every window once.
#include "mainwindow/programentry.h"
#include "app/windows.h"
#include "platform/application.h"
#include "platform/messagebox.h"
#include "platform/shell.h"

#include <QDir>

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    switch (programentry::chooseRun(arguments, QDir::currentPath())) {
    case programentry::Run::Update: {
        platform::Application app(argc, argv);
        const QString result = runUpdaterRun();
        platform::showMessage(programentry::updateResultMessage(result));
        return 0;
    }
    case programentry::Run::Uninstall: {
        // The message box of a failed uninstall needs the application object.
        platform::Application app(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Orvilex 3"));
        programentry::runUninstall(QDir::currentPath());
        return 0;
    }
    case programentry::Run::Normal:
        break;
    }

    platform::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvilex 3"));
    platform::HelpFile = QStringLiteral("Orvilex.chm");
    createWindows(arguments);
    showMainWindow();
    return app.exec();
}
