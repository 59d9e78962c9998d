#include "platform/messagebox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace platform {
namespace {

MessageBoxHandler& handler() {
    static MessageBoxHandler h;
    return h;
}

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Error: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

// Message texts break their lines with CR LF, LF CR or a lone CR; the box
// shows each of them as one line break.
QString displayedText(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

Answer showRealBox(const MessageBoxRequest& request) {
    QMessageBox box(qtIcon(request.icon),
                    request.caption.isEmpty() ? QApplication::applicationName() : request.caption,
                    displayedText(request.text), QMessageBox::NoButton,
                    QApplication::activeWindow());
    auto add = [&box](const QString& text, QMessageBox::ButtonRole role) {
        return box.addButton(text, role);
    };
    QPushButton* ok = nullptr;
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    switch (request.buttons) {
    case Buttons::Ok: ok = add(QStringLiteral("OK"), QMessageBox::AcceptRole); break;
    case Buttons::OkCancel:
        ok = add(QStringLiteral("OK"), QMessageBox::AcceptRole);
        add(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
        break;
    case Buttons::YesNoCancel:
        yes = add(QStringLiteral("Ja"), QMessageBox::YesRole);
        no = add(QStringLiteral("Nein"), QMessageBox::NoRole);
        add(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
        break;
    case Buttons::YesNo:
        yes = add(QStringLiteral("Ja"), QMessageBox::YesRole);
        no = add(QStringLiteral("Nein"), QMessageBox::NoRole);
        break;
    }
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked && clicked == yes) return Answer::Yes;
    if (clicked && clicked == no) return Answer::No;
    if (clicked && clicked == ok) return Answer::Ok;
    if (request.buttons == Buttons::YesNo) return Answer::No;
    return request.buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
}

} // namespace

Answer showMessage(const QString& text, const QString& caption, Icon icon, Buttons buttons) {
    MessageBoxRequest request{text, caption, icon, buttons};
    if (handler())
        return handler()(request);
    return showRealBox(request);
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler h) {
    MessageBoxHandler old = std::move(handler());
    handler() = std::move(h);
    return old;
}

} // namespace platform
