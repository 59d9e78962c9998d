#include "quiz/comparisonchain.h"

#include "platform/codec.h"
#include "quiz/accentstripping.h"

#include <vector>

namespace comparison::chain {
namespace {

QByteArray bytesOf(const QString& stored) {
    return platform::codec::toBytes(stored);
}

// 1-based byte access; a position outside the text reads as 0, so that two
// such positions compare equal and "the letter before the first" matches.
unsigned char at(const QByteArray& s, qsizetype i) {
    return i >= 1 && i <= s.size() ? static_cast<unsigned char>(s[i - 1]) : 0;
}

void mapBytes(QByteArray& text, const std::array<unsigned char, 256>& table) {
    for (char& c : text)
        c = static_cast<char>(table[static_cast<unsigned char>(c)]);
}

const std::array<unsigned char, 256>& frenchAccentTable() {
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[b] = static_cast<unsigned char>(b);
        const auto set = [&t](std::initializer_list<int> bytes, char letter) {
            for (int b : bytes)
                t[b] = static_cast<unsigned char>(letter);
        };
        set({192, 193, 194}, 'A');
        set({199}, 'C');
        set({200, 201, 202}, 'E');
        set({204, 205, 206}, 'I');
        set({210, 211, 212}, 'O');
        set({217, 218, 219}, 'U');
        set({224, 225, 226}, 'a');
        set({231}, 'c');
        set({232, 233, 234, 235}, 'e');
        set({236, 237, 238}, 'i');
        set({242, 243, 244}, 'o');
        set({249, 250, 251}, 'u');
        return t;
    }();
    return table;
}

// Every blank ends a word and stays at its end; what follows the last blank
// is the last word, empty when the text ends with a blank. So the words of
// "rot blau" are "rot " and "blau", and a word typed last matches a word
// stored in the middle only when the chain makes up the blank (blanks
// ignored, or a typo correction).
QList<QByteArray> wordsOf(const QByteArray& text) {
    QList<QByteArray> words;
    qsizetype start = 0;
    for (qsizetype blank = text.indexOf(' '); blank >= 0; blank = text.indexOf(' ', start)) {
        words.append(text.mid(start, blank - start + 1));
        start = blank + 1;
    }
    words.append(text.mid(start));
    return words;
}

} // namespace

