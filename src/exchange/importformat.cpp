#include "exchange/importformat.h"

#include "database/lessons.h"
#include "platform/codec.h"

#include <QFileInfo>
#include <QStringDecoder>

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QChar DescriptorEnd = QChar(0xE5);
const QChar DescriptorJoin = QLatin1Char('B');
// Lines after the descriptor's own line end: empty line, title, empty line,
// dashes, empty line.
constexpr int HeaderLinesAfterDescriptor = 5;

const QChar Cr = QLatin1Char('\r');
const QChar Lf = QLatin1Char('\n');

// The position after the line that starts at `from`, its line end included:
// CR LF, LF CR, or a lone LF or CR, as files from different systems end their
// lines. The text's length when no line end follows.
int afterLine(const QString& content, int from) {
    const int size = int(content.size());
    for (int i = from; i < size; ++i) {
        const QChar c = content.at(i);
        if (c != Cr && c != Lf) continue;
        const bool pair = i + 1 < size && content.at(i + 1) == (c == Cr ? Lf : Cr);
        return i + (pair ? 2 : 1);
    }
    return size;
}

} // namespace

// --- export files -------------------------------------------------------------

ExportDescriptor ReadExportDescriptor(const QString& content) {
    ExportDescriptor d;
    const int end = int(content.indexOf(DescriptorEnd));
    const QString descriptor = end < 0 ? content : content.left(end);
    for (int i = 1; i <= ExportFieldCount && i <= descriptor.size(); ++i)
        d.mask[i] = descriptor.at(i - 1) == QLatin1Char('1');

    // The separators: the rest split at every "B" into six parts, the last one
    // running to the end.
    std::array<QString, 6> parts;
    int partCount = 0;
    if (descriptor.size() >= ExportFieldCount) {
        const QString rest = descriptor.mid(ExportFieldCount);
        int from = 0;
        partCount = 1;
        for (int p = 0; p < 5; ++p) {
            const int b = int(rest.indexOf(DescriptorJoin, from));
            if (b < 0) break;
            parts[p] = rest.mid(from, b - from);
            from = b + 1;
            ++partCount;
        }
        parts[partCount - 1] = rest.mid(from);
    }
    d.separators = ExportSeparators::fromAll(parts);

    bool maskWellFormed = descriptor.size() >= ExportFieldCount;
    for (int i = 0; maskWellFormed && i < ExportFieldCount; ++i)
        maskWellFormed =
            descriptor.at(i) == QLatin1Char('0') || descriptor.at(i) == QLatin1Char('1');
    d.valid = end >= 0 && end + 1 < content.size() && maskWellFormed && d.mask[FieldFremdwort] &&
              d.mask[FieldUebersetzung] && partCount == 6 && !d.separators.record.isEmpty() &&
              !d.separators.field.isEmpty() && !d.separators.translation.isEmpty();

    int start = end < 0 ? int(content.size()) : end + 1;
    for (int line = 0; line <= HeaderLinesAfterDescriptor && start < content.size(); ++line)
        start = afterLine(content, start);
    d.recordsStart = start;
    return d;
}

FieldCodes FieldCodesFromMask(const std::array<bool, ExportFieldCount + 1>& mask) {
    FieldCodes codes;
    for (int position = 1; position <= ExportFieldCount; ++position)
        if (mask[position]) codes << position;
    return codes;
}

// --- universal import -------------------------------------------------------------

const QStringList& UniversalColumnItems() {
    static const QStringList items{
        QString(),
        QStringLiteral("Fremdwort"),
        QStringLiteral("Übersetzung"),
        QStringLiteral("Lektion"),
        QStringLiteral("Wortart"),
        QStringLiteral("Schwierigkeit"),
        QStringLiteral("Bemerkungen"),
        QStringLiteral("Genus"),
        QStringLiteral("Genitiv"),
        QStringLiteral("Stammform1"),
        QStringLiteral("Stammform2"),
        QStringLiteral("Stammform3"),
        QStringLiteral("Stammform4"),
        QStringLiteral("Stammform5"),
        QStringLiteral("Stammform6"),
        QStringLiteral("Leer"),
    };
    return items;
}

int UniversalColumnCode(int item) {
    if (item >= 0 && item <= ExportFieldCount) return item;
    return item == ExportFieldCount + 1 ? SkippedColumnCode : UnusedColumnCode;
}

