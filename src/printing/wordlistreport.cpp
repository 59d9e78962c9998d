#include "printing/wordlistreport.h"

#include "database/vocabularytable.h"
#include "platform/codec.h"
#include "printing/reportflow.h"
#include "quiz/accentstripping.h"

#include <cmath>

using report::Band;
using report::pxToDots;

// --- Sections ----------------------------------------------------------------

QString SectionKey(const PrintWord& word, PrintOrder primary, const QString& accentFontName) {
    switch (primary) {
    case PrintOrder::Lesson:
        return word.Lektion;
    case PrintOrder::ForeignWord:
        return greekaccents::akkonv(word.Fremdwort.left(1), accentFontName);
    case PrintOrder::Translation:
        return greekaccents::akkonv(word.Uebersetzung.left(1), accentFontName);
    case PrintOrder::WordClass:
        return QString::number(word.Wortart);
    case PrintOrder::Difficulty:
        return QString::number(word.Schwierigkeit);
    }
    return QString();
}

QString SectionCaption(const QString& key, PrintOrder primary, const QStringList& lessonLines,
                       const QStringList& lessonEntries) {
    if (key.isEmpty()) return QString();
    switch (primary) {
    case PrintOrder::Lesson:
        for (int i = 0; i < lessonLines.size() && i < lessonEntries.size(); ++i)
            if (lessonLines.at(i).startsWith(key)) return lessonEntries.at(i);
        return key;
    case PrintOrder::ForeignWord:
    case PrintOrder::Translation:
        return UpperFirstAscii(key.left(1));
    case PrintOrder::WordClass: {
        const int code = key.toInt();
        if (code >= WordClassMin && code < WordClassMax) return WordClassNames().at(code - 1);
        return WordClassNames().at(WordClassMax - 1); // "Sonstiges"
    }
    case PrintOrder::Difficulty: {
        static const QStringList names{
            QStringLiteral("Sehr leichte Vokabeln"), QStringLiteral("Leichte Vokabeln"),
            QStringLiteral("Normale Vokabeln"), QStringLiteral("Schwere Vokabeln"),
            QStringLiteral("Sehr schwere Vokabeln")};
        const int code = key.toInt();
        return code >= 1 && code <= names.size() ? names.at(code - 1) : QString();
    }
    }
    return QString();
}

bool SectionCaptionWanted(const QString& key, const QString& previousKey, bool captionsOn,
                          int lessonCount, PrintOrder primary) {
    return captionsOn && key != previousKey && !(lessonCount <= 1 && primary == PrintOrder::Lesson);
}

// --- Header and footer -------------------------------------------------------

QString ExpandPlaceholders(const QString& text, const PlaceholderValues& values) {
    QString result;
    int p = 0;
    while (p < text.size()) {
        if (text.at(p) == QLatin1Char('<')) {
            const int close = text.indexOf(QLatin1Char('>'), p + 1);
            if (close >= 0) {
                const QString name = text.mid(p + 1, close - p - 1);
                if (name == QLatin1String("seite"))
                    result += QString::number(values.page);
                else if (name == QLatin1String("datum"))
                    result += values.date;
                else if (name == QLatin1String("abschnitt"))
                    result += values.section;
                else if (name == QLatin1String("dbname"))
                    result += values.databaseName;
                else if (name == QLatin1String("dbsprache"))
                    result += values.language;
                p = close + 1;
                continue;
            }
        }
        result += text.at(p);
        ++p;
    }
    return result;
}

int Clamp1To200(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok) return 10;
    return std::clamp(value, 1, 200);
}

// --- Formats -------------------------------------------------------------------

QPageLayout::Orientation ListFormatOrientation(int format) {
    return format >= 3 ? QPageLayout::Landscape : QPageLayout::Portrait;
}

int ListFormatColumns(int format) {
    static const int columns[] = {1, 2, 3, 2, 3, 4};
    return columns[std::clamp(format, 0, 5)];
}

// --- The entries ---------------------------------------------------------------

