#include "quiz/quizengine.h"

#include "platform/random.h"
#include "quiz/accentstripping.h"

#include <algorithm>
#include <cmath>

namespace {

// Meanings required by the number of meanings (columns 1..10) and the position
// of the option's track bar (rows 0..6).
constexpr int RequiredMeaningsTable[7][10] = {
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, {1, 1, 1, 2, 2, 2, 2, 3, 3, 3}, {1, 1, 2, 2, 3, 3, 3, 3, 4, 4},
    {1, 2, 2, 2, 3, 3, 4, 4, 5, 5}, {1, 2, 2, 3, 4, 4, 5, 6, 6, 7}, {1, 2, 3, 3, 4, 5, 6, 7, 7, 8},
    {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}};

constexpr int PrepositionWordClass = 4;

} // namespace

comparison::ComparisonOptions ComparisonOptionsFrom(const TQuizOptionsRec& o) {
    comparison::ComparisonOptions c;
    c.aktign = o.aktign;
    c.cbfa = o.cbfa;
    c.cbkw = o.cbkw;
    for (const CompatibleWordPair& pair : o.CompatibleWordPairs)
        c.lkw.append({pair.left, pair.right});
    c.cbss = o.cbss;
    c.CheckBox5 = o.CheckBox5;
    c.Memo4 = o.Memo4;
    c.CheckBox3 = o.CheckBox3;
    c.CheckBox2 = o.CheckBox2;
    c.CheckBox4 = o.CheckBox4;
    c.Memo3 = o.ArticleList;
    c.ak1 = o.ak1;
    c.ak2 = o.ak2;
    c.ak3 = o.ak3;
    c.ak4 = o.ak4;
    c.ak12 = o.ak12;
    c.cbuk = o.cbuk;
    c.ukb = o.NeverCorrectedWords;
    c.cbrf = o.cbrf;
    c.cbklamm = o.cbklamm;
    c.cbsyn = o.cbsyn;
    c.esyn = QString(o.synonymSeparator());
    c.cbaue = o.cbaue;
    c.cbast = o.cbast;
    c.cbage = o.cbage;
    c.labf = o.labf;
    c.geabf = o.geabf;
    c.seabf = o.seabf;
    c.cbstamm = o.cbstamm;
    c.cbendung = o.cbendung;
    c.cbpraep = o.cbpraep;
    c.rbabmult = o.rbabmult;
    return c;
}

QuizEngine::QuizEngine(QuizStore& store, const TQuizOptionsRec& options)
    : store_(store), options_(options) {}

void QuizEngine::setDatabaseFacts(const QString& foreignFontName, int wordFontCharset) {
    foreignFontName_ = foreignFontName;
    wordFontCharset_ = wordFontCharset;
}

bool QuizEngine::greekFont() const {
    return foreignFontName_ == QLatin1String(greekaccents::GreekFontName);
}

comparison::ComparisonOptions QuizEngine::comparisonOptions() const {
    comparison::ComparisonOptions c = ComparisonOptionsFrom(options_);
    c.uber = uber();
    c.foreignFontName = foreignFontName_;
    c.WordFontCharset = wordFontCharset_;
    return c;
}

// --- start ------------------------------------------------------------------------------------

bool QuizEngine::start(const QuizSelection& selection, const QuizStore::Progress& progress) {
    return begin(selection, progress, false);
}

bool QuizEngine::resume(const QuizSelection& selection, const QuizStore::Progress& progress) {
    return begin(selection, progress, true);
}

bool QuizEngine::begin(const QuizSelection& selection, const QuizStore::Progress& progress,
                       bool resuming) {
    QuizInterrupted = false;
    KnownAtAttempt.fill(0);
    direction = static_cast<QuizDirection>(selection.options.direction());
    QuizRightCount = 0;
    QuizWrongCount = 0;
    RightCountForWord = 0;
    AnswerJudgedRight = false;
    MaxAttempts = options_.attemptLimit();
    QuizTotal = 0;
    QuizReached = 0;
    QuizRemaining = 0;
    DemoElapsed = 0;
    word_.reset();
    position_ = -1;
    phase_ = QuizPhase::Idle;

    pool_ = store_.selectWords(selection);
    QuizTotal = static_cast<int>(pool_.size());
    if (QuizTotal < 1) return false;
    store_.resetQuizState(pool_, progress);

    QuizRemaining = QuizTotal;
    QuizReached = 1;
    // The random draw belongs to a new quiz: a resumed one goes on with the
    // first word of its pool in table order.
    if (options_.rbrandom && !resuming) {
        QuizRandomIndex = platform::randomBelow(QuizRemaining);
        position_ = QuizRandomIndex;
    } else {
        position_ = 0;
    }
    loadCurrent();
    if (!word_) return false;
    CurrentAttempt = word_->Versuche;
    Felderset(true);
    phase_ = QuizPhase::Asking;
    return true;
}

