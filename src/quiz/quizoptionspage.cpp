// Loading, storing and the handlers of the quiz settings page.
#include "quiz/quizoptionspage.h"

#include "database/currentdatabase.h"
#include "platform/codec.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>

namespace {

struct CheckBoxField {
    QCheckBox* QuizOptionsPage::*control;
    bool TQuizOptionsRec::*field;
};

constexpr CheckBoxField CheckBoxFields[] = {
    {&QuizOptionsPage::CheckBox1, &TQuizOptionsRec::CheckBox1},
    {&QuizOptionsPage::CheckBox3, &TQuizOptionsRec::CheckBox3},
    {&QuizOptionsPage::CheckBox4, &TQuizOptionsRec::CheckBox4},
    {&QuizOptionsPage::CheckBox5, &TQuizOptionsRec::CheckBox5},
    {&QuizOptionsPage::CheckBox10, &TQuizOptionsRec::CheckBox10},
    {&QuizOptionsPage::CheckBox2, &TQuizOptionsRec::CheckBox2},
    {&QuizOptionsPage::ak1, &TQuizOptionsRec::ak1},
    {&QuizOptionsPage::ak2, &TQuizOptionsRec::ak2},
    {&QuizOptionsPage::ak3, &TQuizOptionsRec::ak3},
    {&QuizOptionsPage::ak4, &TQuizOptionsRec::ak4},
    {&QuizOptionsPage::cbfa, &TQuizOptionsRec::cbfa},
    {&QuizOptionsPage::cbkw, &TQuizOptionsRec::cbkw},
    {&QuizOptionsPage::cbuk, &TQuizOptionsRec::cbuk},
    {&QuizOptionsPage::cbss, &TQuizOptionsRec::cbss},
    {&QuizOptionsPage::cbrf, &TQuizOptionsRec::cbrf},
    {&QuizOptionsPage::cbklamm, &TQuizOptionsRec::cbklamm},
    {&QuizOptionsPage::cbaue, &TQuizOptionsRec::cbaue},
    {&QuizOptionsPage::cbast, &TQuizOptionsRec::cbast},
    {&QuizOptionsPage::cbage, &TQuizOptionsRec::cbage},
    {&QuizOptionsPage::cbendung, &TQuizOptionsRec::cbendung},
    {&QuizOptionsPage::cbpraep, &TQuizOptionsRec::cbpraep},
    {&QuizOptionsPage::cbautosch, &TQuizOptionsRec::cbautosch},
    {&QuizOptionsPage::cbstamm, &TQuizOptionsRec::cbstamm},
    {&QuizOptionsPage::cbgw, &TQuizOptionsRec::cbgw},
    {&QuizOptionsPage::cbschnell, &TQuizOptionsRec::cbschnell},
    {&QuizOptionsPage::cbms, &TQuizOptionsRec::cbms},
    {&QuizOptionsPage::CheckBox6, &TQuizOptionsRec::CheckBox6},
    {&QuizOptionsPage::cbnach, &TQuizOptionsRec::cbnach},
    {&QuizOptionsPage::cbxmal, &TQuizOptionsRec::cbxmal},
    {&QuizOptionsPage::cbsyn, &TQuizOptionsRec::cbsyn},
    {&QuizOptionsPage::cbbemerkung, &TQuizOptionsRec::cbbemerkung},
    {&QuizOptionsPage::aktign, &TQuizOptionsRec::aktign},
    {&QuizOptionsPage::labf, &TQuizOptionsRec::labf},
    {&QuizOptionsPage::geabf, &TQuizOptionsRec::geabf},
    {&QuizOptionsPage::seabf, &TQuizOptionsRec::seabf},
    {&QuizOptionsPage::lanz, &TQuizOptionsRec::lanz},
    {&QuizOptionsPage::ganz, &TQuizOptionsRec::ganz},
    {&QuizOptionsPage::sanz, &TQuizOptionsRec::sanz},
};

struct RadioField {
    QRadioButton* QuizOptionsPage::*control;
    bool TQuizOptionsRec::*field;
};

constexpr RadioField OrderFields[] = {
    {&QuizOptionsPage::rborder, &TQuizOptionsRec::rborder},
    {&QuizOptionsPage::rbrandom, &TQuizOptionsRec::rbrandom},
};

constexpr RadioField ModeFields[] = {
    {&QuizOptionsPage::rbabnorm, &TQuizOptionsRec::rbabnorm},
    {&QuizOptionsPage::rbabmult, &TQuizOptionsRec::rbabmult},
    {&QuizOptionsPage::rbabvor, &TQuizOptionsRec::rbabvor},
};

// Text as the record will hold it: characters outside the 8-bit alphabet
// become "?" at once, so the options in force equal the ones stored.
QString stored(const QString& text) {
    return platform::codec::fromBytes(platform::codec::toBytes(text));
}

// The lines of a memo: a final line break opens no further line, an empty
// memo has none.
QStringList memoLines(const QString& text) {
    if (text.isEmpty()) return {};
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.last().isEmpty()) lines.removeLast();
    for (QString& line : lines)
        line = stored(line);
    return lines;
}