namespace {

int roundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

// A genus as the list prints it: a single letter gets a full stop, and one
// that is not "f", "m" or "n" is capitalised.
QString genusText(const QString& genus) {
    QString text = genus;
    if (text.size() == 1) text += QLatin1Char('.');
    if (!text.isEmpty() && text.at(0) != QLatin1Char('f') && text.at(0) != QLatin1Char('m') &&
        text.at(0) != QLatin1Char('n'))
        text[0] = UpperAscii(text.at(0));
    return text;
}

QString joinNonEmpty(const QStringList& parts) {
    QStringList kept;
    for (const QString& part : parts)
        if (!part.isEmpty()) kept << part;
    return kept.join(QStringLiteral(", "));
}

class ListLayout {
  public:
    ListLayout(const WordListSettings& settings, double columnWidth)
        : s_(settings), size_(settings.fontSize == 11 ? 12 : settings.fontSize) {
        lineHeight_ = pxToDots(report::LineHeightFor(size_));
        widthPx_ = report::dotsToPx(columnWidth);
        width_ = columnWidth;
        translationLeft_ = pxToDots(roundHalfEven(0.55 * widthPx_));
        wordFont_ = report::reportFont(s_.fonts.wordFamily, size_);
        translationFont_ = report::reportFont(s_.fonts.translationFamily, size_);
        const QString captionFamily = s_.primary == PrintOrder::ForeignWord
                                          ? s_.fonts.wordFamily
                                          : s_.fonts.translationFamily;
        captionFont_ = report::reportFont(captionFamily, size_, true, true);
        titleFont_ = report::reportFont(QStringLiteral("Courier New"), size_ + 2, true);
    }

    Band titleBand() const {
        Band band;
        const double top = pxToDots(4);
        const double titleLine = pxToDots(report::LineHeightFor(size_ + 2));
        const double width = pxToDots(roundHalfEven(0.9 * widthPx_));
        const double left = (width_ - width) / 2;
        const QStringList lines = report::wrapText(s_.title, titleFont_, width);
        for (int i = 0; i < lines.size(); ++i)
            band.addText(left, top + i * titleLine, width, titleLine, lines.at(i), titleFont_,
                         QStringLiteral("LbTitel"), Qt::AlignHCenter);
        band.height = top + lines.size() * titleLine + lineHeight_ / 2;
        return band;
    }

    Band captionBand(const QString& caption) const {
        Band band;
        const double width = pxToDots(roundHalfEven(0.9 * widthPx_));
        const double left = (width_ - width) / 2;
        const int charset = s_.primary == PrintOrder::ForeignWord   ? s_.fonts.wordCharset
                            : s_.primary == PrintOrder::Translation ? s_.fonts.translationCharset
                                                                    : 1;
        const QString shown =
            s_.primary == PrintOrder::ForeignWord || s_.primary == PrintOrder::Translation
                ? platform::codec::toDisplay(caption, charset)
                : caption;
        const QStringList lines = report::wrapText(shown, captionFont_, width);
        const double top = lineHeight_ / 2;
        for (int i = 0; i < lines.size(); ++i)
            band.addText(left, top + i * lineHeight_, width, lineHeight_, lines.at(i), captionFont_,
                         QStringLiteral("drLektion"), Qt::AlignHCenter);
        band.height = std::max(2 * lineHeight_, top + (lines.size() + 0.5) * lineHeight_);
        return band;
    }

