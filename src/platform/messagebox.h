#pragma once
// Every message box of the program goes through showMessage, so that tests can
// install a handler that records the box and answers it instead of a person.
#include <QString>
#include <functional>

namespace platform {

enum class Icon { None, Information, Warning, Error, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

struct MessageBoxRequest {
    QString text;
    QString caption;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
};

using MessageBoxHandler = std::function<Answer(const MessageBoxRequest&)>;

// Shows a modal box and returns the button pressed. An empty caption means the
// application's title (a plain box).
Answer showMessage(const QString& text, const QString& caption = QString(), Icon icon = Icon::None,
                   Buttons buttons = Buttons::Ok);

// Replaces the real box (tests); an empty handler restores it. Returns the old one.
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);

} // namespace platform
