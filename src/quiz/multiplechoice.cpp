#include "quiz/multiplechoice.h"

#include "database/vocabularytable.h"
#include "engine/query.h"
#include "platform/random.h"

#include <QFont>
#include <QTextLayout>
#include <algorithm>
#include <cstdlib>

namespace multiplechoice {
namespace {

// How far the look-up goes: rows read, narrowing steps, and the rows that
// must remain for a narrower statement to be kept.
struct Reach {
    int scanLength;
    int narrowingSteps;
    int minimumRows;
};

Reach reachOf(bool hard) {
    return hard ? Reach{80, 5, 10} : Reach{50, 0, 20};
}

// The look-up query: a statement that fails leaves the query closed and
// reports false, so the caller can go back to the last good one.
class Lookup {
  public:
    Lookup() { query_.setRequestLive(false); }
    ~Lookup() { query_.close(); }

    bool open(const QStringList& lines) {
        try {
            query_.close();
            query_.setSql(lines);
            query_.open();
            current_ = lines;
            return true;
        } catch (const platform::Error& error) {
            query_.close();
            error_ = error.message();
            return false;
        }
    }
    int rows() const { return query_.isActive() ? query_.recordCount() : 0; }
    QString value(int row, int column) const { return query_.valueAt(row, column).toString(); }
    int column(const QString& field) const { return query_.fieldIndex(field); }
    const QStringList& current() const { return current_; }
    const QString& error() const { return error_; }

  private:
    engine::Query query_;
    QStringList current_;
    QString error_;
};

// Narrows the table as far as enough rows remain; the query is left open on
// the statement to collect from.
void narrow(Lookup& lookup, const Request& request, const QString& field, const Reach& reach,
            const QString& prefix, const QString& stem) {
    const QStringList all{QStringLiteral("SELECT * FROM ") +
                          engine::quoteLiteral(ShortPath(request.tablePath))};
    QStringList lastGood = all;
    if (!lookup.open(all)) return;

    QStringList base = all;
    if (lookup.rows() > reach.minimumRows && request.wordClass > 0) {
        base << QStringLiteral("WHERE Wortart=%1").arg(request.wordClass);
        if (!lookup.open(base)) {
            lookup.open(lastGood);
            base = all;
        }
    }
    for (int k = 1; k <= reach.narrowingSteps; ++k) {
        if (lookup.rows() <= reach.minimumRows) continue;
        lastGood = lookup.current();
        QStringList narrower = base;
        narrower << (base.size() > 1 ? QStringLiteral("AND ") : QStringLiteral("WHERE ")) + field +
                        QStringLiteral(" LIKE ") +
                        engine::quoteLiteral(NarrowingPattern(prefix, stem, k)) +
                        QStringLiteral(" ESCAPE ") + engine::quoteLiteral(QString(PatternEscape));
        if (!lookup.open(narrower)) {
            lookup.open(lastGood);
            break;
        }
    }
    if (lookup.rows() <= reach.minimumRows && lookup.current() != lastGood) lookup.open(lastGood);
}

// Reads up to scan-length answers that differ from everything read before,
// skipping a random 0..2 rows after each while the table is large enough.
QStringList collect(const Lookup& lookup, const QString& field, const QString& answer,
                    const Reach& reach) {
    const int rows = lookup.rows();
    const int column = lookup.column(field);
    QStringList seen{answer};
    QStringList candidates;
    if (column < 0) return candidates;
    int row = 0;
    int skipped = 0;
    for (int n = 0; n < reach.scanLength && row < rows; ++n) {
        QString value;
        do {
            value = lookup.value(row, column);
            ++row;
        } while (seen.contains(value) && row < rows);
        if (!seen.contains(value)) {
            seen << value;
            if (!value.isEmpty()) candidates << value;
        }
        if (rows - skipped >= reach.scanLength + 3) {
            const int skip = platform::randomBelow(3);
            row += skip;
            skipped += skip;
        }
    }
    return candidates;
}

struct Scored {
    QString text;
    int score = 0;
};

// The three candidates with the lowest scores, in the order the choice
// leaves them.
std::array<Scored, 3> choose(const QStringList& candidates, const QString& answer, bool hard) {
    std::array<Scored, 3> best;
    for (int i = 0; i < 3; ++i) {
        const QString text = i < candidates.size() ? candidates.at(i) : QString();
        best[i] = {text, CountLetterDifferences(answer, text, hard)};
    }
    for (int pass = 0; pass < 2; ++pass)
        for (int j = 0; j < 2; ++j)
            if (best[j].score > best[j + 1].score) std::swap(best[j], best[j + 1]);
    for (qsizetype i = 3; i < candidates.size(); ++i) {
        const int score = CountLetterDifferences(answer, candidates.at(i), hard);
        if (score >= best[2].score) continue;
        for (Scored& place : best)
            if (place.score > score) {
                place = {candidates.at(i), score};
                break;
            }
    }
    return best;
}

} // namespace

QString AnswerPrefix(const QString& answer) {
    static const QStringList prefixes{
        QStringLiteral("der"), QStringLiteral("die"), QStringLiteral("das"), QStringLiteral("ein"),
        QStringLiteral("jdn"), QStringLiteral("jdm"), QStringLiteral("jmd"), QStringLiteral("etw"),
        QStringLiteral("sic"), QStringLiteral("in "), QStringLiteral("nic")};
    const QString start = answer.left(3);
    return prefixes.contains(start) ? start : QString();
}

QString NarrowingPattern(const QString& prefix, const QString& stem, int k) {
    QString pattern;
    for (const QChar c : prefix + stem.left(k)) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QChar(PatternEscape))
            pattern += QChar(PatternEscape);
        pattern += c;
    }
    return pattern + QLatin1Char('%');
}

