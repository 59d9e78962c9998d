#include "platform/application.h"

#include "platform/error.h"
#include "platform/messagebox.h"

namespace platform {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

void reportException(const std::exception& e) {
    const auto* error = dynamic_cast<const Error*>(&e);
    QString text = error ? error->message() : QString::fromLocal8Bit(e.what());
    showMessage(text, QStringLiteral("Fehler"), Icon::Error);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        reportException(e);
    }
    return false;
}

} // namespace platform
