#pragma once
#include <QApplication>

namespace platform {

// The application object: no exception leaves an event handler; it is shown
// in a box with the caption "Fehler" and the program goes on. It speaks
// German in Qt's own dialogs and buttons as well (installQtGerman).
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows an exception's message the way the application's handler does.
void reportException(const std::exception& e);

// Loads Qt's German catalogue ("qtbase_de" from Qt's translations folder)
// into the running application, so that the file, print and page set-up
// dialogs and the standard buttons speak German whatever the system's
// language. Once per application; false when the catalogue is missing (the
// dialogs then stay English).
bool installQtGerman();

} // namespace platform
