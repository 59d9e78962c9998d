#include "quiz/comparisonspecialforms.h"

#include "platform/codec.h"
#include "quiz/accentstripping.h"
#include "quiz/comparisonchain.h"

#include <initializer_list>

namespace comparison {
namespace {

using greekaccents::AccentRule;
using platform::codec::fromBytes;
using platform::codec::toBytes;

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray result;
    for (int v : values)
        result.append(static_cast<char>(v));
    return result;
}

// Articles that may stand before a Greek foreign word, per way of typing.
QList<QByteArray> articlePrefixes(AccentRule rule) {
    switch (rule) {
    case AccentRule::SymbolFont:
        return {bytes({208, 32}), bytes({185, 32}), bytes({116, 213, 32}), bytes({111, 131, 32}),
                bytes({97, 131, 32})};
    case AccentRule::Hebgri:
        return {"o< ", "h< ", "to\\ ", "oi< ", "ai< "};
    case AccentRule::Codepage1253:
        return {bytes({239, 32}), bytes({231, 32}), bytes({244, 239, 32}), bytes({244, 225, 32}),
                bytes({239, 233, 32})};
    case AccentRule::None:
        break;
    }
    return {};
}

QByteArray strip(const QByteArray& text, const ComparisonOptions& o) {
    return toBytes(
        greekaccents::stripAccents(fromBytes(text), o.foreignFontName, o.WordFontCharset));
}

void cutToEnding(chain::Texts& texts, const QString& foreignWord, const ComparisonOptions& o) {
    QByteArray W = toBytes(foreignWord);
    const AccentRule rule = greekaccents::accentRuleFor(o.foreignFontName, o.WordFontCharset);
    if (rule != AccentRule::None) {
        for (const QByteArray& prefix : articlePrefixes(rule))
            if (W.startsWith(prefix)) W.remove(0, prefix.size());
        W = strip(W, o);
        texts.E = strip(texts.E, o);
        texts.G = strip(texts.G, o);
    }
    // p: the first position (1-based) where the form departs from the word.
    qsizetype p = 1;
    while (p < W.size() && p < texts.E.size() && W[p - 1] == texts.E[p - 1])
        ++p;
    if (texts.E.size() - p + 1 <= texts.G.size() + 1) texts.E = texts.E.right(texts.G.size());
}

bool principalPartCorrected(const chain::Normaliser& normaliser, const QString& given,
                            const QString& expected, const QString& foreignWord) {
    const ComparisonOptions& o = normaliser.options();
    const chain::Texts stripped{strip(toBytes(given), o), strip(toBytes(expected), o)};
    chain::Texts texts = stripped;
    if (o.cbstamm) cutToEnding(texts, foreignWord, o);
    if (texts.E.isEmpty()) return true;
    normaliser.compare(texts);
    if (!texts.equal() && o.cbstamm) {
        // The whole form typed is right as well.
        texts = stripped;
        normaliser.compare(texts);
    }
    return texts.equal();
}

bool principalPartExact(const ComparisonOptions& o, const QString& given, const QString& expected,
                        const QString& foreignWord) {
    chain::Texts texts{strip(toBytes(given), o), strip(toBytes(expected), o)};
    if (o.cbstamm) cutToEnding(texts, foreignWord, o);
    return texts.E.isEmpty() || texts.equal();
}

bool genitiveCorrected(const chain::Normaliser& normaliser, const QString& given,
                       const QString& expected, const QString& foreignWord) {
    const ComparisonOptions& o = normaliser.options();
    chain::Texts texts{toBytes(given), toBytes(expected)};
    if (o.cbendung) cutToEnding(texts, foreignWord, o);
    if (texts.E.isEmpty()) return true;
    return normaliser.compare(texts);
}

bool genitiveExact(const ComparisonOptions& o, const QString& given, const QString& expected,
                   const QString& foreignWord) {
    chain::Texts texts{toBytes(given), toBytes(expected)};
    if (o.cbendung) cutToEnding(texts, foreignWord, o);
    return texts.E.isEmpty() || texts.equal();
}

} // namespace

bool SpecialFormsVerdict::allRight() const {
    for (bool right : principalPartRight)
        if (!right) return false;
    return genitiveRight && genusRight;
}

SpecialFormsVerdict sfpruf(const SpecialFormsInput& input, const ComparisonOptions& o) {
    SpecialFormsVerdict verdict;
    if (o.rbabmult) return verdict;
    const chain::Normaliser normaliser(o);
    // The principal parts are judged whenever they are asked, with or
    // without the Greek accent option.
    if (o.labf) {
        for (std::size_t k = 0; k < input.m.size(); ++k) {
            verdict.principalPartRight[k] =
                o.cbast
                    ? principalPartCorrected(normaliser, input.mm[k], input.m[k], input.DBFremdwort)
                    : principalPartExact(o, input.mm[k], input.m[k], input.DBFremdwort);
        }
    }
    if (o.geabf && !input.DBMemo2.isEmpty()) {
        verdict.genitiveRight =
            o.cbage
                ? genitiveCorrected(normaliser, input.EGenitiv, input.DBMemo2, input.DBFremdwort)
                : genitiveExact(o, input.EGenitiv, input.DBMemo2, input.DBFremdwort);
    }
    if (o.seabf && !input.DBMemo3.isEmpty()) {
        const bool shownNotAsked = o.cbpraep && input.DBWortart == QLatin1String("4");
        if (!shownNotAsked)
            verdict.genusRight =
                !input.EGenus.isEmpty() && input.EGenus.at(0) == input.DBMemo3.at(0);
    }
    return verdict;
}

bool mapu(const QString& given, const QString& expected, const QString& foreignWord,
          const ComparisonOptions& options) {
    return principalPartCorrected(chain::Normaliser(options), given, expected, foreignWord);
}

bool pauker(const QString& given, const QString& expected, const QString& foreignWord,
            const ComparisonOptions& options) {
    return principalPartExact(options, given, expected, foreignWord);
}

bool gapu(const QString& given, const QString& expected, const QString& foreignWord,
          const ComparisonOptions& options) {
    return genitiveCorrected(chain::Normaliser(options), given, expected, foreignWord);
}

bool gauker(const QString& given, const QString& expected, const QString& foreignWord,
            const ComparisonOptions& options) {
    return genitiveExact(options, given, expected, foreignWord);
}

void checkit(ComparePair& pair, const QString& foreignWord, const ComparisonOptions& options) {
    chain::Texts texts{toBytes(pair.GivenAnswer), toBytes(pair.ExpectedAnswer)};
    cutToEnding(texts, foreignWord, options);
    pair.GivenAnswer = fromBytes(texts.G);
    pair.ExpectedAnswer = fromBytes(texts.E);
}

} // namespace comparison
