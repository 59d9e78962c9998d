#include "mainwindow/aboutbox.h"

#include "mainwindow/helpcommands.h"
#include "platform/formwidgets.h"

#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

Tinfo2* info2 = nullptr;

namespace {

using platform::named;

QLabel* linkLabel(QWidget* parent, const char* name, const QString& href, const QString& text) {
    auto* label = named(new QLabel(parent), name);
    label->setText(
        QStringLiteral("<a href=\"%1\">%2</a>").arg(href.toHtmlEscaped(), text.toHtmlEscaped()));
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setOpenExternalLinks(false); // opened through the help commands, which report failures
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

// One tilted index card with a letter on it.
void drawCard(QPainter& p, const QRectF& card, qreal angle, const QColor& colour,
              const QString& letter) {
    p.save();
    p.translate(card.center());
    p.rotate(angle);
    const QRectF r(-card.width() / 2, -card.height() / 2, card.width(), card.height());
    p.setPen(QPen(QColor(0, 0, 0, 70), card.width() / 40));
    p.setBrush(colour);
    p.drawRoundedRect(r, card.width() / 12, card.width() / 12);
    p.setPen(QPen(QColor(180, 40, 40, 160), card.width() / 50));
    p.drawLine(QPointF(r.left() + r.width() * 0.1, r.top() + r.height() * 0.28),
               QPointF(r.right() - r.width() * 0.1, r.top() + r.height() * 0.28));
    QFont font(QStringLiteral("Serif"));
    font.setPixelSize(static_cast<int>(card.height() * 0.5));
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(30, 50, 110));
    p.drawText(r.adjusted(0, r.height() * 0.25, 0, 0), Qt::AlignCenter, letter);
    p.restore();
}

} // namespace

QPixmap Tinfo2::programImage(int size) {
    QPixmap image(size, size);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal s = size;
    QLinearGradient sky(0, 0, 0, s);
    sky.setColorAt(0, QColor(70, 130, 210));
    sky.setColorAt(1, QColor(25, 60, 140));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(s * 0.03, s * 0.03, s * 0.94, s * 0.94), s * 0.18, s * 0.18);
    // Two vocabulary cards: a word and its counterpart.
    drawCard(p, QRectF(s * 0.12, s * 0.22, s * 0.46, s * 0.56), -12, QColor(255, 252, 235),
             QStringLiteral("A"));
    drawCard(p, QRectF(s * 0.42, s * 0.22, s * 0.46, s * 0.56), 10, QColor(255, 236, 160),
             QString(QChar(0x03B1))); // α
    return image;
}

Tinfo2::Tinfo2(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("info2"));
    setWindowTitle(QStringLiteral("Orvilex Info"));

    GroupBox1 = named(new QGroupBox(this), "GroupBox1");
    ProgramIcon = named(new QLabel(GroupBox1), "ProgramIcon");
    ProgramIcon->setPixmap(programImage(72));
    ProgramIcon->setFixedSize(72, 72);
    ProductName = named(new QLabel(QStringLiteral("Orvilex 3.3"), GroupBox1), "ProductName");
    QFont big = ProductName->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    ProductName->setFont(big);
    Version = named(new QLabel(QStringLiteral("v3.3.6 built 07.11.09"), GroupBox1), "Version");
    auto* texts = new QVBoxLayout;
    texts->addStretch(1);
    texts->addWidget(ProductName);
    texts->addWidget(Version);
    texts->addStretch(1);
    auto* group = new QHBoxLayout(GroupBox1);
    group->addWidget(ProgramIcon, 0, Qt::AlignVCenter);
    group->addSpacing(12);
    group->addLayout(texts, 1);

    Label1 = named(new QLabel(QStringLiteral("Internet"), this), "Label1");
    memo1 = linkLabel(this, "memo1", helpcommands::MakerHomepage, helpcommands::MakerHomepage);
    Label2 = named(new QLabel(QStringLiteral("Kontakt"), this), "Label2");
    memo2 = linkLabel(this, "memo2", QStringLiteral("mailto:") + helpcommands::MakerMailAddress,
                      helpcommands::MakerMailAddress);
    for (QLabel* caption : {Label1, Label2}) {
        QFont bold = caption->font();
        bold.setBold(true);
        caption->setFont(bold);
    }
    auto* links = new QGridLayout;
    links->addWidget(Label1, 0, 0);
    links->addWidget(memo1, 1, 0);
    links->addWidget(Label2, 0, 1);
    links->addWidget(memo2, 1, 1);
    links->setHorizontalSpacing(24);

    OKButton = named(new QPushButton(QStringLiteral("&OK"), this), "OKButton");
    OKButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addSpacing(6);
    layout->addLayout(links);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKButton, &QPushButton::clicked, this, &Tinfo2::OKButtonClick);
    connect(memo1, &QLabel::linkActivated, this, [this] { memo1Click(); });
    connect(memo2, &QLabel::linkActivated, this, [this] { memo2Click(); });
}

void Tinfo2::OKButtonClick() {
    accept();
}

void Tinfo2::memo1Click() {
    helpcommands::OpenHomepage();
}

void Tinfo2::memo2Click() {
    helpcommands::WriteMailToMaker();
}