void QuizEngine::loadCurrent() {
    word_.reset();
    while (!pool_.isEmpty()) {
        position_ = std::clamp(position_, 0, static_cast<int>(pool_.size()) - 1);
        word_ = store_.readWord(pool_.at(position_));
        if (word_) return;
        // A word that went away meanwhile leaves the pool.
        pool_.removeAt(position_);
        QuizRemaining = std::max(0, QuizRemaining - 1);
    }
    position_ = -1;
}

// --- the question -------------------------------------------------------------------------

void QuizEngine::Felderset(bool newWord) {
    switch (direction) {
    case QuizDirection::ForeignToNative:
        foreignShown_ = true;
        break;
    case QuizDirection::NativeToForeign:
        foreignShown_ = false;
        break;
    case QuizDirection::Mixed:
        foreignShown_ = newWord ? platform::randomBelow(2) == 1 : MixedDirectionForward;
        MixedDirectionForward = foreignShown_;
        break;
    }
    ordbe();
}

QString QuizEngine::questionText() const {
    if (!word_) return {};
    return foreignShown_ ? word_->Fremdwort : word_->Uebersetzung;
}

QString QuizEngine::expectedAnswerText() const {
    if (!word_) return {};
    return foreignShown_ ? word_->Uebersetzung : word_->Fremdwort;
}

void QuizEngine::ordbe() {
    meanings_ = comparison::meaningLines(expectedAnswerText());
    ExpectedMeaningCount = static_cast<int>(meanings_.size());
    RequiredMeanings = requiredMeaningsFor(ExpectedMeaningCount, options_.tb1);
}

int QuizEngine::requiredMeaningsFor(int meaningCount, int tb1) {
    const int p = std::clamp(tb1, 0, TQuizOptionsRec::MaxMeaningsPosition);
    if (meaningCount <= 0) return 1;
    if (meaningCount <= 10) return RequiredMeaningsTable[p][meaningCount - 1];
    // More meanings than the table knows: the same share as for ten.
    if (p == 0) return 1;
    if (p == TQuizOptionsRec::MaxMeaningsPosition) return meaningCount;
    const double share = RequiredMeaningsTable[p][9] / 10.0;
    return std::max(1, static_cast<int>(std::nearbyint(meaningCount * share)));
}

std::array<QString, 6> QuizEngine::storedForms() const {
    if (!word_) return {};
    const auto& f =
        word_->Forms; // PraeFut, PerAor, Perfekt, Perfekt_passiv, Aorist_passiv, Futur_passiv
    const bool greek = greekFont();
    return {f[0], f[1], f[2], greek ? f[3] : f[5], f[4], greek ? f[5] : f[3]};
}

bool QuizEngine::asksGenitive() const {
    return word_ && !options_.rbabmult && options_.geabf && !word_->Genitiv.isEmpty();
}

bool QuizEngine::asksGenus() const {
    return word_ && !options_.rbabmult && options_.seabf && !word_->Genus.isEmpty() &&
           (!options_.cbpraep || word_->Wortart != PrepositionWordClass);
}

bool QuizEngine::asksPrincipalParts() const {
    if (!word_ || options_.rbabmult || !options_.labf) return false;
    return std::any_of(word_->Forms.begin(), word_->Forms.end(),
                       [](const QString& form) { return !form.isEmpty(); });
}

// --- answering ----------------------------------------------------------------------------

bool QuizEngine::submit(const QString& typedAnswer, const TypedForms& forms,
                        std::optional<bool> multipleChoiceRight) {
    if (!word_) return false;
    RightCountForWord = 0;
    const comparison::ComparisonOptions options = comparisonOptions();
    const QStringList lines = comparison::answerLines(typedAnswer, meanings_.size());
    lastVerdict = comparison::judgeAnswer(lines, meanings_, RequiredMeanings, options);
    // In multiple choice only the chosen proposal counts; no choice is wrong.
    bool right =
        options_.rbabmult ? multipleChoiceRight.value_or(false) : lastVerdict.AnswerJudgedRight;

    comparison::SpecialFormsInput input;
    input.mm = forms.mm;
    input.m = storedForms();
    input.EGenitiv = forms.EGenitiv;
    input.DBMemo2 = word_->Genitiv;
    input.EGenus = forms.EGenus;
    input.DBMemo3 = word_->Genus;
    input.DBWortart = QString::number(word_->Wortart);
    input.DBFremdwort = word_->Fremdwort;
    lastFormsVerdict = comparison::sfpruf(input, options);
    if (!lastFormsVerdict.allRight()) right = false;

    AnswerJudgedRight = right;
    if (right) {
        RightCountForWord = 1;
        ++QuizRightCount;
    }
    phase_ = QuizPhase::Judged;
    return right;
}