QString cellText(const QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? stored(item->text()) : QString();
}

QString optionsPath() {
    return QuizOptionsPath.isEmpty() ? QuizOptionsFileFor(QString(), false) : QuizOptionsPath;
}

} // namespace

void QuizOptionsPage::connectControls() {
    for (QCheckBox* box : findChildren<QCheckBox*>())
        connect(box, &QCheckBox::toggled, this, &QuizOptionsPage::controlChanged);
    for (QRadioButton* button : findChildren<QRadioButton*>())
        connect(button, &QRadioButton::toggled, this, &QuizOptionsPage::controlChanged);
    for (QRadioButton* button : {rbabnorm, rbabmult, rbabvor})
        connect(button, &QRadioButton::toggled, this, &QuizOptionsPage::rbabmultClick);
    for (QLineEdit* field : {ems, edurch, exmal, esyn})
        connect(field, &QLineEdit::textEdited, this, &QuizOptionsPage::controlChanged);
    connect(ems, &QLineEdit::editingFinished, this, &QuizOptionsPage::emsExit);
    connect(edurch, &QLineEdit::editingFinished, this, &QuizOptionsPage::edurchExit);
    connect(exmal, &QLineEdit::editingFinished, this, &QuizOptionsPage::exmalChange);
    connect(esyn, &QLineEdit::editingFinished, this, &QuizOptionsPage::esynExit);
    connect(ComboBox1, &QComboBox::editTextChanged, this, &QuizOptionsPage::controlChanged);
    connect(ComboBox1->lineEdit(), &QLineEdit::editingFinished, this,
            &QuizOptionsPage::ComboBox1Exit);
    for (QSlider* slider : {ak12, tb1})
        connect(slider, &QSlider::valueChanged, this, &QuizOptionsPage::controlChanged);
    for (QPlainTextEdit* edit : {Memo4, Memo3, ukb})
        connect(edit, &QPlainTextEdit::textChanged, this, &QuizOptionsPage::controlChanged);
    connect(lkw, &QTableWidget::itemChanged, this, &QuizOptionsPage::controlChanged);
}

void QuizOptionsPage::controlChanged() {
    if (!loading_) storeControls();
}

void QuizOptionsPage::loadControls() {
    loading_ = true;
    const TQuizOptionsRec& record = *options_;
    for (const CheckBoxField& entry : CheckBoxFields)
        (this->*entry.control)->setChecked(record.*entry.field);
    // Of several buttons of one group stored as ticked the last one counts; a
    // group stored with none ticked shows none.
    auto setGroup = [this, &record](QButtonGroup* group, const auto& fields) {
        QRadioButton* ticked = nullptr;
        for (const RadioField& entry : fields)
            if (record.*entry.field) ticked = this->*entry.control;
        group->setExclusive(false);
        for (const RadioField& entry : fields)
            (this->*entry.control)->setChecked(this->*entry.control == ticked);
        group->setExclusive(true);
    };
    setGroup(OrderGroup, OrderFields);
    setGroup(ModeGroup, ModeFields);

    ems->setText(QString::number(record.ems));
    edurch->setText(QString::number(record.edurch));
    exmal->setText(QString::number(record.exmal));
    esyn->setText(QString(record.synonymSeparator()));
    ak12->setValue(record.ak12);
    tb1->setValue(record.tb1);
    ComboBox1->setEditText(record.ComboBox1);
    Memo4->setPlainText(platform::codec::memoToWidget(record.Memo4));
    Memo3->setPlainText(record.ArticleList.join(QLatin1Char('\n')));
    ukb->setPlainText(record.NeverCorrectedWords.join(QLatin1Char('\n')));
    for (int row = 0; row < TQuizOptionsRec::PairCount; ++row) {
        const CompatibleWordPair& pair = record.CompatibleWordPairs[row];
        lkw->setItem(row, 0, new QTableWidgetItem(pair.left));
        lkw->setItem(row, 1, new QTableWidgetItem(pair.right));
    }
    rbabmultClick();
    loading_ = false;
}

