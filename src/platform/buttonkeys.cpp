#include "platform/buttonkeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QShortcutEvent>

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

// Whether Enter arriving at the dialog itself (no control took it) presses
// the dialog's default button, as QDialog does.
bool pressesDefaultButton(const QObject* watched, const QKeyEvent& key) {
    const auto* dialog = qobject_cast<const QDialog*>(watched);
    if (!dialog || !isEnter(key) || (key.modifiers() & ~Qt::KeypadModifier)) return false;
    for (const QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->isDefault() && button->isVisible()) return button->isEnabled();
    return false;
}

class EnterPressesFocusedButton : public QObject {
  public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Shortcut) {
            // A mnemonic pressed a button: its key is held back like Enter's.
            const auto* button = qobject_cast<QAbstractButton*>(watched);
            const QKeySequence keys = static_cast<QShortcutEvent*>(event)->key();
            if (button && button->isEnabled() && !keys.isEmpty()) heldBack_ = keys[0].key();
            return false;
        }
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease &&
            event->type() != QEvent::ShortcutOverride)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->key()) return false;
        // Every key is seen, so that a release tells the next press apart.
        const bool repeat = held_.repeats(*key);
        if (event->type() == QEvent::KeyRelease) return false;
        // A key that pressed a button acts no more until it is lifted: its
        // repeats would reach whatever the button handed the focus to (the
        // next word's answer), or press the button again.
        if (key->key() == heldBack_) {
            if (repeat) {
                event->accept(); // taken from the shortcuts as well
                return true;
            }
            heldBack_ = 0;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() != QEvent::KeyPress || !widget || !pressesButtons(*key)) return false;
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
        if (pressesDefaultButton(watched, *key)) heldBack_ = key->key();
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button || !button->hasFocus() || !button->isEnabled() || !button->isVisible())
            return false;
        if (!isEnter(*key)) {
            heldBack_ = key->key(); // Qt presses it, and clicks at the release
            return false;
        }
        if ((key->modifiers() & ~Qt::KeypadModifier) || !qobject_cast<QPushButton*>(button))
            return false;
        heldBack_ = key->key();
        button->click();
        return true;
    }

  private:
    HeldKeyRepeats held_;
    // The window of the last deliberate press: a held key acts there alone.
    QPointer<QWidget> pressedIn_;
    // The key whose press pressed a button, until its next deliberate press.
    int heldBack_ = 0;
};

} // namespace

bool HeldKeyRepeats::repeats(QEvent::Type type, int key, quint64 time, bool flaggedByQt) {
    Presses& presses = keys_[key];
    if (type == QEvent::KeyRelease) {
        if (time) presses.released = time;
        return false;
    }
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) return false;
    if (!time) return flaggedByQt;
    if (time == presses.pressed) return presses.lastRepeated;
    const bool pairedWithRelease =
        presses.released && time >= presses.released && time - presses.released < RepeatPairGap;
    const bool tooSoon = presses.pressed && time > presses.pressed &&
                         time - presses.pressed < DeliberatePressInterval;
    presses.lastRepeated = flaggedByQt || pairedWithRelease || tooSoon;
    presses.pressed = time;
    return presses.lastRepeated;
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
