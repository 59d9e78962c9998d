#include "printing/indexcards.h"

#include "platform/codec.h"
#include "printing/reportflow.h"

#include <cmath>

using report::Band;
using report::mmToDots;

const CardMeasureRange CardWidthRange{"Karteikartenbreite", 91.5, 110, 50, "91,5"};
const CardMeasureRange CardHeightRange{"Karteikartenhöhe", 43.5, 90, 25, "43,5"};
const CardMeasureRange CardGapHRange{"Abstand horizontal", 1.5, 60, 0, "1,5"};
const CardMeasureRange CardGapVRange{"Abstand vertikal", 4.0, 60, 0, "4,0"};

namespace {

int roundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

} // namespace

// --- Card measures -------------------------------------------------------------

bool ParseCardMeasure(const QString& text, double* value) {
    QString normal = text.trimmed();
    normal.replace(QLatin1Char(','), QLatin1Char('.'));
    if (normal.isEmpty()) return false;
    // Only digits and one decimal separator (with an optional sign): no
    // exponents, no "inf" or "nan".
    int separators = 0;
    for (int i = 0; i < normal.size(); ++i) {
        const QChar c = normal.at(i);
        if (c == QLatin1Char('.')) {
            ++separators;
        } else if (!c.isDigit() || c.unicode() > 127) {
            if (!(i == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+')))) return false;
        }
    }
    if (separators > 1) return false;
    bool ok = false;
    const double parsed = normal.toDouble(&ok);
    if (!ok || !std::isfinite(parsed)) return false;
    if (value) *value = parsed;
    return true;
}

QString FormatCardMeasure(double value) {
    QString text = QString::number(value, 'g', 15);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

CardMeasureCheck CheckCardLayoutValue(const CardMeasureRange& range, const QString& text) {
    CardMeasureCheck check;
    const QString name = QString::fromUtf8(range.name);
    double value = 0;
    if (!ParseCardMeasure(text, &value)) {
        check.value = range.defaultValue;
        check.text = QString::fromUtf8(range.defaultText);
        check.message = QStringLiteral("Karteikartenlayout: ") + name +
                        QStringLiteral(" ist ungültig. Der Wert wird zurückgesetzt.");
        return check;
    }
    if (value < range.minimum || value > range.maximum) {
        check.value = value < range.minimum ? range.minimum : range.maximum;
        check.text = FormatCardMeasure(check.value);
        check.message = QStringLiteral("Karteikartenlayout: Ungültiger Wert. ") + name +
                        QStringLiteral(" muss zwischen ") + FormatCardMeasure(range.minimum) +
                        QStringLiteral(" mm und ") + FormatCardMeasure(range.maximum) +
                        QStringLiteral(" mm liegen. Der Wert wird korrigiert.");
        return check;
    }
    check.value = value;
    check.text = text;
    return check;
}

double CardMeasureValue(const CardMeasureRange& range, const QString& text) {
    double value = 0;
    if (!ParseCardMeasure(text, &value)) return range.defaultValue;
    return std::clamp(value, range.minimum, range.maximum);
}

// --- Cards ---------------------------------------------------------------------

QList<CardRow> PlanCardRows(int wordCount, CardKind kind) {
    QList<CardRow> rows;
    if (kind == CardKind::Fold) {
        for (int i = 0; i < wordCount; ++i)
            rows << CardRow{i, CardSide::Front, i, CardSide::Back};
        return rows;
    }
    const CardSide side = kind == CardKind::Front ? CardSide::Front : CardSide::Back;
    for (int i = 0; i < wordCount; i += 2) {
        const int previous = i;
        const int current = i + 1 < wordCount ? i + 1 : -1;
        CardRow row;
        row.leftSide = row.rightSide = side;
        if (kind == CardKind::Front) {
            // A lone front stands on the right …
            row.left = current < 0 ? -1 : previous;
            row.right = current < 0 ? previous : current;
        } else {
            // … so that its back, printed on the other side of the sheet,
            // stands on the left.
            row.left = current < 0 ? previous : current;
            row.right = current < 0 ? -1 : previous;
        }
        rows << row;
    }
    return rows;
}

QString FitCardText(const QString& text, bool hasFirstPrincipalPart, int translationSize) {
    const int limit = hasFirstPrincipalPart ? 40 : 60;
    const int maxLines = roundHalfEven(double(limit) / std::max(1, translationSize));
    if (text.count(QLatin1Char('\r')) <= maxLines) return text;
    QString joined = text;
    joined.replace(QLatin1Char('\r'), QStringLiteral(", "));
    return joined;
}

CardRowPlaces CardRowPositions(double cardHeight, int rows) {
    CardRowPlaces places;
    if (rows <= 0) return places;
    const int t = roundHalfEven((cardHeight - 4) * 10);
    const double divisor = rows >= 4 ? 25 : rows == 3 ? 22 : 18;
    places.start = 2 + roundHalfEven(t / divisor);
    places.step = roundHalfEven((t / 10.0 - places.start) / rows);
    return places;
}

namespace {

// The lines of a card's main text. Only carriage returns break a line there:
// a back whose breaks were turned into ", " keeps its line feeds, and they
// must not break it again.
QStringList cardParagraphs(const QString& text) {
    QString normal = text;
    normal.remove(QLatin1Char('\n'));
    return normal.split(QLatin1Char('\r'));
}

// One word prepared for its cards.
struct CardWord {
    QString foreign;
    QString translation;
    QString remark; // for the front only
    QString genitive;
    QString genus;
    QStringList forms; // PraeFut, PerAor, Perfekt, Futur_Passiv, Aorist_Passiv, Perfekt_Passiv
    QString lesson;    // the lesson label
};

class CardLayout {
  public:
    explicit CardLayout(const CardSettings& settings) : s_(settings) {}

    CardWord prepare(const PrintWord& word) const {
        CardWord card;
        card.foreign = word.Fremdwort;
        card.translation = word.Uebersetzung;
        card.remark = word.Extra;
        if (s_.remarks == PrintPlacement::Right) {
            if (!card.remark.isEmpty())
                card.translation +=
                    report::CrLf + QLatin1Char('[') + card.remark + QLatin1Char(']');
            card.remark.clear();
        } else if (s_.remarks == PrintPlacement::None) {
            card.remark.clear();
        }
        card.genitive = word.Genitiv;
        card.genus = word.Genus;
        card.forms = QStringList{word.PraeFut,      word.PerAor,        word.Perfekt,
                                 word.Futur_passiv, word.Aorist_passiv, word.Perfekt_passiv};
        if (s_.specialForms == PrintPlacement::None) {
            card.genitive.clear();
            card.genus.clear();
            for (QString& form : card.forms)
                form.clear();
        }
        for (int i = 0; i < s_.lessonLines.size() && i < s_.lessonEntries.size(); ++i) {
            if (s_.lessonLines.at(i).left(5) == word.Lektion) {
                card.lesson = CardLessonLabel(s_.lessonEntries.at(i));
                break;
            }
        }
        return card;
    }

    // One card at horizontal offset `offset` (mm) of the row.
    void fill(Band& band, int position, const CardWord& word, CardSide side) const {
        const double offset = position == 0 ? 0 : s_.width + s_.gapH;
        const double x1 = 6 + offset;
        const double x2 = s_.width / 3 + 5 + offset;
        const double x3 = 2 * s_.width / 3 + 3 + offset;
        const double frameLeft = position == 0 ? 2.1 : s_.width + s_.gapH + 2;
        const double frameTop = 2.1;
        const double frameBottom = frameTop + s_.height;
        const QString suffix = QString::number(position + 1);
        if (s_.frame)
            band.addFrame(QRectF(mmToDots(frameLeft), mmToDots(frameTop), mmToDots(s_.width),
                                 mmToDots(s_.height)),
                          QStringLiteral("QRShape") + suffix);

        const bool formsHere =
            (s_.specialForms == PrintPlacement::Left && side == CardSide::Front) ||
            (s_.specialForms == PrintPlacement::Right && side == CardSide::Back);
        const double textWidth = s_.width - 5;

        if (s_.lessonLabel && !word.lesson.isEmpty()) {
            const QFont font = report::reportFont(QStringLiteral("Arial"), s_.lessonSize);
            addLine(band, x1, 3.5, textWidth, s_.lessonSize,
                    report::elideText(word.lesson, font, mmToDots(textWidth)), font,
                    QStringLiteral("lekt") + suffix);
        }

        // The main text: the foreign word in front, the translation behind.
        const double mainTop = s_.lessonLabel ? 9.5 : 5.5;
        QString mainText;
        QFont mainFont;
        int mainSize = 0;
        if (side == CardSide::Front) {
            mainSize = s_.wordSize;
            mainFont = report::reportFont(s_.fonts.wordFamily, mainSize);
            mainText = platform::codec::toDisplay(word.foreign, s_.fonts.wordCharset);
        } else {
            mainSize = s_.translationSize;
            mainFont = report::reportFont(s_.fonts.translationFamily, mainSize);
            const bool firstForm = formsHere && !word.forms.at(0).isEmpty();
            mainText = platform::codec::toDisplay(
                FitCardText(word.translation, firstForm, s_.translationSize),
                s_.fonts.translationCharset);
        }
        const double lineMm = report::dotsToMm(report::pxToDots(report::LineHeightFor(mainSize)));
        double y = mainTop;
        for (const QString& paragraph : cardParagraphs(mainText)) {
            for (const QString& line :
                 report::wrapParagraph(paragraph, mainFont, mmToDots(textWidth))) {
                // What no longer fits above the frame's lower edge is left out
                // rather than printed into the next row of cards.
                if (y + lineMm > frameBottom + 0.5) break;
                addLine(band, x1, y, textWidth, mainSize, line, mainFont,
                        QStringLiteral("kart") + suffix, Qt::AlignHCenter);
                y += lineMm;
            }
        }

        // The rows under the main text, each only when it has text.
        const QFont formFont = report::reportFont(s_.fonts.wordFamily, s_.specialSize);
        const QFont translationSmall =
            report::reportFont(s_.fonts.translationFamily, s_.specialSize);
        const QString remark = side == CardSide::Front ? word.remark : QString();
        QStringList forms = formsHere ? word.forms : QStringList(6, QString());
        const QString genitive = formsHere ? word.genitive : QString();
        const QString genus = formsHere ? word.genus : QString();
        const bool row1 = !(forms[0].isEmpty() && forms[1].isEmpty() && forms[2].isEmpty());
        const bool row2 = !(forms[3].isEmpty() && forms[4].isEmpty() && forms[5].isEmpty());
        const bool genRow = !genitive.isEmpty() || !genus.isEmpty();
        const int rows = int(!remark.isEmpty()) + int(row1) + int(row2) + int(genRow);
        const CardRowPlaces places = CardRowPositions(s_.height, rows);
        double rowY = places.start;
        const double columns[] = {x1, x2, x3, x1 + textWidth};
        if (!remark.isEmpty()) {
            addLine(
                band, x1, rowY, textWidth, s_.specialSize,
                report::elideText(platform::codec::toDisplay(remark, s_.fonts.translationCharset),
                                  translationSmall, mmToDots(textWidth)),
                translationSmall, QStringLiteral("kart") + suffix + QLatin1Char('0'));
            rowY += places.step;
        }
        for (int row = 0; row < 2; ++row) {
            if (!(row == 0 ? row1 : row2)) continue;
            for (int column = 0; column < 3; ++column) {
                const double width = columns[column + 1] - columns[column] - 1;
                const QString shown =
                    platform::codec::toDisplay(forms.at(row * 3 + column), s_.fonts.wordCharset);
                addLine(band, columns[column], rowY, width, s_.specialSize,
                        report::elideText(shown, formFont, mmToDots(width)), formFont,
                        QStringLiteral("ks%1%2").arg(position + 1).arg(row * 3 + column + 1));
            }
            rowY += places.step;
        }
        if (genRow) {
            double genusX = x1;
            if (!genitive.isEmpty()) {
                const QString shown = platform::codec::toDisplay(genitive, s_.fonts.wordCharset);
                const QString fitted = report::elideText(shown, formFont, mmToDots(textWidth));
                addLine(band, x1, rowY, textWidth, s_.specialSize, fitted, formFont,
                        QStringLiteral("kgen") + suffix);
                genusX = x1 + report::dotsToMm(report::textWidth(fitted, formFont)) + 8;
            }
            if (!genus.isEmpty()) {
                const double width = std::max(5.0, x1 + textWidth - genusX);
                addLine(band, genusX, rowY, width, s_.specialSize,
                        platform::codec::toDisplay(genus, s_.fonts.translationCharset),
                        translationSmall, QStringLiteral("ksex") + suffix);
            }
        }
    }

  private:
    // A line of text at (x, y) millimetres.
    static void addLine(Band& band, double x, double y, double width, int size, const QString& text,
                        const QFont& font, const QString& role,
                        Qt::Alignment align = Qt::AlignLeft) {
        band.addText(mmToDots(x), mmToDots(y), mmToDots(width),
                     report::pxToDots(report::LineHeightFor(size)), text, font, role, align);
    }

    const CardSettings& s_;
};

} // namespace

report::ReportDocument LayoutIndexCards(const PrintWords& words, const CardSettings& input,
                                        const PrintProgress& progress,
                                        const report::PageReady& pageReady) {
    // Measures outside their ranges would let rows overlap or never fill a
    // page; they are kept within them here whatever the edits held.
    CardSettings settings = input;
    settings.width = std::clamp(settings.width, CardWidthRange.minimum, CardWidthRange.maximum);
    settings.height = std::clamp(settings.height, CardHeightRange.minimum, CardHeightRange.maximum);
    settings.gapH = std::clamp(settings.gapH, CardGapHRange.minimum, CardGapHRange.maximum);
    settings.gapV = std::clamp(settings.gapV, CardGapVRange.minimum, CardGapVRange.maximum);

    report::PageFlow flow(QPageLayout::Portrait, settings.page, 1, 0, settings.specialSize);
    flow.setPageReady(pageReady);
    const QString documentTitle = QStringLiteral("Orvilex - ") + settings.page.databaseName;
    CardLayout layout(settings);
    bool cancelled = false;
    int done = 0;
    for (const CardRow& row : PlanCardRows(words.count(), settings.kind)) {
        Band band;
        band.height = mmToDots(settings.height + settings.gapV);
        if (row.left >= 0) layout.fill(band, 0, layout.prepare(words.at(row.left)), row.leftSide);
        if (row.right >= 0)
            layout.fill(band, 1, layout.prepare(words.at(row.right)), row.rightSide);
        const int first = row.left < 0    ? row.right
                          : row.right < 0 ? row.left
                                          : std::min(row.left, row.right);
        const QString section =
            SectionCaption(SectionKey(words.at(first), settings.primary, settings.accentFontName),
                           settings.primary, settings.lessonLines, settings.lessonEntries);
        flow.place({band}, section);
        done = std::max({done, row.left + 1, row.right + 1});
        if (progress && !progress(done, words.count())) {
            cancelled = true;
            break;
        }
    }
    return flow.finish(documentTitle, cancelled);
}
