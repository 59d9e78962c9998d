#include "platform/buttonkeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>

namespace platform {

namespace {

class EnterPressesFocusedButton : public QObject {
  public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
        // Held down, Enter would run through every step a button leads to.
        if (key->isAutoRepeat() || (key->modifiers() & ~Qt::KeypadModifier)) return false;
        auto* button = qobject_cast<QPushButton*>(watched);
        if (!button || !button->hasFocus() || !button->isEnabled() || !button->isVisible())
            return false;
        button->click();
        return true;
    }
};

} // namespace

void installEnterPressesFocusedButton() {
    static QPointer<QObject> installed;
    auto* app = QCoreApplication::instance();
    if (!app || (installed && installed->parent() == app)) return;
    installed = new EnterPressesFocusedButton(app);
    app->installEventFilter(installed);
}

} // namespace platform