QByteArray foldCase(QByteArray text, bool ignoreCase) {
    if (!ignoreCase) return text;
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

int countChar(const QByteArray& text, char c) {
    return 1 + static_cast<int>(text.count(c));
}

QByteArray extractField(const QByteArray& text, char c, int n) {
    const QList<QByteArray> fields = text.split(c);
    return n >= 1 && n <= fields.size() ? fields.at(n - 1) : QByteArray();
}

int correctionLimit(qsizetype expectedLength, int ak12) {
    // length × (ak12 + 1) / 20 in integers, so that a half is exact and goes
    // to the even neighbour.
    const long long scaled = static_cast<long long>(expectedLength) * (ak12 + 1);
    const long long quotient = scaled / 20;
    const long long remainder = scaled % 20;
    long long limit = quotient;
    if (remainder > 10 || (remainder == 10 && quotient % 2 != 0)) ++limit;
    return static_cast<int>(limit);
}

QByteArray stripParentheses(const QByteArray& text) {
    QByteArray result = text;
    qsizetype p = 0;
    while ((p = result.indexOf('(', p)) >= 0) {
        const qsizetype q = result.indexOf(')', p);
        if (q < 0) break;
        result.remove(p, q - p + 1);
        // The scan goes on behind where the ")" stood; what moved up into the
        // removed stretch is not looked at again, so "a(b)(c)" keeps "(c)".
        p = q + 1;
    }
    return result;
}

Normaliser::Normaliser(const ComparisonOptions& options) : options_(options) {
    const bool fold = options.CheckBox3;
    for (const auto& pair : options.lkw) {
        if (pair.first.isEmpty() || pair.second.isEmpty()) continue;
        compatiblePairs_.append(std::make_pair(chain::foldCase(bytesOf(pair.first), fold),
                                               chain::foldCase(bytesOf(pair.second), fold)));
    }
    // An empty line would match at every position; it is no article and no
    // word to protect.
    for (const QString& line : options.Memo3)
        if (!line.isEmpty()) articles_.append(chain::foldCase(bytesOf(line), fold));
    for (const QString& line : options.ukb)
        if (!line.isEmpty()) neverCorrected_.append(chain::foldCase(bytesOf(line), fold));
    const QByteArray marks = bytesOf(options.Memo4);
    for (char c : marks)
        punctuation_[static_cast<unsigned char>(c)] = true;
    // The list is a memo: a line break in it stands for both CR and LF,
    // however the text reached us.
    if (punctuation_['\r'] || punctuation_['\n']) punctuation_['\r'] = punctuation_['\n'] = true;
    const QByteArray separator = bytesOf(options.esyn);
    separator_ = separator.isEmpty() ? ';' : separator.at(0);
}

QByteArray Normaliser::foldCase(QByteArray text) const {
    return chain::foldCase(std::move(text), options_.CheckBox3);
}

void Normaliser::greekAccents(Texts& texts) const {
    using namespace greekaccents;
    const AccentRule rule = accentRuleFor(options_.foreignFontName, options_.WordFontCharset);
    if (rule == AccentRule::None) return;
    for (QByteArray* s : {&texts.G, &texts.E}) {
        const QString stored = platform::codec::fromBytes(*s);
        *s = bytesOf(stripAccents(stored, options_.foreignFontName, options_.WordFontCharset));
    }
}

void Normaliser::compatibleWords(Texts& texts) const {
    for (const auto& [left, right] : compatiblePairs_) {
        for (QByteArray* s : {&texts.G, &texts.E}) {
            // The scan covers the positions of the text as it stood before
            // this pair; it goes on right after the start of a replacement.
            const qsizetype length = s->size();
            for (qsizetype i = 0; i < length; ++i) {
                // The list is folded when case is ignored, and so is the text
                // it is held against, though the text itself is folded later.
                if (foldCase(s->mid(i, left.size())) == left) s->replace(i, left.size(), right);
            }
        }
    }
}

void Normaliser::articles(Texts& texts) const {
    QByteArray& G = texts.G;
    QByteArray& E = texts.E;
    const qsizetype lg = G.size();
    const qsizetype le = E.size();
    for (qsizetype i = 0; i < le; ++i) {
        bool removed = true;
        while (removed) {
            removed = false;
            for (const QByteArray& article : articles_) {
                if (E.mid(i, article.size()) == article && (G.contains(article) || lg < le)) {
                    E.remove(i, article.size());
                    removed = true; // the list starts again at the same place
                    break;
                }
            }
        }
    }
    for (qsizetype i = 0; i < lg; ++i)
        for (const QByteArray& article : articles_)
            if (G.mid(i, article.size()) == article) G.remove(i, article.size());
}

bool Normaliser::neverCorrectedBlocks(const Texts& texts) const {
    for (const QByteArray& word : neverCorrected_) {
        const qsizetype length = word.size();
        for (qsizetype i = 0; i < texts.E.size(); ++i) {
            if (texts.E.mid(i, length) != word) continue;
            // The word stands in the expected text; correcting is allowed only
            // when the typed text holds it near the same place.
            const qsizetype p = texts.G.indexOf(word);
            if (p < 0 || (p - i) * (p - i) > length * length) return true;
        }
    }
    return false;
}

void Normaliser::correctTypos(Texts& texts, TypoState& state) const {
    QByteArray& G = texts.G;
    const QByteArray& E = texts.E;
    const auto canCorrect = [&] { return G != E && state.CorrectionsUsed < state.CorrectionLimit; };
    bool corrected = true;
    while (corrected && canCorrect()) {
        corrected = false;
        qsizetype i = 0;
        while (!(G.size() <= i && E.size() <= i) && canCorrect()) {
            ++i;
            if (G.size() < i) G.append('_');
            if (at(G, i) == at(E, i)) continue;
            const qsizetype lg = G.size();
            const qsizetype le = E.size();
            bool applied = true;
            if (options_.ak1 && at(G, i) == at(E, i + 1) && at(G, i + 1) == at(E, i) && lg == le &&
                i < lg) {
                std::swap(G[i - 1], G[i]);
            } else if (options_.ak2 && lg > le &&
                       (at(G, i + 1) == at(E, i) || at(G, i - 1) == at(E, i - 1) || i > le)) {
                G.remove(i - 1, 1);
            } else if (options_.ak3 && i <= le &&
                       (at(G, i) == at(E, i + 1) || (at(G, i - 1) == at(E, i - 1) && lg < le))) {
                G.insert(i - 1, E[i - 1]);
            } else if (options_.ak4 && i <= le &&
                       (at(G, i + 1) == at(E, i + 1) ||
                        (at(G, i - 1) == at(E, i - 1) && lg == le))) {
                G[i - 1] = E[i - 1];
            } else {
                applied = false;
            }
            if (applied) {
                ++state.CorrectionsUsed;
                corrected = true;
            }
        }
    }
}

void Normaliser::typos(Texts& texts, TypoState& state) const {
    state.CorrectionsUsed = 0;
    state.CorrectionBlocked = false;
    state.CorrectionLimit = correctionLimit(texts.E.size(), options_.ak12);
    if (options_.cbuk && texts.G != texts.E) state.CorrectionBlocked = neverCorrectedBlocks(texts);
    // "Vertauschte Buchstaben" switches the whole correction on; the other
    // three boxes only pick further kinds of typo within it.
    if (texts.G != texts.E && options_.ak1 && !state.CorrectionBlocked) correctTypos(texts, state);
}

void Normaliser::normalise(Texts& texts, unsigned steps, TypoState* typo) const {
    const ComparisonOptions& o = options_;
    const auto runs = [&](Step step, bool ticked) {
        return (steps & step) != 0 && ticked && texts.G != texts.E;
    };
    if (runs(GreekAccents, o.aktign && o.uber)) greekAccents(texts);
    if (runs(FrenchAccents, o.cbfa)) {
        mapBytes(texts.G, frenchAccentTable());
        mapBytes(texts.E, frenchAccentTable());
    }
    if (runs(CompatibleWords, o.cbkw)) compatibleWords(texts);
    if (runs(SharpS, o.cbss)) {
        const QByteArray ss = o.CheckBox3 ? QByteArrayLiteral("SS") : QByteArrayLiteral("ss");
        texts.G.replace('\xDF', ss);
        texts.E.replace('\xDF', ss);
    }
    if (runs(Punctuation, o.CheckBox5)) {
        const auto isMark = [this](char c) { return punctuation_[static_cast<unsigned char>(c)]; };
        texts.G.removeIf(isMark);
        texts.E.removeIf(isMark);
    }
    if (runs(Case, o.CheckBox3)) {
        texts.G = foldCase(texts.G);
        texts.E = foldCase(texts.E);
    }
    if (runs(Blanks, o.CheckBox2)) {
        texts.G.replace(" ", "");
        texts.E.replace(" ", "");
    }
    if (runs(Articles, o.CheckBox4)) articles(texts);
    if ((steps & Typos) != 0 && texts.G != texts.E) {
        TypoState local;
        typos(texts, typo ? *typo : local);
    }
}

bool Normaliser::wordsMatchAnyOrder(Texts& texts) const {
    const QList<QByteArray> given = wordsOf(texts.G);
    const QList<QByteArray> expected = wordsOf(texts.E);
    if (given.size() > MaxWordsPerSide || expected.size() > MaxWordsPerSide) return false;
    // Each expected word answers at most one typed word and each typed word
    // uses at most one expected word. Expected words that the chain reduces
    // to nothing need not be typed.
    std::vector<bool> used(expected.size(), false);
    std::vector<bool> vanished(expected.size(), false);
    qsizetype matched = 0;
    for (const QByteArray& a : given) {
        bool aMatched = false;
        for (qsizetype j = 0; j < expected.size(); ++j) {
            if (used[j]) continue;
            Texts pair{a, expected.at(j)};
            normalise(pair);
            if (pair.E.isEmpty()) vanished[j] = true;
            if (!aMatched && pair.equal() && !pair.G.isEmpty()) {
                used[j] = true;
                aMatched = true;
                ++matched;
            }
        }
    }
    qsizetype vanishedUnused = 0;
    for (qsizetype j = 0; j < expected.size(); ++j)
        if (vanished[j] && !used[j]) ++vanishedUnused;
    const bool match =
        matched == given.size() && matched + vanishedUnused >= expected.size() && matched > 0;
    if (match) texts.G = texts.E;
    return match;
}

bool Normaliser::compare(Texts& texts) const {
    const ComparisonOptions& o = options_;
    // Every attempt starts from the text as typed and from its own synonym.
    const QByteArray G0 = texts.G;
    const QByteArray E0 = texts.E;
    const int attempts = o.cbsyn ? countChar(E0, separator_) : 1;
    for (int k = 1; k <= attempts && !texts.equal(); ++k) {
        QByteArray Ek = E0;
        if (o.cbsyn) {
            Ek = extractField(E0, separator_, k);
            if (Ek.startsWith(' ')) Ek.remove(0, 1);
        }
        const Texts restore{G0, Ek};
        texts = restore;
        normalise(texts);
        if (!texts.equal() && o.cbrf) {
            texts = restore;
            normalise(texts, WordOrderSteps);
            if (!wordsMatchAnyOrder(texts)) texts = restore;
        }
        if (!texts.equal() && o.cbklamm) {
            texts = Texts{stripParentheses(restore.G), stripParentheses(restore.E)};
            normalise(texts);
            if (!texts.equal()) texts = restore;
        }
    }
    return texts.equal();
}

} // namespace comparison::chain