    // The entry of one word, and the six-field table of its principal parts
    // when it has one.
    QList<Band> wordBands(const PrintWord& word) const {
        Band band;
        const double pad = pxToDots(2);
        if (s_.lines) band.addLine(0, width_, 0, QStringLiteral("line"));

        QString genus = word.Genus;
        QString genitive = word.Genitiv;
        QStringList forms{word.PraeFut,      word.PerAor,        word.Perfekt,
                          word.Futur_passiv, word.Aorist_passiv, word.Perfekt_passiv};
        QString translation = word.Uebersetzung;
        if (s_.specialForms == PrintPlacement::None) {
            genus.clear();
            genitive.clear();
            for (QString& form : forms)
                form.clear();
        } else if (s_.specialForms == PrintPlacement::Right && !genus.isEmpty()) {
            translation += report::CrLf + genus.left(1) + QLatin1Char('.');
            genus.clear();
        }
        if (s_.remarks == PrintPlacement::Right && !word.Extra.isEmpty())
            translation += report::CrLf + QLatin1Char('[') + word.Extra + QLatin1Char(']');

        // The principal parts: one line of the first three forms, or the
        // table of all six when a passive form is there too; passive forms
        // alone print nothing.
        const bool activeForms = !(forms[0].isEmpty() && forms[1].isEmpty() && forms[2].isEmpty());
        const bool passiveForms = !(forms[3].isEmpty() && forms[4].isEmpty() && forms[5].isEmpty());
        const QString stammLine =
            activeForms && !passiveForms ? joinNonEmpty(forms.mid(0, 3)) : QString();
        const bool stammTable = activeForms && passiveForms;
        if (!genus.isEmpty()) genus = genusText(genus);

        const double leftWidth = translationLeft_ - pxToDots(1);
        const double rightWidth = width_ - translationLeft_;
        // Left column: the foreign word with the genus behind it when there is
        // no genitive to carry it.
        double leftY = pad;
        const bool genusAfterWord = genitive.isEmpty() && !genus.isEmpty();
        leftY =
            addWithGenus(band, 0, leftY, leftWidth, word.Fremdwort, wordFont_, s_.fonts.wordCharset,
                         genusAfterWord ? genus : QString(), QStringLiteral("drFremdwort"));

        double rightY = pad;
        rightY = addLines(band, translationLeft_, rightY, rightWidth, translation, translationFont_,
                          s_.fonts.translationCharset, QStringLiteral("drUebersetzung"));

        // Genitive (with the genus behind it) and the line of principal parts
        // under the foreign word or under the translation.
        const bool right = s_.specialForms == PrintPlacement::Right;
        double& formsY = right ? rightY : leftY;
        const double formsX = right ? translationLeft_ : 0;
        const double formsWidth = right ? rightWidth : leftWidth;
        if (!genitive.isEmpty())
            formsY = addWithGenus(band, formsX, formsY, formsWidth, genitive, wordFont_,
                                  s_.fonts.wordCharset, genus, QStringLiteral("DrGenitiv"));
        if (!stammLine.isEmpty())
            formsY = addLines(band, formsX, formsY, formsWidth, stammLine, wordFont_,
                              s_.fonts.wordCharset, QStringLiteral("DrStamm"));
        if (s_.remarks == PrintPlacement::Left && !word.Extra.isEmpty())
            leftY = addLines(band, 0, leftY, leftWidth, word.Extra, translationFont_,
                             s_.fonts.translationCharset, QStringLiteral("drBemerkung"));

        band.height = std::max({leftY, rightY, lineHeight_ + pxToDots(2)}) + pad;
        QList<Band> bands{band};
        if (stammTable) bands << formsTable(forms);
        return bands;
    }

  private:
    // The lines of a text from (x, y) down; returns the y below them.
    double addLines(Band& band, double x, double y, double width, const QString& stored,
                    const QFont& font, int charset, const QString& role) const {
        const QStringList lines =
            report::wrapText(platform::codec::toDisplay(stored, charset), font, width);
        for (const QString& line : lines) {
            band.addText(x, y, width, lineHeight_, line, font, role);
            y += lineHeight_;
        }
        return y;
    }

    // A text followed by ", " and the genus on its last line, or by the genus
    // on a line of its own when it does not fit there.
    double addWithGenus(Band& band, double x, double y, double width, const QString& stored,
                        const QFont& font, int charset, const QString& genus,
                        const QString& role) const {
        if (genus.isEmpty()) return addLines(band, x, y, width, stored, font, charset, role);
        const QString shown = platform::codec::toDisplay(stored + QStringLiteral(", "), charset);
        const QStringList lines = report::wrapText(shown, font, width);
        for (const QString& line : lines) {
            band.addText(x, y, width, lineHeight_, line, font, role);
            y += lineHeight_;
        }
        const QString genusShown = platform::codec::toDisplay(genus, s_.fonts.translationCharset);
        const double lastWidth = report::textWidth(lines.last(), font);
        const double genusWidth = report::textWidth(genusShown, translationFont_);
        if (lastWidth + genusWidth <= width) {
            band.addText(x + lastWidth, y - lineHeight_, width - lastWidth, lineHeight_, genusShown,
                         translationFont_, QStringLiteral("DrGenus"));
        } else {
            const double indent = pxToDots(5);
            band.addText(x + indent, y, width - indent, lineHeight_, genusShown, translationFont_,
                         QStringLiteral("DrGenus"));
            y += lineHeight_;
        }
        return y;
    }

