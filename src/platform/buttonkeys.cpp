#include "platform/buttonkeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>

namespace platform {

namespace {

// No finger lifts a key and presses it again within this time (ms): a release
// and a press closer together are the X server repeating a held key.
constexpr quint64 RepeatPairGap = 20;
// Deliberate presses of one key lie further apart than this (ms); repeats
// come every 25 to 40 ms.
constexpr quint64 DeliberatePressInterval = 100;

constexpr char HeldEnterActsOnceProperty[] = "orvilexHeldEnterActsOnce";

bool isEnter(const QKeyEvent& key) {
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

// Enter presses a button here, Space (and Select) through Qt.
bool pressesButtons(const QKeyEvent& key) {
    return isEnter(key) || key.key() == Qt::Key_Space || key.key() == Qt::Key_Select;
}

class EnterPressesFocusedButton : public QObject {
  public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!pressesButtons(*key)) return false;
        // Every such key is seen, so that a release tells the next press apart.
        const bool repeat = held_.repeats(*key);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() != QEvent::KeyPress || !widget) return false;
        QWidget* window = widget->window();
        // Held down, the key would run through every step a button leads to:
        // a button clicked hands the focus on, and the next one takes the
        // repeats Qt did not flag as a fresh press. A window closed by the
        // press would hand them to the one behind it (a quiz that ends, to
        // the word fields of the main window).
        if (repeat)
            return window != pressedIn_ || qobject_cast<QAbstractButton*>(watched) ||
                   (isEnter(*key) && window->property(HeldEnterActsOnceProperty).toBool());
        pressedIn_ = window;
        if (!isEnter(*key) || (key->modifiers() & ~Qt::KeypadModifier)) return false;
        auto* button = qobject_cast<QPushButton*>(watched);
        if (!button || !button->hasFocus() || !button->isEnabled() || !button->isVisible())
            return false;
        button->click();
        return true;
    }

  private:
    HeldKeyRepeats held_;
    // The window of the last deliberate press: a held key acts there alone.
    QPointer<QWidget> pressedIn_;
};

} // namespace

bool HeldKeyRepeats::repeats(QEvent::Type type, int key, quint64 time, bool flaggedByQt) {
    if (key != key_) {
        key_ = key;
        pressed_ = released_ = 0;
        lastPressRepeated_ = false;
    }
    if (type == QEvent::KeyRelease) {
        if (time) released_ = time;
        return false;
    }
    if (type != QEvent::KeyPress) return false;
    if (!time) return flaggedByQt;
    if (time == pressed_) return lastPressRepeated_;
    const bool pairedWithRelease =
        released_ && time >= released_ && time - released_ < RepeatPairGap;
    const bool tooSoon = pressed_ && time > pressed_ && time - pressed_ < DeliberatePressInterval;
    lastPressRepeated_ = flaggedByQt || pairedWithRelease || tooSoon;
    pressed_ = time;
    return lastPressRepeated_;
}

bool HeldKeyRepeats::repeats(const QKeyEvent& event) {
    return repeats(event.type(), event.key(), event.timestamp(), event.isAutoRepeat());
}

void installEnterPressesFocusedButton() {
    static QPointer<QObject> installed;
    auto* app = QCoreApplication::instance();
    if (!app || (installed && installed->parent() == app)) return;
    installed = new EnterPressesFocusedButton(app);
    app->installEventFilter(installed);
}

void setHeldEnterActsOnce(QWidget* window) {
    window->setProperty(HeldEnterActsOnceProperty, true);
}

} // namespace platform