bool QuizEngine::wantsSelfAssessment() const {
    return !AnswerJudgedRight && options_.CheckBox1 && !options_.rbabvor;
}

void QuizEngine::judgeRight() {
    AnswerJudgedRight = true;
    if (RightCountForWord == 0) {
        RightCountForWord = 1;
        ++QuizRightCount;
    }
}

void QuizEngine::judgeWrong() {
    AnswerJudgedRight = false;
    if (RightCountForWord > 0) {
        QuizRightCount -= RightCountForWord;
        RightCountForWord = 0;
    }
}

void QuizEngine::correctWord(const QuizWord& corrected) {
    if (!word_) return;
    QuizWord w = *word_;
    w.Fremdwort = corrected.Fremdwort;
    w.Uebersetzung = corrected.Uebersetzung;
    w.Forms = corrected.Forms;
    w.Genitiv = corrected.Genitiv;
    w.Genus = corrected.Genus;
    w.Extra = corrected.Extra;
    store_.writeWord(w);
    *word_ = w;
    Felderset(false);
}

void QuizEngine::retractVerdict() {
    if (RightCountForWord == 1) --QuizRightCount;
    RightCountForWord = 0;
}

// --- "&Weiter" ----------------------------------------------------------------------------

void QuizEngine::next() {
    if (!word_) {
        phase_ = QuizPhase::Finished;
        return;
    }
    if (!presentationMode()) {
        QuizWord& w = *word_;
        w.Letzte_gewusst = AnswerJudgedRight;
        if (!AnswerJudgedRight) ++w.Falsche_Antworten;
        ++w.Anzahl_Abfragen;
    }
    gotoNext();
}

void QuizEngine::stop() {
    if (running()) phase_ = QuizPhase::Idle;
}

void QuizEngine::presentationShown() {
    AnswerJudgedRight = true;
    next();
    AnswerJudgedRight = false;
}

void QuizEngine::gotoNext() {
    QuizWord& w = *word_;
    const bool demo = presentationMode();
    const int storedAttempts = w.Versuche;
    CurrentAttempt = storedAttempts + 1;

    // Whatever the verdict of this attempt.
    if (options_.cbxmal && w.Lektion != DifficultWordsLessonCode &&
        options_.exmal == CurrentAttempt)
        store_.copyToDifficultLesson(w);

    bool right = AnswerJudgedRight;
    if (demo || !right) {
        if (storedAttempts <= MaxAttempts) w.Versuche = CurrentAttempt;
    }
    // In the presentation mode every pass arrives here judged right, so each
    // pass counts at its attempt.
    if (right) ++KnownAtAttempt[std::clamp(CurrentAttempt, 1, 5) - 1];
    // A word that was only shown is never "known" otherwise.
    if (demo) {
        AnswerJudgedRight = false;
        right = false;
    }

    const bool staysInPool = !right && CurrentAttempt < MaxAttempts;
    if (!staysInPool) {
        if (QuizRemaining > 1) w.Abgefragt = true;
        --QuizRemaining;
    }
    store_.writeWord(w);
    moveInPool(!staysInPool);
}

void QuizEngine::moveInPool(bool finished) {
    const int current = position_;
    const bool wasLast = current >= static_cast<int>(pool_.size()) - 1;
    if (finished && current >= 0 && current < pool_.size()) pool_.removeAt(current);

    if (pool_.isEmpty() || QuizRemaining < 1) {
        word_.reset();
        position_ = -1;
        QuizReached = QuizTotal + 1;
        phase_ = QuizPhase::Finished;
        return;
    }
    if (options_.rbrandom) {
        const int count = std::min(QuizRemaining, static_cast<int>(pool_.size()));
        QuizRandomIndex = platform::randomBelow(count);
        position_ = QuizRandomIndex;
    } else if (wasLast) {
        position_ = 0;
    } else {
        // A finished word drops out, so its successor now stands at its place.
        position_ = finished ? current : current + 1;
    }
    loadCurrent();
    if (!word_) {
        QuizReached = QuizTotal + 1;
        phase_ = QuizPhase::Finished;
        return;
    }
    CurrentAttempt = word_->Versuche;
    if (CurrentAttempt < 1) ++QuizReached;
    Felderset(true);
    phase_ = QuizPhase::Asking;
}

// --- presentation mode ----------------------------------------------------------------------

int QuizEngine::demoTimerInterval(int ems) {
    return static_cast<int>(std::nearbyint(ems / 20.0)) + 1;
}

DemoTick QuizEngine::demoTick() {
    DemoElapsed += demoTimerInterval();
    DemoTick tick;
    if (options_.cbnach && 2 * DemoElapsed >= options_.ems) tick.showAnswer = true;
    if (DemoElapsed >= options_.ems) {
        tick.advance = true;
        DemoElapsed = 0;
    }
    return tick;
}
