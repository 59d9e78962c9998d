#pragma once
// Enter as users expect it of buttons: Return and the keypad's Enter press the
// push button that has the keyboard focus, in every window, whether or not it
// is a dialog's default button (Qt leaves Enter to a dialog's default button
// only). A text field that takes Enter for a line break keeps it.
//
// Enter or Space held down presses a button once, and acts only in the window
// it was pressed in. Any key that pressed a button (Enter, Space, a mnemonic)
// does nothing more until it is lifted, wherever the focus went. A window
// whose every Enter is an action (the quiz) can ask for the same in all its
// fields.
#include <QEvent>
#include <QHash>
#include <QtGlobal>

class QKeyEvent;
class QWidget;

namespace platform {

// Once per application; later calls do nothing.
void installEnterPressesFocusedButton();

// In this window a held Enter acts once in every field as well; its repeats
// are dropped. Needs installEnterPressesFocusedButton.
void setHeldEnterActsOnce(QWidget* window);

// Tells the presses of one key held down from deliberate ones. Qt flags the
// repeats of a held key, but under X it misses many of them when the program
// is busy: the X server repeats a held key as a release and a press of the
// same time, 25 to 40 times a second. Times are the window system's, in ms,
// and not touched by how busy the program is; 0 means unknown.
class HeldKeyRepeats {
  public:
    // Takes a press (or its shortcut override) or a release of `key`; returns
    // whether a press repeats a held key. The same press seen again (passed
    // on to another receiver) gets the same answer. Each key is told apart on
    // its own, so that other keys (a modifier let go) break no key's hold.
    bool repeats(QEvent::Type type, int key, quint64 time, bool flaggedByQt);
    bool repeats(const QKeyEvent& event);

  private:
    struct Presses {
        quint64 pressed = 0;
        quint64 released = 0;
        bool lastRepeated = false;
    };
    QHash<int, Presses> keys_;
};

} // namespace platform
