#include "platform/messagebox.h"

#include "platform/ownerwindow.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

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

} // namespace

BoxText boxText(const QString& text, const QFontMetrics& metrics, int maxLineWidth) {
    const QString shown = displayedText(text);
    if (!shown.contains(QLatin1Char('\n'))) return {shown, Qt::PlainText};
    int widest = 0;
    for (const QString& line : shown.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    if (widest > maxLineWidth) return {shown, Qt::PlainText};
    // The box would break lines longer than its own preferred width again and
    // leave single words alone on a line; the text's own breaks are kept instead.
    return {QStringLiteral("<p style=\"white-space:pre\">") + shown.toHtmlEscaped() +
                QStringLiteral("</p>"),
            Qt::RichText};
}

std::unique_ptr<QMessageBox> createMessageBox(const MessageBoxRequest& request) {
    QWidget* parent = request.owner;
    auto box = std::make_unique<QMessageBox>(
        qtIcon(request.icon),
        request.caption.isEmpty() ? QApplication::applicationName() : request.caption, QString(),
        QMessageBox::NoButton, parent);
    // Lines may take up to most of the screen before the box wraps them.
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->availableGeometry().width() : 1024;
    const int maxLineWidth = std::min(screenWidth * 4 / 5, 1000);
    const BoxText shown = boxText(request.text, box->fontMetrics(), maxLineWidth);
    box->setTextFormat(shown.format);
    box->setText(shown.text);
    return box;
}

namespace {

Answer showRealBox(const MessageBoxRequest& request) {
    const std::unique_ptr<QMessageBox> owned = createMessageBox(request);
    QMessageBox& box = *owned;
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
    const MessageBoxRequest request{text, caption, icon, buttons, ownerWindow()};
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
