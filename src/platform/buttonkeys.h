#pragma once
// Enter as users expect it of buttons: Return and the keypad's Enter press the
// push button that has the keyboard focus, in every window, whether or not it
// is a dialog's default button (Qt leaves Enter to a dialog's default button
// only). A text field that takes Enter for a line break keeps it.

namespace platform {

// Once per application; later calls do nothing.
void installEnterPressesFocusedButton();

} // namespace platform
