#include "exchange/exportformat.h"

#include "database/vocabularytable.h"
#include "platform/codec.h"

#include <QVector>

QString ExportRecordSeparator = QStringLiteral("\r\n");
QString ExportFieldSeparator = QStringLiteral("\t");
QString ExportTranslationSeparator = QStringLiteral(", ");
QString ExportRecordReplacement = QStringLiteral("§$");
QString ExportFieldReplacement = QStringLiteral("~+");
QString ExportTranslationReplacement = QStringLiteral("##");

namespace {

const QString CrLf = QStringLiteral("\r\n");
// Ends the descriptor; no separator may contain it.
const QChar DescriptorEnd = QChar(0xE5);
const QChar DescriptorJoin = QLatin1Char('B');

} // namespace

// --- separators -------------------------------------------------------------------

ExportSeparators ExportSeparators::current() {
    return fromAll({ExportRecordSeparator, ExportFieldSeparator, ExportTranslationSeparator,
                    ExportRecordReplacement, ExportFieldReplacement, ExportTranslationReplacement});
}

void ExportSeparators::publish() const {
    ExportRecordSeparator = record;
    ExportFieldSeparator = field;
    ExportTranslationSeparator = translation;
    ExportRecordReplacement = recordReplacement;
    ExportFieldReplacement = fieldReplacement;
    ExportTranslationReplacement = translationReplacement;
}

std::array<QString, 6> ExportSeparators::all() const {
    return {
        record, field, translation, recordReplacement, fieldReplacement, translationReplacement};
}

ExportSeparators ExportSeparators::fromAll(const std::array<QString, 6>& parts) {
    ExportSeparators s;
    s.record = parts[0];
    s.field = parts[1];
    s.translation = parts[2];
    s.recordReplacement = parts[3];
    s.fieldReplacement = parts[4];
    s.translationReplacement = parts[5];
    return s;
}

QString ReplaceEvery(const QString& text, const QString& searched, const QString& replacement) {
    // QString::replace scans left to right and never looks into what it
    // inserted; only the empty pattern (which it would insert everywhere)
    // needs keeping out.
    if (searched.isEmpty() || !text.contains(searched)) return text;
    QString result = text;
    result.replace(searched, replacement);
    return result;
}

namespace {

QString escapePair(const QString& text, const QString& separator, const QString& replacement) {
    return replacement.isEmpty() ? text : ReplaceEvery(text, separator, replacement);
}

} // namespace

QString EscapeSeparators(const QString& text, const ExportSeparators& s) {
    QString result = escapePair(text, s.record, s.recordReplacement);
    result = escapePair(result, s.field, s.fieldReplacement);
    return escapePair(result, s.translation, s.translationReplacement);
}

QString EscapeSeparators(const QString& text) {
    return EscapeSeparators(text, ExportSeparators::current());
}

QString UnescapeSeparators(const QString& text, const ExportSeparators& s) {
    QString result = ReplaceEvery(text, s.recordReplacement, s.record);
    result = ReplaceEvery(result, s.fieldReplacement, s.field);
    return ReplaceEvery(result, s.translationReplacement, s.translation);
}

QString UnescapeSeparators(const QString& text) {
    return UnescapeSeparators(text, ExportSeparators::current());
}

QString RtfEscape(const QString& text, bool active) {
    if (!active) return text;
    static const char hex[] = "0123456789ABCDEF";
    QString out;
    out.reserve(text.size() * 2);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') ||
            u == '\\' || u == '\'') {
            out += c;
            continue;
        }
        int byte = platform::codec::storedByte(c);
        if (byte < 0) byte = '?';
        out += QLatin1String("\\'");
        out += QLatin1Char(hex[byte >> 4]);
        out += QLatin1Char(hex[byte & 15]);
    }
    return out;
}

