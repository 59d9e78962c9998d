#pragma once
#include <QApplication>

namespace platform {

// The application object: no exception leaves an event handler; it is shown
// in a box with the caption "Fehler" and the program goes on.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows an exception's message the way the application's handler does.
void reportException(const std::exception& e);

} // namespace platform
