#include "quiz/wordeditorwindow.h"

#include "mainwindow/typingaids.h"
#include "platform/codec.h"
#include "platform/formwidgets.h"
#include "platform/memolimit.h"
#include "quiz/quizgreektyping.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

Tvokbear* vokbear = nullptr;

namespace {

using platform::named;

// A caption whose umlauts and accents stand whole above it: in many fonts
// "Ü" reaches above the ascent that a label's height allows for.
QLabel* caption(QWidget* parent, const QString& text, const char* name) {
    auto* label = named(new QLabel(text, parent), name);
    const QFontMetrics metrics(label->font());
    const int above = -metrics.tightBoundingRect(QStringLiteral("ÄÖÜÂ")).top() - metrics.ascent();
    if (above > 0) label->setContentsMargins(0, above, 0, 0);
    return label;
}

QPlainTextEdit* memo(QWidget* parent, const char* name, int lines) {
    auto* m = named(new QPlainTextEdit(parent), name);
    m->setTabChangesFocus(true);
    m->setMinimumWidth(460);
    m->setFixedHeight(lines * 20 + 12);
    return m;
}

QString shownMemo(const WordFontView& view, const QString& stored) {
    return view.toDisplay(platform::codec::memoToWidget(stored));
}

QString storedMemo(const WordFontView& view, const QPlainTextEdit* memo) {
    return platform::codec::memoFromWidget(view.fromDisplay(memo->toPlainText()));
}

} // namespace

Tvokbear::Tvokbear(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("vokbear"));
    setWindowTitle(QStringLiteral("Vokabel bearbeiten"));
    setModal(true);

    LabelMF = caption(this, QStringLiteral("Fremdwort:"), "LabelMF");
    MF = memo(this, "MF", 2);
    LabelMU = caption(this, QStringLiteral("Übersetzung:"), "LabelMU");
    MU = memo(this, "MU", 3);
    LabelStammformen = caption(this, QStringLiteral("Stammformen:"), "LabelStammformen");
    for (int k = 0; k < 6; ++k) {
        e[k] = new QLineEdit(this);
        e[k]->setObjectName(QStringLiteral("e%1").arg(k + 1));
    }
    LabelGenitiv = caption(this, QStringLiteral("Genitiv:"), "LabelGenitiv");
    eg = named(new QLineEdit(this), "eg");
    LabelGenus = caption(this, QStringLiteral("Genus:"), "LabelGenus");
    es = named(new QLineEdit(this), "es");
    LabelExtras = caption(this, QStringLiteral("Extras"), "LabelExtras");
    Memoe = memo(this, "Memoe", 2);
    BitBtn1 = named(new QPushButton(QStringLiteral("&OK"), this), "BitBtn1");
    BitBtn1->setDefault(true);
    BitBtn2 = named(new QPushButton(QStringLiteral("&Abbruch"), this), "BitBtn2");
    LabelMF->setBuddy(MF);
    LabelMU->setBuddy(MU);
    LabelGenitiv->setBuddy(eg);
    LabelGenus->setBuddy(es);

    auto* forms = new QGridLayout;
    forms->setHorizontalSpacing(6);
    for (int k = 0; k < 6; ++k)
        forms->addWidget(e[k], k / 3, k % 3);
    auto* genitiveAndGenus = new QGridLayout;
    genitiveAndGenus->addWidget(LabelGenitiv, 0, 0);
    genitiveAndGenus->addWidget(LabelGenus, 0, 1);
    genitiveAndGenus->addWidget(eg, 1, 0);
    genitiveAndGenus->addWidget(es, 1, 1);
    genitiveAndGenus->setColumnStretch(0, 3);
    genitiveAndGenus->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->setSpacing(3);
    layout->addWidget(LabelMF);
    layout->addWidget(MF);
    layout->addSpacing(6);
    layout->addWidget(LabelMU);
    layout->addWidget(MU);
    layout->addSpacing(6);
    layout->addWidget(LabelStammformen);
    layout->addLayout(forms);
    layout->addSpacing(6);
    layout->addLayout(genitiveAndGenus);
    layout->addSpacing(6);
    layout->addWidget(LabelExtras);
    layout->addWidget(Memoe);
    layout->addSpacing(10);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BitBtn1, &QPushButton::clicked, this, &Tvokbear::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &Tvokbear::BitBtn2Click);
    // Before the typing aids, so that they see only text that fits.
    for (QPlainTextEdit* m : {MF, MU, Memoe})
        new platform::MemoLengthLimit(m, &platform::StoredMemoLength);
    setUpTypingAids();
}