    // The six principal parts in two rows of three columns.
    Band formsTable(const QStringList& forms) const {
        static const char* const roles[] = {"drPraeFut",     "drPerAor",       "drPerfekt",
                                            "drFuturPassiv", "drAoristpassiv", "drPerfektpassiv"};
        Band band;
        const double pad = pxToDots(2);
        const double columns[] = {pxToDots(4), pxToDots(roundHalfEven(0.4 * widthPx_) + 4),
                                  pxToDots(roundHalfEven(0.7 * widthPx_) + 4),
                                  width_ + pxToDots(4)};
        double y = pad;
        for (int row = 0; row < 2; ++row) {
            int rowLines = 1;
            for (int column = 0; column < 3; ++column) {
                const double x = columns[column];
                const double width = columns[column + 1] - x - pxToDots(4);
                const QStringList lines = report::wrapText(
                    platform::codec::toDisplay(forms.at(row * 3 + column), s_.fonts.wordCharset),
                    wordFont_, width);
                for (int i = 0; i < lines.size(); ++i)
                    band.addText(x, y + i * lineHeight_, width, lineHeight_, lines.at(i), wordFont_,
                                 QLatin1String(roles[row * 3 + column]));
                rowLines = std::max<int>(rowLines, lines.size());
            }
            y += rowLines * lineHeight_;
        }
        band.height = y + pad;
        if (s_.frameStamm)
            band.addFrame(QRectF(0, 0, width_, band.height), QStringLiteral("AbsStamm"));
        return band;
    }

    const WordListSettings& s_;
    int size_;
    double lineHeight_ = 0;
    double widthPx_ = 0;
    double width_ = 0;
    double translationLeft_ = 0;
    QFont wordFont_;
    QFont translationFont_;
    QFont captionFont_;
    QFont titleFont_;
};

} // namespace

report::ReportDocument LayoutWordList(const PrintWords& words, const WordListSettings& settings,
                                      const PrintProgress& progress,
                                      const report::PageReady& pageReady) {
    const int size = settings.fontSize == 11 ? 12 : settings.fontSize;
    report::PageFlow flow(ListFormatOrientation(settings.format), settings.page,
                          ListFormatColumns(settings.format), 4, size);
    flow.setPageReady(pageReady);
    const QString documentTitle = QStringLiteral("Orvilex - ") + settings.page.databaseName;
    if (words.isEmpty()) return flow.finish(documentTitle, false);

    ListLayout layout(settings, flow.columnWidth());
    QString previousKey;
    bool cancelled = false;
    for (int i = 0; i < words.count(); ++i) {
        const PrintWord& word = words.at(i);
        const QString key = SectionKey(word, settings.primary, settings.accentFontName);
        const QString section =
            SectionCaption(key, settings.primary, settings.lessonLines, settings.lessonEntries);
        QList<Band> group;
        if (i == 0) group << layout.titleBand();
        if (SectionCaptionWanted(key, previousKey, settings.sectionCaptions, settings.lessonCount,
                                 settings.primary))
            group << layout.captionBand(section);
        previousKey = key;
        group << layout.wordBands(word);
        if (i == 0 && group.size() > 1) {
            // The title stays in the first column whatever follows it.
            flow.place({group.takeFirst()}, section);
        }
        flow.place(group, section);
        if (progress && !progress(i + 1, words.count())) {
            cancelled = true;
            break;
        }
    }
    return flow.finish(documentTitle, cancelled);
}
