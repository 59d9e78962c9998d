#include "platform/application.h"

#include "platform/buttonkeys.h"
#include "platform/error.h"
#include "platform/messagebox.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace platform {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    installQtGerman();
    installEnterPressesFocusedButton();
}

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

bool installQtGerman() {
    auto* app = QCoreApplication::instance();
    if (!app) return false;
    static QTranslator* installed = nullptr;
    if (installed && installed->parent() == app) return true;
    auto* translator = new QTranslator(app);
    if (!translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}

} // namespace platform