void Tvokbear::setUpTypingAids() {
    const auto configure = [](TypingAids* aids) {
        aids->setAidSwitches([](QWidget*) { return false; },
                             [](QWidget*) { return GreekTypingActive(); });
        aids->setGreekRoutine(&QuizGreekTyping);
        aids->setHotkeys(false);
    };
    foreignAids_ = new TypingAids(this, {}, [this] { return views_.foreign.charset; });
    configure(foreignAids_);
    foreignAids_->watch(MF);
    formAids_ = new TypingAids(this, {}, [this] { return views_.forms.charset; });
    configure(formAids_);
    for (QLineEdit* field : e)
        formAids_->watch(field);
    formAids_->watch(eg);
}

void Tvokbear::fill(const QuizWord& word, const Views& views) {
    word_ = word;
    views_ = views;
    MF->setFont(views.foreign.font);
    MU->setFont(views.translation.font);
    e[0]->setFont(views.forms.font);
    for (QLineEdit* field : {e[1], e[2], e[3], e[4], e[5], eg})
        field->setFont(e[0]->font());
    es->setFont(views.genus.font);
    Memoe->setFont(MU->font());

    auto width = [this](const QString& field) { return fieldWidth ? fieldWidth(field) : 0; };
    auto line = [&](QLineEdit* edit, const WordFontView& view, const QString& stored,
                    const QString& field) {
        const int n = width(field);
        edit->setMaxLength(n > 0 ? n : 32767);
        edit->setText(view.toDisplay(stored));
        edit->setCursorPosition(edit->text().size());
    };
    for (const auto& [memo, field] :
         {std::pair{MF, "Fremdwort"}, {MU, "Uebersetzung"}, {Memoe, "Extra"}})
        platform::MemoLengthLimit::of(memo)->setWidth(width(QLatin1String(field)));
    MF->setPlainText(shownMemo(views.foreign, word.Fremdwort));
    MU->setPlainText(shownMemo(views.translation, word.Uebersetzung));
    for (int k = 0; k < 6; ++k)
        line(e[k], views.forms, word.Forms[k], QuizFormFieldNames()[k]);
    line(eg, views.forms, word.Genitiv, QStringLiteral("Genitiv"));
    line(es, views.genus, word.Genus, QStringLiteral("Genus"));
    Memoe->setPlainText(shownMemo(views.translation, word.Extra));
    MF->setFocus();
}

QuizWord Tvokbear::edited() const {
    QuizWord word = word_;
    word.Fremdwort = storedMemo(views_.foreign, MF);
    word.Uebersetzung = storedMemo(views_.translation, MU);
    word.Extra = storedMemo(views_.translation, Memoe);
    word.Genus = views_.genus.fromDisplay(es->text());
    word.Genitiv = views_.forms.fromDisplay(eg->text());
    for (int k = 0; k < 6; ++k)
        word.Forms[k] = views_.forms.fromDisplay(e[k]->text());
    return word;
}

void Tvokbear::BitBtn1Click() {
    // A correction that could not be saved keeps the window open.
    if (accepted && !accepted(edited())) return;
    done(1);
}

void Tvokbear::BitBtn2Click() {
    done(3);
}

void Tvokbear::reject() {
    done(3);
}
