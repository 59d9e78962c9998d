#include "database/lessondialogs.h"

#include "database/lessons.h"
#include "database/lessontree.h"
#include "platform/messagebox.h"
#include "platform/modal.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTreeWidget>
#include <QVBoxLayout>

Tumbe* umbe = nullptr;
Tkopieren* kopieren = nullptr;

namespace {

QLabel* boldLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

// --- Tumbe --------------------------------------------------------------------

Tumbe::Tumbe(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("umbe"));
    setWindowTitle(QStringLiteral("Neue Lektion"));

    enummer = new QLineEdit(QStringLiteral("1"), this);
    enummer->setObjectName(QStringLiteral("enummer"));
    enummer->setMaxLength(LessonNumberLength);
    // Keys are checked one by one below; the validator keeps pasted text to
    // digits as well.
    enummer->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), enummer));
    enummer->installEventFilter(this);

    buchsbox = new QComboBox(this);
    buchsbox->setObjectName(QStringLiteral("buchsbox"));
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        buchsbox->addItem(QString(QLatin1Char(letter)));
    zahlbox = new QComboBox(this);
    zahlbox->setObjectName(QStringLiteral("zahlbox"));
    for (char digit = '1'; digit <= '9'; ++digit)
        zahlbox->addItem(QString(QLatin1Char(digit)));

    auto* numberLabel = new QLabel(QStringLiteral("Lektion Nr."), this);
    auto* letterLabel = new QLabel(QStringLiteral("Stück"), this);
    auto* digitLabel = new QLabel(QStringLiteral("Absatz"), this);
    numberLabel->setBuddy(enummer);
    letterLabel->setBuddy(buchsbox);
    digitLabel->setBuddy(zahlbox);
    const int fieldWidth = enummer->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 24;
    enummer->setFixedWidth(qMax(fieldWidth, 60));
    buchsbox->setMinimumWidth(60);
    zahlbox->setMinimumWidth(60);

    auto* code = new QGridLayout;
    code->setHorizontalSpacing(16);
    code->addWidget(numberLabel, 0, 0);
    code->addWidget(letterLabel, 0, 1);
    code->addWidget(digitLabel, 0, 2);
    code->addWidget(enummer, 1, 0);
    code->addWidget(buchsbox, 1, 1);
    code->addWidget(zahlbox, 1, 2);
    code->setColumnStretch(3, 1);

    auto* titleGroup = new QGroupBox(QStringLiteral("Thema/Name"), this);
    mthema = new QLineEdit(titleGroup);
    mthema->setObjectName(QStringLiteral("mthema"));
    mthema->setMaxLength(100);
    mthema->setMinimumWidth(mthema->fontMetrics().averageCharWidth() * 40);
    auto* titleLayout = new QVBoxLayout(titleGroup);
    titleLayout->addWidget(mthema);

    BitBtn1 = new QPushButton(QStringLiteral("&OK"), this);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("&Abbruch"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(code);
    layout->addWidget(titleGroup);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(BitBtn1, &QPushButton::clicked, this, &Tumbe::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &Tumbe::BitBtn2Click);
}

// The global never points at a dialog that went with its parent window.
Tumbe::~Tumbe() {
    if (umbe == this) umbe = nullptr;
}

void Tumbe::BitBtn1Click() {
    if (enummer->text().isEmpty()) {
        platform::showMessage(QStringLiteral("Es wurde keine Lektion Nr. eingegeben !"),
                              QStringLiteral("Fehler"), platform::Icon::Error);
        done(platform::ResultRefused);
        return;
    }
    done(platform::ResultOk);
}

void Tumbe::BitBtn2Click() {
    done(platform::ResultCancel);
}

bool Tumbe::enummerKeyPress(QChar key) {
    const bool digit = key >= QLatin1Char('0') && key <= QLatin1Char('9');
    const bool editing =
        key == QLatin1Char('\b') || key == QLatin1Char('\r') || key == QLatin1Char('\n');
    // Control characters (Tab, the clipboard shortcuts) are no typed text.
    const bool control = key.unicode() < 0x20 || key.unicode() == 0x7f;
    if (digit || editing || control) return false;
    platform::showMessage(QStringLiteral("Ungültiges Zeichen"), QStringLiteral("Fehler"),
                          platform::Icon::Error);
    enummer->clear();
    enummer->insert(QStringLiteral("1"));
    return true;
}