QString TranslationExportForm(const QString& stored, const ExportSeparators& s) {
    // A separator without a replacement stays as it is, as in every value.
    QString text = escapePair(stored, s.translation, s.translationReplacement);
    // Meanings stand on lines of their own. A stray LF or CR (not part of a
    // CR LF) separates meanings just the same, so it becomes a separator too
    // rather than a line break in the middle of a record.
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'))) {
        QString joined;
        joined.reserve(text.size() + 8);
        for (int i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c == QLatin1Char('\r')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) ++i;
                joined += s.translation;
            } else if (c == QLatin1Char('\n')) {
                joined += s.translation;
            } else {
                joined += c;
            }
        }
        text = joined;
    }
    text = escapePair(text, s.record, s.recordReplacement);
    return escapePair(text, s.field, s.fieldReplacement);
}

QString TranslationImportForm(const QString& text, const ExportSeparators& s) {
    return UnescapeSeparators(ReplaceEvery(text, s.translation, CrLf), s);
}

QString SeparatorFromChoice(const QString& choice, bool rtf) {
    if (choice == QLatin1String("Tabulator"))
        return rtf ? QStringLiteral("\\tab ") : QStringLiteral("\t");
    if (choice == QLatin1String("Zeilenumbruch")) return rtf ? QStringLiteral("\\par\r\n") : CrLf;
    return choice;
}

SeparatorCheck CheckExportSeparators(const std::array<QString, 6>& typed, bool rtf) {
    SeparatorCheck check;
    std::array<QString, 6> converted;
    for (int i = 0; i < 6; ++i)
        converted[i] = SeparatorFromChoice(typed[i], rtf);
    check.separators = ExportSeparators::fromAll(converted);

    for (int i = 0; i < 3; ++i)
        if (converted[i].isEmpty() || converted[i] == QLatin1String(" ")) {
            check.message = QStringLiteral("Bitte alle notwendigen Trennzeichen angeben!");
            return check;
        }
    if (!rtf)
        for (const QString& s : converted)
            if (s.contains(DescriptorJoin) || s.contains(DescriptorEnd)) {
                check.message = QStringLiteral(
                    "Die Zeichen \"B\" und \"å\" können nicht als Trenn- oder Ersatzzeichen "
                    "verwendet werden, da die Datei sonst nicht wieder importiert werden kann.");
                return check;
            }
    // The last equal pair found names the string, as the user sees it typed.
    QString repeated;
    for (int i = 0; i < 6; ++i)
        for (int j = i + 1; j < 6; ++j)
            if (!converted[i].isEmpty() && converted[i] == converted[j]) repeated = typed[i];
    // A repeated separator is only pointed out: the export goes on, though
    // the file may not read back as it was.
    if (!repeated.isEmpty())
        check.message = QStringLiteral("Das Trennzeichen \"") + repeated +
                        QStringLiteral("\" wurde mehrmals angegeben!");
    check.ok = true;
    return check;
}

// --- fields -----------------------------------------------------------------------

const QString& ExportFieldName(int position) {
    static const QString names[ExportFieldCount + 1] = {
        QString(),
        QStringLiteral("Fremdwort"),
        QStringLiteral("Uebersetzung"),
        QStringLiteral("Lektion"),
        QStringLiteral("Wortart"),
        QStringLiteral("Schwierigkeit"),
        QStringLiteral("Extra"),
        QStringLiteral("Genus"),
        QStringLiteral("Genitiv"),
        QStringLiteral("PraeFut"),
        QStringLiteral("PerAor"),
        QStringLiteral("Perfekt"),
        QStringLiteral("Perfekt_passiv"),
        QStringLiteral("Aorist_passiv"),
        QStringLiteral("Futur_passiv"),
    };
    return names[position >= 1 && position <= ExportFieldCount ? position : 0];
}

int ExportFieldFont(int position) {
    // The word itself and its forms in the foreign-word font; translation,
    // lesson and the descriptive fields in the translation font.
    switch (position) {
    case FieldUebersetzung:
    case FieldLektion:
    case FieldWortart:
    case FieldSchwierigkeit:
    case FieldExtra:
    case FieldGenus:
        return 1;
    default:
        return 0;
    }
}