QString ConvertLessonNumber(const QString& text) {
    int first = 0;
    while (first < text.size() && !text.at(first).isDigit())
        ++first;
    if (first >= text.size()) return text.left(LessonCodeLength);
    const QString rest = text.mid(first).trimmed();
    for (const QChar c : rest)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return text.left(LessonCodeLength);
    // The digits without leading zeros (a number too long for an integer is
    // still a number).
    int nonZero = 0;
    while (nonZero < rest.size() - 1 && rest.at(nonZero) == QLatin1Char('0'))
        ++nonZero;
    const QString digits = rest.mid(nonZero);
    QString code;
    switch (digits.size()) {
    case 1:
        code = QStringLiteral("00") + digits + QStringLiteral("A1");
        break;
    case 2:
        code = QStringLiteral("0") + digits + QStringLiteral("A1");
        break;
    case 3:
        code = digits + QStringLiteral("A1");
        break;
    default:
        code = digits;
        break;
    }
    return code.left(LessonCodeLength);
}

QString FileLessonCode(int fileNumber) {
    const int number = qBound(1, fileNumber, 999);
    return QStringLiteral("%1A1").arg(number, 3, 10, QLatin1Char('0'));
}

QString FileLessonTitle(const QString& path) {
    QString name = QFileInfo(path).fileName();
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    if (dot >= 0) name.truncate(dot);
    return name;
}

// --- text of a file ----------------------------------------------------------------

ImportText DecodeImportFile(const QByteArray& bytes, bool allowUtf8) {
    ImportText text;
    if (allowUtf8) {
        const bool bom = bytes.startsWith("\xEF\xBB\xBF");
        bool beyondAscii = false;
        for (const char c : bytes)
            if (static_cast<unsigned char>(c) >= 0x80) {
                beyondAscii = true;
                break;
            }
        if (bom || beyondAscii) {
            QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
            QString decoded = decoder(bom ? bytes.mid(3) : bytes);
            if (!decoder.hasError()) {
                text.content = decoded;
                text.utf8 = true;
                return text;
            }
        }
    }
    text.content = platform::codec::fromBytes(bytes);
    return text;
}

QStringList FirstLines(const QString& content, int count) {
    QStringList lines;
    int from = 0;
    while (lines.size() < count && from < content.size()) {
        const int next = afterLine(content, from);
        QString line = content.mid(from, next - from);
        while (line.endsWith(Lf) || line.endsWith(Cr))
            line.chop(1);
        lines << line;
        from = next;
    }
    return lines;
}

// --- records -------------------------------------------------------------------------

RecordReader::RecordReader(const QString& content, int start, const QString& fieldSeparator,
                           const QString& recordSeparator, bool anyLineBreak)
    : content_(content), pos_(qBound(0, start, int(content.size()))), field_(fieldSeparator),
      record_(recordSeparator), anyLineBreak_(anyLineBreak) {}

int RecordReader::matchAt(const QString& separator, int end, int fieldStart) const {
    // The number of characters the separator takes at the end of the field's
    // text content_[fieldStart, end), or 0 when the text does not end with it.
    const int length = int(separator.size());
    if (length == 0) return 0;
    const QChar last = content_.at(end - 1);
    if (end - fieldStart >= length && last == separator.back() &&
        QStringView(content_).mid(end - length, length) == separator)
        return length;
    if (!anyLineBreak_ || separator != CrLf) return 0;
    // A lone LF or CR ends a line too; a CR followed by LF waits for it.
    if (last == Lf) return 1;
    if (last == Cr && (end >= content_.size() || content_.at(end) != Lf)) return 1;
    return 0;
}

int RecordReader::afterSeparator(int end, int matched) const {
    // The CR of an LF CR line end belongs to the line end, not to the next field.
    if (anyLineBreak_ && matched == 1 && content_.at(end - 1) == Lf && end < content_.size() &&
        content_.at(end) == Cr)
        return end + 1;
    return end;
}

QString RecordReader::readField(bool& recordEnded) {
    const int start = pos_;
    const int size = int(content_.size());
    for (int i = start; i < size; ++i) {
        const int end = i + 1;
        if (const int m = matchAt(field_, end, start)) {
            pos_ = afterSeparator(end, m);
            recordEnded = false;
            return content_.mid(start, end - start - m);
        }
        if (const int m = matchAt(record_, end, start)) {
            pos_ = afterSeparator(end, m);
            recordEnded = true;
            return content_.mid(start, end - start - m);
        }
    }
    // The file ended inside the field: the whole rest is its value.
    pos_ = size;
    recordEnded = true;
    return content_.mid(start);
}