void QuizOptionsPage::storeControls() {
    TQuizOptionsRec record = *options_;
    for (const CheckBoxField& entry : CheckBoxFields)
        record.*entry.field = (this->*entry.control)->isChecked();
    for (const RadioField& entry : OrderFields)
        record.*entry.field = (this->*entry.control)->isChecked();
    for (const RadioField& entry : ModeFields)
        record.*entry.field = (this->*entry.control)->isChecked();

    // A field being typed in may hold no number yet: the value in force stays.
    record.ems = fieldNumber(ems->text(), record.ems);
    record.edurch = fieldNumber(edurch->text(), record.edurch);
    record.exmal = fieldNumber(exmal->text(), record.exmal);
    record.esyn = separatorCode(esyn->text());
    record.ak12 = ak12->value();
    record.tb1 = tb1->value();
    record.ComboBox1 = stored(ComboBox1->currentText());
    record.Memo4 = stored(platform::codec::memoFromWidget(Memo4->toPlainText()));
    record.ArticleList = memoLines(Memo3->toPlainText());
    record.NeverCorrectedWords = memoLines(ukb->toPlainText());
    for (int row = 0; row < TQuizOptionsRec::PairCount; ++row)
        record.CompatibleWordPairs[row] = {cellText(lkw, row, 0), cellText(lkw, row, 1)};
    record.normalize();
    *options_ = record;
}

void QuizOptionsPage::FormCreate() {
    options_->load(optionsPath());
    loadControls();
}

bool QuizOptionsPage::schlie() {
    checkFields();
    storeControls();
    return options_->save(optionsPath());
}

void QuizOptionsPage::rbabmultClick() {
    const bool timed = rbabvor->isChecked();
    for (QWidget* control :
         std::initializer_list<QWidget*>{ems, Label6, Label7, label21, edurch, cbnach})
        control->setEnabled(timed);
    cbms->setEnabled(rbabmult->isChecked());
}

namespace {

// Runs one exit check on a line edit; the edit shows the text it leaves.
template <typename Check> bool checkEdit(QLineEdit* field, bool& busy, Check check) {
    if (busy) // the check's own message box took the focus
        return true;
    busy = true;
    QString text = field->text();
    const bool kept = check(text);
    if (text != field->text()) field->setText(text);
    busy = false;
    return kept;
}

} // namespace

void QuizOptionsPage::emsExit() {
    checkEdit(ems, checking_, [](QString& text) {
        return checkNumberField(text, QString::number(TQuizOptionsRec::DefaultDisplayTime));
    });
    storeControls();
}

void QuizOptionsPage::edurchExit() {
    checkEdit(edurch, checking_, [](QString& text) {
        return checkNumberField(text, QString::number(TQuizOptionsRec::DefaultPasses));
    });
    storeControls();
}

void QuizOptionsPage::exmalChange() {
    checkEdit(exmal, checking_, [](QString& text) {
        return checkNumberField(text, QString::number(TQuizOptionsRec::DefaultDifficultAfter));
    });
    storeControls();
}

void QuizOptionsPage::esynExit() {
    checkEdit(esyn, checking_, [](QString& text) {
        checkSeparatorField(text);
        return true;
    });
    storeControls();
}

void QuizOptionsPage::ComboBox1Exit() {
    checkEdit(ComboBox1->lineEdit(), checking_,
              [](QString& text) { return checkAttemptsField(text); });
    storeControls();
}

bool QuizOptionsPage::checkFields() {
    bool kept = true;
    auto number = [this](QLineEdit* field, int defaultValue) {
        return checkEdit(field, checking_, [defaultValue](QString& text) {
            return checkNumberField(text, QString::number(defaultValue));
        });
    };
    kept &= number(ems, TQuizOptionsRec::DefaultDisplayTime);
    kept &= number(edurch, TQuizOptionsRec::DefaultPasses);
    kept &= number(exmal, TQuizOptionsRec::DefaultDifficultAfter);
    kept &= checkEdit(esyn, checking_, [](QString& text) {
        const bool wasSet = !text.isEmpty();
        checkSeparatorField(text);
        return wasSet;
    });
    kept &= checkEdit(ComboBox1->lineEdit(), checking_,
                      [](QString& text) { return checkAttemptsField(text); });
    storeControls();
    return kept;
}
