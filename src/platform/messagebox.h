#pragma once
// Every message box of the program goes through showMessage, so that tests can
// install a handler that records the box and answers it instead of a person.
#include <QString>
#include <functional>
#include <memory>

class QFontMetrics;
class QMessageBox;
class QWidget;

namespace platform {

enum class Icon { None, Information, Warning, Error, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

struct MessageBoxRequest {
    QString text;
    QString caption;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    // The window the box opens in front of (its parent): ownerWindow() when
    // the box was asked for; null when the program shows no window.
    QWidget* owner = nullptr;
};

using MessageBoxHandler = std::function<Answer(const MessageBoxRequest&)>;

// Shows a modal box in front of the owner window (platform/ownerwindow.h) and
// returns the button pressed. An empty caption means the application's title
// (a plain box).
Answer showMessage(const QString& text, const QString& caption = QString(), Icon icon = Icon::None,
                   Buttons buttons = Buttons::Ok);

// Replaces the real box (tests); an empty handler restores it. Returns the old one.
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);

// How the real box shows a text: each line break (CR LF, LF CR or a lone CR)
// as one break; a text of several lines of which none is wider than
// `maxLineWidth` as rich text that keeps every line whole.
struct BoxText {
    QString text;
    Qt::TextFormat format = Qt::PlainText;
};
BoxText boxText(const QString& text, const QFontMetrics& metrics, int maxLineWidth);

// The real box of a request with its text, icon, caption and owner, still
// without buttons (showMessage adds them).
std::unique_ptr<QMessageBox> createMessageBox(const MessageBoxRequest& request);

} // namespace platform
