// Multiple choice in the quiz window: four buttons in front of the answer
// field, one with the expected answer, three with the answers of other words.
#include "platform/messagebox.h"
#include "quiz/multiplechoice.h"
#include "quiz/quizwindow.h"

#include <QCheckBox>
#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr int PanelY = 156;
constexpr int PanelHeight = 146;
constexpr int ButtonHeight = 32;
constexpr int ButtonGap = 4;
constexpr int Margin = 10;
// Room a button's frame takes from its caption.
constexpr int CaptionPadding = 16;

// A caption shows "&" as it is, not as a mnemonic.
QString plainCaption(QString text) {
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

void Tabfrag::buildMultipleChoice() {
    pmulti = new QFrame(Panel2);
    pmulti->setObjectName(QStringLiteral("pmulti"));
    pmulti->setFrameShape(QFrame::NoFrame);
    pmulti->setAutoFillBackground(true);
    pmulti->setGeometry(0, PanelY, PageWidth, PanelHeight);
    const int width = PageWidth - 2 * Margin;
    for (int k = 0; k < 4; ++k) {
        mb[k] = new QPushButton(pmulti);
        mb[k]->setObjectName(QStringLiteral("mb%1").arg(k + 1));
        mb[k]->setGeometry(Margin, ButtonGap + k * (ButtonHeight + ButtonGap), width, ButtonHeight);
        // Enter on the focused proposal chooses it.
        mb[k]->setAutoDefault(true);
        connect(mb[k], &QPushButton::clicked, this, [this, k] { mbClick(k + 1); });
    }
    mmemo = new QPlainTextEdit(pmulti);
    mmemo->setObjectName(QStringLiteral("mmemo"));
    mmemo->setGeometry(Margin, 0, width - CaptionPadding, ButtonHeight);
    mmemo->hide();
    pmulti->hide();
}

void Tabfrag::mbClick(int button) {
    // After the verdict a click changes nothing: the choice stays the one
    // judged (and judged again when the word is corrected).
    if (!OkBtn->isEnabled() || !engine_ || engine_->phase() != QuizPhase::Asking) return;
    MultipleChoiceChosen = button;
    OkBtn->click();
}

void Tabfrag::FillMultipleChoice() {
    if (!QuizOptions.rbabmult || !engine_ || !engine_->hasWord()) {
        pmulti->hide();
        return;
    }
    for (QPushButton* button : mb)
        button->hide();
    const QuizEngine& e = *engine_;
    MultipleChoiceChosen = 0;
    MultipleChoiceAnswer = e.expectedAnswerText();

    multiplechoice::Request request;
    request.tablePath = QuizTablePath;
    request.answer = MultipleChoiceAnswer;
    request.foreignExpected = e.uber();
    request.wordClass = e.word().Wortart;
    request.hard = QuizOptions.cbms;
    const multiplechoice::Proposals proposals = multiplechoice::FillMultipleChoice(request);
    MultipleChoiceStem = proposals.stem;
    MultipleChoiceRight = proposals.right;
    if (!proposals.error.isEmpty())
        platform::showMessage(QStringLiteral("Die Vorschläge konnten nicht aus der Tabelle "
                                             "gelesen werden:\n\n") +
                                  proposals.error,
                              QStringLiteral("Fehler"), platform::Icon::Error);

    // The answers in the script of the language expected.
    const WordFontView& view = e.uber() ? wordView_ : translationView_;
    mb[0]->setFont(MemoUebers->font());
    for (int k = 1; k < 4; ++k)
        mb[k]->setFont(mb[0]->font());
    mmemo->setFont(mb[0]->font());
    for (int k = 0; k < 4; ++k) {
        const QString caption =
            proposals.filled[k]
                ? multiplechoice::FitCaption(
                      view.toDisplay(multiplechoice::JoinedLines(proposals.texts[k])),
                      mmemo->font(), mmemo->width())
                : multiplechoice::EmptyProposal;
        mb[k]->setText(plainCaption(caption));
        mb[k]->setToolTip(proposals.filled[k] ? view.toDisplay(proposals.texts[k]) : QString());
    }

    pmulti->show();
    pmulti->raise();
    for (QPushButton* button : mb)
        button->show();
    // The expected answer must not be visible.
    Panel7->hide();
    mb[0]->setFocus();
}