QString WordClassName(int code) {
    const int item = WordClassItem(code);
    return item < 0 ? QString() : WordClassNames().at(item);
}

QString DifficultyName(int code) {
    const int item = DifficultyItem(code);
    return item < 0 ? QString() : DifficultyNames().at(item);
}

int WordClassCode(const QString& name) {
    return int(WordClassNames().indexOf(name)) + 1;
}

int DifficultyCode(const QString& name) {
    return int(DifficultyNames().indexOf(name)) + 1;
}

// --- layouts ----------------------------------------------------------------------

ExportSettings ExportSettings::defaults() {
    ExportSettings settings;
    settings.fields[FieldFremdwort] = settings.fields[FieldUebersetzung] =
        settings.fields[FieldLektion] = true;
    return settings;
}

QString ExportFieldMask(const ExportSettings& settings) {
    QString mask;
    for (int i = 1; i <= ExportFieldCount; ++i)
        mask += QLatin1Char(settings.fields[i] ? '1' : '0');
    return mask;
}

QString ExportDescriptorLine(const ExportSettings& settings) {
    QString line = ExportFieldMask(settings);
    const auto parts = settings.separators.all();
    for (int i = 0; i < int(parts.size()); ++i) {
        if (i > 0) line += DescriptorJoin;
        line += parts[i];
    }
    return line + DescriptorEnd + CrLf;
}

QString ExportTextHeader(const ExportSettings& settings, const QString& tablePath,
                         const QString& date) {
    return ExportDescriptorLine(settings) + CrLf + QStringLiteral("Export aus der Datei \"") +
           tablePath + QStringLiteral("\", durchgeführt am \"") + date + QStringLiteral("\"") +
           CrLf + CrLf + QString(84, QLatin1Char('-')) + CrLf + CrLf;
}

QString RtfProlog(const ExportSettings& settings) {
    const RtfFont& f0 = settings.fonts[0];
    const RtfFont& f1 = settings.fonts[1];
    return QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset") +
           QString::number(f0.charset) + QLatin1Char(' ') + f0.name +
           QStringLiteral(";}{\\f1\\fnil\\fcharset") + QString::number(f1.charset) +
           QLatin1Char(' ') + f1.name + QStringLiteral(";}}") + CrLf;
}

QString RtfEpilog() {
    return QStringLiteral("}") + CrLf;
}

QString ExportHeader(const ExportSettings& settings, const QString& tablePath,
                     const QString& date) {
    return settings.rtf ? RtfProlog(settings) : ExportTextHeader(settings, tablePath, date);
}

QString ExportFooter(const ExportSettings& settings) {
    return settings.rtf ? RtfEpilog() : QString();
}

