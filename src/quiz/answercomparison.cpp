#include "quiz/answercomparison.h"

#include "platform/codec.h"
#include "quiz/comparisonchain.h"

#include <QRegularExpression>
#include <algorithm>

namespace comparison {
namespace {

using platform::codec::fromBytes;
using platform::codec::toBytes;

chain::Texts bytesOf(const ComparePair& pair) {
    return chain::Texts{toBytes(pair.GivenAnswer), toBytes(pair.ExpectedAnswer)};
}

void store(ComparePair& pair, const chain::Texts& texts) {
    pair.GivenAnswer = fromBytes(texts.G);
    pair.ExpectedAnswer = fromBytes(texts.E);
}

QStringList splitLines(const QString& text) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    return text.split(lineBreak);
}

bool compareLine(ComparePair& pair, const chain::Normaliser& normaliser) {
    const ComparisonOptions& o = normaliser.options();
    if (o.cbaue) {
        chain::Texts texts = bytesOf(pair);
        const bool match = normaliser.compare(texts);
        store(pair, texts);
        return match;
    }
    if (o.cbsyn && !pair.ExpectedAnswer.isEmpty()) {
        const QChar separator =
            platform::codec::storedChar(static_cast<unsigned char>(normaliser.synonymSeparator()));
        const QStringList pieces = pair.ExpectedAnswer.split(separator);
        for (QString piece : pieces) {
            if (piece.startsWith(QLatin1Char(' '))) piece.remove(0, 1);
            if (piece == pair.GivenAnswer) {
                pair.ExpectedAnswer = piece;
                break;
            }
        }
    }
    return pair.matches();
}

} // namespace

bool Vergleich(ComparePair& pair, const ComparisonOptions& options) {
    const chain::Normaliser normaliser(options);
    chain::Texts texts = bytesOf(pair);
    const bool match = normaliser.compare(texts);
    store(pair, texts);
    return match;
}

bool compareLine(ComparePair& pair, const ComparisonOptions& options) {
    return compareLine(pair, chain::Normaliser(options));
}

void NormaliseAnswers(ComparePair& pair, const ComparisonOptions& options) {
    chain::Texts texts = bytesOf(pair);
    chain::Normaliser(options).normalise(texts);
    store(pair, texts);
}

bool WordsMatchAnyOrder(ComparePair& pair, const ComparisonOptions& options) {
    chain::Texts texts = bytesOf(pair);
    const bool match = chain::Normaliser(options).wordsMatchAnyOrder(texts);
    store(pair, texts);
    return match;
}

QString FoldCase(const QString& text, bool ignoreCase) {
    if (!ignoreCase) return text;
    QString result = text;
    for (QChar& c : result)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 'a' + 'A');
    return result;
}

QString StripParentheses(const QString& text) {
    return fromBytes(chain::stripParentheses(toBytes(text)));
}

int CorrectionLimit(qsizetype expectedLength, int ak12) {
    return chain::correctionLimit(expectedLength, ak12);
}

QStringList meaningLines(const QString& storedAnswer) {
    // Only lines that end within the read length are meanings.
    QStringList lines = splitLines((storedAnswer + QLatin1Char('\r')).left(MaxStoredAnswerLength));
    lines.removeLast();
    QStringList meanings;
    for (const QString& line : lines)
        if (!line.isEmpty()) meanings.append(line);
    return meanings;
}

QStringList answerLines(const QString& typedAnswer, qsizetype meaningCount) {
    const QString text = typedAnswer.isEmpty() ? QStringLiteral(" ") : typedAnswer;
    const qsizetype limit = std::max<qsizetype>(MaxAnswerLines, meaningCount);
    QStringList lines;
    for (const QString& line : splitLines(text)) {
        if (line.isEmpty()) continue;
        if (lines.size() == limit) break;
        lines.append(line);
    }
    return lines;
}

QString AnswerVerdict::summary() const {
    return QString::number(MatchedMeanings) + QStringLiteral("/anzahlbe") +
           QString::number(ExpectedMeaningCount);
}

AnswerVerdict judgeAnswer(const QStringList& typedLines, const QStringList& meanings,
                          int requiredMeanings, const ComparisonOptions& options) {
    const chain::Normaliser normaliser(options);
    AnswerVerdict verdict;
    verdict.ExpectedMeaningCount = static_cast<int>(meanings.size());
    verdict.GivenLineCount = static_cast<int>(typedLines.size());
    // A word with meanings needs at least one and at most all of them.
    verdict.RequiredMeanings = meanings.isEmpty()
                                   ? requiredMeanings
                                   : std::clamp(requiredMeanings, 1, verdict.ExpectedMeaningCount);
    verdict.lineOfMeaning.fill(-1, meanings.size());
    verdict.AnswerLineUsed.fill(false, typedLines.size());
    for (qsizetype i = 0; i < meanings.size(); ++i) {
        if (verdict.MatchedMeanings >= verdict.ExpectedMeaningCount) break;
        for (qsizetype j = 0; j < typedLines.size(); ++j) {
            if (verdict.AnswerLineUsed.at(j)) continue;
            ComparePair pair{typedLines.at(j), meanings.at(i)};
            const bool match = compareLine(pair, normaliser);
            verdict.log << QStringLiteral("eingegeben:") + pair.GivenAnswer + QStringLiteral("##")
                        << QStringLiteral("buch:") + pair.ExpectedAnswer + QStringLiteral("##");
            if (match) {
                verdict.AnswerLineUsed[j] = true;
                verdict.lineOfMeaning[i] = static_cast<int>(j);
                ++verdict.MatchedMeanings;
                break;
            }
        }
    }
    verdict.AnswerJudgedRight = verdict.MatchedMeanings >= verdict.RequiredMeanings;
    return verdict;
}

} // namespace comparison