int CountLetterDifferences(const QString& a, const QString& b, bool hard) {
    const qsizetype la = a.size();
    const qsizetype lb = b.size();
    int score = static_cast<int>(std::abs(la - lb));
    const qsizetype half = std::min(la, lb) / 2;
    for (qsizetype i = 1; i <= half; ++i) {
        if (a.at(i - 1) != b.at(i - 1)) ++score;
        if (a.at(la - i) != b.at(lb - i)) {
            ++score;
            if (i < 4) ++score;
        }
    }
    if (!hard) {
        if (score < 4 && la > 3) score = 80;
        score += platform::randomBelow(3);
    }
    return score == 0 ? 10000 : score;
}

Proposals FillMultipleChoice(const Request& request) {
    Proposals p;
    p.prefix = AnswerPrefix(request.answer);
    p.stem = request.answer.mid(p.prefix.size());
    p.right = platform::randomBelow(4) + 1;
    p.texts[p.right - 1] = request.answer;
    p.filled[p.right - 1] = true;

    const QString field =
        request.foreignExpected ? QStringLiteral("Fremdwort") : QStringLiteral("Uebersetzung");
    const Reach reach = reachOf(request.hard);
    {
        Lookup lookup;
        narrow(lookup, request, field, reach, p.prefix, p.stem);
        p.statement = lookup.current();
        p.candidates = collect(lookup, field, request.answer, reach);
        if (p.statement.isEmpty()) p.error = lookup.error();
    }

    const std::array<Scored, 3> best = choose(p.candidates, request.answer, request.hard);
    int place = 0;
    for (const Scored& chosen : best) {
        while (place < 4 && p.filled[place])
            ++place;
        if (place == 4) break;
        p.texts[place] = chosen.text;
        p.filled[place] = !chosen.text.isEmpty();
        ++place;
    }
    return p;
}

QString JoinedLines(const QString& stored) {
    QString joined = stored;
    joined.replace(QLatin1String("\r\n"), QLatin1String(", "));
    // A lone break would start a second line on the button.
    joined.replace(QLatin1Char('\r'), QLatin1String(", "));
    joined.replace(QLatin1Char('\n'), QLatin1String(", "));
    return joined;
}

QString FitCaption(const QString& shown, const QFont& font, int width) {
    QTextLayout layout(shown, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine first = layout.createLine();
    if (!first.isValid()) {
        layout.endLayout();
        return shown;
    }
    first.setLineWidth(std::max(1, width));
    const bool more = layout.createLine().isValid();
    layout.endLayout();
    if (!more) return shown;
    QString line = shown.mid(first.textStart(), first.textLength());
    while (line.endsWith(QLatin1Char(' ')))
        line.chop(1);
    return line + QStringLiteral("..");
}

} // namespace multiplechoice