namespace {

enum class RtfCover { SeparatorAndValue, ValueOnly, Nothing };

RtfCover rtfCoverOf(int position) {
    switch (position) {
    case FieldWortart:
        return RtfCover::ValueOnly;
    case FieldLektion:
    case FieldSchwierigkeit:
    case FieldGenus:
        return RtfCover::Nothing;
    default:
        return RtfCover::SeparatorAndValue;
    }
}

// The text of a field as the file holds it, before any RTF escaping.
QString writtenValue(const ExchangeWord& word, int position, const ExportSeparators& s) {
    switch (position) {
    case FieldUebersetzung:
        return TranslationExportForm(word[position], s);
    case FieldLektion:
        return word[position];
    case FieldWortart:
        return WordClassName(word.wortart);
    case FieldSchwierigkeit:
        return DifficultyName(word.schwierigkeit);
    default:
        return EscapeSeparators(word[position], s);
    }
}

// Whether a field is left out of its record: it is empty (the name of a code
// out of range is empty too) and empty fields are not written.
bool leftOut(const ExchangeWord& word, int position, const QString& value,
             const ExportSettings& settings) {
    if (settings.emptyFields) return false;
    return (position == FieldWortart || position == FieldSchwierigkeit) ? value.isEmpty()
                                                                        : word[position].isEmpty();
}

// Whether the import, reading `value` followed by the separator `ending`,
// ends the field at a separator that starts inside the value. A separator
// that only overlaps the value's last character ("a:" before "::") counts.
bool endsInsideValue(const QString& value, const QString& ending, const ExportSeparators& s) {
    const auto holds = [&](const QString& separator) {
        return !separator.isEmpty() && value.contains(separator.front());
    };
    if (!holds(s.field) && !holds(s.record)) return false;
    const QString text = value + ending;
    for (int end = 1; end <= text.size(); ++end) {
        const QStringView read = QStringView(text).left(end);
        // The import tests the field separator first.
        for (const QString* separator : {&s.field, &s.record})
            if (!separator->isEmpty() && read.endsWith(*separator))
                return end - separator->size() < value.size();
    }
    return false;
}

// Whether the import, which parts the translation at each separator from the
// left, parts a meaning of the translation (its separators already replaced
// where they have a replacement): one that holds the separator, or one whose
// end begins the separator written after it ("x:" before "::"), which no
// replacement covers.
bool meaningParted(const QString& escaped, const QString& separator) {
    if (separator.isEmpty() || !escaped.contains(separator.front())) return false;
    const QChar cr = QLatin1Char('\r');
    const QChar lf = QLatin1Char('\n');
    qsizetype from = 0;
    while (true) {
        qsizetype end = from;
        while (end < escaped.size() && escaped.at(end) != cr && escaped.at(end) != lf)
            ++end;
        const QString meaning = escaped.mid(from, end - from);
        if (end == escaped.size()) return meaning.contains(separator);
        // Each line end, CR LF or a lone CR or LF, is written as one separator.
        if ((meaning + separator).indexOf(separator) < meaning.size()) return true;
        from = end + 1;
        if (escaped.at(end) == cr && from < escaped.size() && escaped.at(from) == lf) ++from;
    }
}

} // namespace

int UnreadableExportValues(const ExchangeWord& word, const ExportSettings& settings) {
    if (settings.rtf) return 0;
    const ExportSeparators& s = settings.separators;
    QVector<int> positions;
    QStringList values;
    for (int position = 1; position <= ExportFieldCount; ++position) {
        if (!settings.fields[position]) continue;
        const QString value = writtenValue(word, position, s);
        if (leftOut(word, position, value, settings)) continue;
        positions << position;
        values << value;
    }
    int count = 0;
    for (int i = 0; i < values.size(); ++i) {
        const QString& ending = i + 1 < values.size() ? s.field : s.record;
        const bool parted = positions.at(i) == FieldUebersetzung &&
                            meaningParted(escapePair(word[FieldUebersetzung], s.translation,
                                                     s.translationReplacement),
                                          s.translation);
        if (parted || endsInsideValue(values.at(i), ending, s)) ++count;
    }
    return count;
}

void AppendExportRecord(QString& out, const ExchangeWord& word, const ExportSettings& settings) {
    const ExportSeparators& s = settings.separators;
    bool first = true;
    for (int position = 1; position <= ExportFieldCount; ++position) {
        if (!settings.fields[position]) continue;
        const QString value = writtenValue(word, position, s);
        if (leftOut(word, position, value, settings)) continue;

        const QString separator = first ? QString() : s.field;
        first = false;
        if (!settings.rtf) {
            out += separator;
            out += value;
            continue;
        }
        const RtfFont& font = settings.fonts[ExportFieldFont(position)];
        out +=
            QStringLiteral("\\f%1\\fs%2 ").arg(ExportFieldFont(position)).arg(font.pointSize * 2);
        switch (rtfCoverOf(position)) {
        case RtfCover::SeparatorAndValue:
            out += RtfEscape(separator + value);
            break;
        case RtfCover::ValueOnly:
            out += separator;
            out += RtfEscape(value);
            break;
        case RtfCover::Nothing:
            out += separator;
            out += value;
            break;
        }
    }
    if (!first) out += s.record;
}

QString ExportRecord(const ExchangeWord& word, const ExportSettings& settings) {
    QString out;
    AppendExportRecord(out, word, settings);
    return out;
}
