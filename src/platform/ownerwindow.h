#pragma once
// The window in front of which the program's message boxes and dialogs open.
//
// A box parented to the active window can open behind the window the user is
// in: right after another dialog closed the window manager has not yet given
// the focus back, and a window that stays on top covers every box that is not
// its own. So a window that opens boxes and dialogs names itself their owner
// for as long as it runs; execModal does that for every modal window.
#include <QPointer>

class QWidget;

namespace platform {

// While it lives, boxes and dialogs open in front of `window` (the window of
// the widget given). Scopes nest: the innermost one whose window is still on
// the screen counts.
class OwnerWindowScope {
  public:
    explicit OwnerWindowScope(QWidget* window);
    ~OwnerWindowScope();
    OwnerWindowScope(const OwnerWindowScope&) = delete;
    OwnerWindowScope& operator=(const OwnerWindowScope&) = delete;

  private:
    friend QWidget* ownerWindow();
    QPointer<QWidget> window_;
    OwnerWindowScope* outer_;
};

// The window of the innermost scope; without one, the active window (null
// when the program has none).
QWidget* ownerWindow();

} // namespace platform