bool Tumbe::eventFilter(QObject* watched, QEvent* event) {
    if (watched == enummer && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (!text.isEmpty() && enummerKeyPress(text.at(0))) return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Tumbe::prepareNewLesson() {
    resetFields();
    mthema->clear();
    if (enummer->text().isEmpty()) enummer->setText(QStringLiteral("1"));
    enummer->setFocus();
    enummer->selectAll();
}

void Tumbe::prepareRenameNumber(const QString& number) {
    enummer->setText(QString::number(number.toInt()));
    buchsbox->setCurrentIndex(-1);
    zahlbox->setCurrentIndex(-1);
    mthema->clear();
    buchsbox->setEnabled(false);
    zahlbox->setEnabled(false);
    mthema->setEnabled(false);
    enummer->setFocus();
    enummer->selectAll();
}

void Tumbe::prepareRenameSection(const QString& code, const QString& title) {
    resetFields();
    enummer->setText(QString::number(code.left(LessonNumberLength).toInt()));
    buchsbox->setCurrentIndex(buchsbox->findText(code.mid(3, 1)));
    zahlbox->setCurrentIndex(zahlbox->findText(code.mid(4, 1)));
    mthema->setText(title);
    enummer->setFocus();
    enummer->selectAll();
}

void Tumbe::resetFields() {
    buchsbox->setEnabled(true);
    zahlbox->setEnabled(true);
    mthema->setEnabled(true);
    buchsbox->setCurrentIndex(0);
    zahlbox->setCurrentIndex(0);
}

// --- Tkopieren ----------------------------------------------------------------

Tkopieren::Tkopieren(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("kopieren"));
    setWindowTitle(QStringLiteral("Lektion auswählen"));

    labellek = boldLabel(this);
    labellek->setObjectName(QStringLiteral("labellek"));
    labelab = boldLabel(this);
    labelab->setObjectName(QStringLiteral("labelab"));
    auto* source = new QHBoxLayout;
    source->addWidget(labellek);
    source->addSpacing(8);
    source->addWidget(labelab);
    source->addStretch(1);

    auto* prompt = new QLabel(QStringLiteral("Ziellektion auswählen :"), this);
    baumtree = new QTreeWidget(this);
    baumtree->setObjectName(QStringLiteral("baumtree"));
    ConfigureLessonTree(baumtree);
    baumtree->setMinimumSize(260, 300);
    prompt->setBuddy(baumtree);

    btnKopieren = new QPushButton(QStringLiteral("&OK"), this);
    btnKopieren->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("&Abbruch"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnKopieren);
    buttons->addWidget(Button2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(source);
    layout->addWidget(prompt);
    layout->addWidget(baumtree, 1);
    layout->addLayout(buttons);

    connect(btnKopieren, &QPushButton::clicked, this, &Tkopieren::btnKopierenClick);
    connect(Button2, &QPushButton::clicked, this, &Tkopieren::Button2Click);
    connect(baumtree, &QTreeWidget::itemDoubleClicked, this, &Tkopieren::btnKopierenClick);
}

Tkopieren::~Tkopieren() {
    if (kopieren == this) kopieren = nullptr;
}

void Tkopieren::fillFrom(const QTreeWidget* lekbaum, const QString& sourceLesson,
                         const QString& sourceSection) {
    baumtree->clear();
    QList<QTreeWidgetItem*> items;
    QList<bool> expanded;
    for (int t = 0; t < lekbaum->topLevelItemCount(); ++t) {
        items << lekbaum->topLevelItem(t)->clone();
        expanded << lekbaum->topLevelItem(t)->isExpanded();
    }
    baumtree->addTopLevelItems(items);
    for (int t = 0; t < items.size(); ++t)
        items[t]->setExpanded(expanded[t]);
    baumtree->clearSelection();
    baumtree->setCurrentItem(nullptr);
    labellek->setText(sourceLesson);
    labelab->setText(sourceSection);
}

void Tkopieren::btnKopierenClick() {
    const QList<QTreeWidgetItem*> selected = baumtree->selectedItems();
    if (selected.isEmpty()) return; // nothing chosen yet: the dialog stays open
    done(LessonNodeLevel(selected.first()) == 0 ? platform::ResultLesson : platform::ResultSection);
}

void Tkopieren::Button2Click() {
    done(platform::ResultRefused);
}

QString Tkopieren::chosenCode() const {
    const QList<QTreeWidgetItem*> selected = baumtree->selectedItems();
    return selected.isEmpty() ? QString() : LessonCodeOfItem(selected.first());
}

QString Tkopieren::chosenNumber() const {
    const QList<QTreeWidgetItem*> selected = baumtree->selectedItems();
    return selected.isEmpty() ? QString() : LessonNumberOfItem(selected.first());
}
