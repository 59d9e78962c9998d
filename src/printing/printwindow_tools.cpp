// The print window's preview tools: zoom, pages and printer set-up, with
// icons drawn in code.
#include "printing/printwindow.h"

#include "platform/formwidgets.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace {

using platform::named;

enum class Glyph { ZoomIn, ZoomOut, First, Prior, Next, Last, Printer, FitHeight, FitWidth };

// Tool icons drawn in code, so that the window looks the same with every icon theme.
QIcon toolIcon(Glyph glyph) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(2, 2);
    const QColor ink(40, 40, 40);
    const QColor blue(40, 90, 170);
    p.setPen(QPen(ink, 1.4));
    auto triangle = [&](double x, bool right) {
        QPainterPath path;
        if (right) {
            path.moveTo(x, 3.5);
            path.lineTo(x + 6, 8);
            path.lineTo(x, 12.5);
        } else {
            path.moveTo(x + 6, 3.5);
            path.lineTo(x, 8);
            path.lineTo(x + 6, 12.5);
        }
        path.closeSubpath();
        p.fillPath(path, blue);
    };
    auto page = [&] {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3.5, 1.5, 9, 13));
        p.setBrush(Qt::NoBrush);
    };
    switch (glyph) {
    case Glyph::ZoomIn:
    case Glyph::ZoomOut:
        p.setBrush(QColor(230, 240, 255));
        p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
        p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
        p.setPen(QPen(ink, 1.2));
        p.drawLine(QPointF(3.8, 6), QPointF(8.2, 6));
        if (glyph == Glyph::ZoomIn) p.drawLine(QPointF(6, 3.8), QPointF(6, 8.2));
        break;
    case Glyph::First:
        p.fillRect(QRectF(3, 3.5, 1.6, 9), blue);
        triangle(5.5, false);
        break;
    case Glyph::Prior:
        triangle(5, false);
        break;
    case Glyph::Next:
        triangle(5, true);
        break;
    case Glyph::Last:
        triangle(4.5, true);
        p.fillRect(QRectF(11.4, 3.5, 1.6, 9), blue);
        break;
    case Glyph::Printer:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(200, 200, 200));
        p.drawRoundedRect(QRectF(1.5, 6, 13, 6), 1, 1);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 10, 7, 4.5));
        break;
    case Glyph::FitHeight:
        page();
        p.setPen(QPen(blue, 1.2));
        p.drawLine(QPointF(8, 3.5), QPointF(8, 12.5));
        p.drawLine(QPointF(6, 5.5), QPointF(8, 3.5));
        p.drawLine(QPointF(10, 5.5), QPointF(8, 3.5));
        p.drawLine(QPointF(6, 10.5), QPointF(8, 12.5));
        p.drawLine(QPointF(10, 10.5), QPointF(8, 12.5));
        break;
    case Glyph::FitWidth:
        page();
        p.setPen(QPen(blue, 1.2));
        p.drawLine(QPointF(5, 8), QPointF(11, 8));
        p.drawLine(QPointF(7, 6), QPointF(5, 8));
        p.drawLine(QPointF(7, 10), QPointF(5, 8));
        p.drawLine(QPointF(9, 6), QPointF(11, 8));
        p.drawLine(QPointF(9, 10), QPointF(11, 8));
        break;
    }
    p.end();
    return QIcon(pixmap);
}

QToolButton* toolButton(QWidget* parent, const char* name, Glyph glyph, const QString& hint) {
    auto* button = named(new QToolButton(parent), name);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIcon(toolIcon(glyph));
    button->setIconSize(QSize(16, 16));
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setFixedSize(22, 24);
    return button;
}

} // namespace

QWidget* Tdruck::buildPreviewTools() {
    auto* panel = named(new QWidget(this), "PanelTools");
    sbzi = toolButton(panel, "sbzi", Glyph::ZoomIn, QStringLiteral("Ansicht vergrößern"));
    sbzo = toolButton(panel, "sbzo", Glyph::ZoomOut, QStringLiteral("Ansicht verkleinern"));
    sbzz = toolButton(panel, "sbzz", Glyph::First, QStringLiteral("Erste Seite"));
    sbz = toolButton(panel, "sbz", Glyph::Prior, QStringLiteral("Seite zurück"));
    sbv = toolButton(panel, "sbv", Glyph::Next, QStringLiteral("Seite vor"));
    sbvv = toolButton(panel, "sbvv", Glyph::Last, QStringLiteral("Letzte Seite"));
    SpeedButton1 =
        toolButton(panel, "SpeedButton1", Glyph::Printer, QStringLiteral("Druckeinstellungen"));
    SpeedButton2 =
        toolButton(panel, "SpeedButton2", Glyph::FitHeight, QStringLiteral("Auf Höhe zoomen"));
    SpeedButton3 =
        toolButton(panel, "SpeedButton3", Glyph::FitWidth, QStringLiteral("Auf Breite zoomen"));
    ComboBox1 = named(new QComboBox(panel), "ComboBox1");
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setToolTip(QStringLiteral("Zoom"));
    ComboBox1->addItems({QStringLiteral("10%"), QStringLiteral("20%"), QStringLiteral("30%"),
                         QStringLiteral("35%"), QStringLiteral("40%"), QStringLiteral("45%"),
                         QStringLiteral("50%"), QStringLiteral("60%"), QStringLiteral("75%"),
                         QStringLiteral("85%"), QStringLiteral("100%"), QStringLiteral("120%"),
                         QStringLiteral("150%"), QStringLiteral("200%"), QStringLiteral("300%")});
    ComboBox1->setFixedWidth(66);
    mSeite = named(new QLabel(panel), "mSeite");
    mSeite->setMinimumWidth(
        mSeite->fontMetrics().horizontalAdvance(QStringLiteral(" Seite 888 von 888")));

    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (QToolButton* button : {sbzi, sbzo})
        row->addWidget(button);
    row->addSpacing(4);
    for (QToolButton* button : {sbzz, sbz, sbv, sbvv})
        row->addWidget(button);
    row->addSpacing(4);
    for (QToolButton* button : {SpeedButton2, SpeedButton3, SpeedButton1})
        row->addWidget(button);
    row->addSpacing(4);
    row->addWidget(ComboBox1);
    row->addSpacing(4);
    row->addWidget(mSeite, 1);
    return panel;
}