QStringList RecordReader::readRecord() {
    QStringList fields;
    bool recordEnded = false;
    while (!atEnd() && !recordEnded)
        fields << readField(recordEnded);
    return fields;
}

// --- storing rules --------------------------------------------------------------------

namespace {

// Text of a UTF-8 file → stored text in the character set its field is shown in.
QString toStored(const QString& text, int charset) {
    QString result = platform::codec::fromDisplay(text, charset);
    for (QChar& c : result)
        if (platform::codec::storedByte(c) < 0) c = QLatin1Char('?');
    return result;
}

// Every line end of the text, whatever system wrote it, as CR LF.
QString withCrLfLineEnds(const QString& text) {
    if (!text.contains(Cr) && !text.contains(Lf)) return text;
    QString result;
    result.reserve(text.size() + 8);
    for (int from = 0; from < text.size();) {
        const int next = afterLine(text, from);
        QStringView line = QStringView(text).mid(from, next - from);
        const bool ended = line.endsWith(Cr) || line.endsWith(Lf);
        while (line.endsWith(Cr) || line.endsWith(Lf))
            line.chop(1);
        result += line;
        if (ended) result += CrLf;
        from = next;
    }
    return result;
}

int charsetOf(int position, const ImportRules& rules) {
    switch (position) {
    case FieldUebersetzung:
    case FieldExtra:
    case FieldGenus:
        return rules.translationCharset;
    case FieldLektion:
        return 1;
    default:
        return rules.wordCharset;
    }
}

} // namespace

RecordVerdict WordFromRecord(const QStringList& fields, const ImportRules& rules,
                             ExchangeWord& word, bool* lessonReplaced) {
    word = ExchangeWord();
    if (lessonReplaced) *lessonReplaced = false;
    bool anyField = false;
    bool lessonRead = false;
    QString lesson;
    for (int k = 0; k < fields.size(); ++k) {
        // A field beyond the known columns is read and dropped.
        const int code = k < rules.codes.size() ? rules.codes.at(k) : SkippedColumnCode;
        if (code == UnusedColumnCode) continue;
        anyField = true;
        QString value = fields.at(k);
        switch (code) {
        case FieldUebersetzung:
            if (rules.anyLineBreak && rules.separators.translation == CrLf)
                value = withCrLfLineEnds(value);
            word[code] = TranslationImportForm(value, rules.separators);
            break;
        case FieldLektion:
            lesson = rules.convertLessonNumbers ? ConvertLessonNumber(value)
                                                : value.left(LessonCodeLength);
            lessonRead = true;
            break;
        case FieldWortart: {
            const int wortart = WordClassCode(value);
            word.wortart = wortart > 0 ? wortart : 14;
            break;
        }
        case FieldSchwierigkeit: {
            const int schwierigkeit = DifficultyCode(value);
            word.schwierigkeit = schwierigkeit > 0 ? schwierigkeit : 3;
            break;
        }
        default:
            if (code >= 1 && code <= ExportFieldCount)
                word[code] = UnescapeSeparators(value, rules.separators);
            break;
        }
    }
    if (!anyField) return RecordVerdict::Nothing;

    if (rules.utf8) {
        for (int position = 1; position <= ExportFieldCount; ++position)
            if (!word[position].isEmpty())
                word[position] = toStored(word[position], charsetOf(position, rules));
        lesson = toStored(lesson, 1);
    }
    if (word[FieldFremdwort].isEmpty() && word[FieldUebersetzung].isEmpty())
        return RecordVerdict::Incomplete;

    // A word needs a lesson the tree can show; a value that is no code would
    // hide the word, so it goes into the default lesson instead.
    if (!rules.mask[FieldLektion]) {
        word[FieldLektion] = rules.defaultLessonCode;
    } else if (lessonRead && IsLessonCode(lesson)) {
        word[FieldLektion] = lesson;
    } else {
        word[FieldLektion] = rules.defaultLessonCode;
        if (lessonReplaced) *lessonReplaced = true;
    }
    return RecordVerdict::Word;
}

void ImportLessons::note(const QString& code, const QString& title) {
    if (seen_.contains(code)) return;
    seen_.insert(code);
    lines_ << code + title;
}
