#include "exchange/importstore.h"

#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/tablefacts.h"
#include "platform/codec.h"
#include "platform/error.h"
#include "platform/regularfile.h"

#include <QFile>

namespace {
// What a column of the table receives besides the word's own fields.
constexpr int KeyColumn = -1;
constexpr int FlagColumn = -2;    // Letzte_gewusst, Abgefragt: false
constexpr int CounterColumn = -3; // Anzahl_Abfragen, Falsche_Antworten, Versuche: 0
} // namespace

ImportStore::ImportStore(const QString& tablePath)
    : tablePath_(tablePath), transaction_(tablePath) {
    query_.setRequestLive(true);
    query_.addSql(QStringLiteral("SELECT * FROM ") + engine::quoteLiteral(ShortPath(tablePath)));
    query_.open();
    fields_ = query_.fieldNames();
    for (const QString& field : fields_) {
        int source = CounterColumn;
        for (int p = 1; p <= ExportFieldCount; ++p)
            if (ExportFieldName(p).compare(field, Qt::CaseInsensitive) == 0) source = p;
        if (field.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0)
            source = KeyColumn;
        else if (field.compare(QLatin1String("Letzte_gewusst"), Qt::CaseInsensitive) == 0 ||
                 field.compare(QLatin1String("Abgefragt"), Qt::CaseInsensitive) == 0)
            source = FlagColumn;
        sources_ << source;
    }
    if (query_.recordCount() == 1) {
        query_.first();
        fillFirstRecord_ = query_.asString(QStringLiteral("Fremdwort")).isEmpty() &&
                           query_.asString(QStringLiteral("Uebersetzung")).isEmpty();
    }
    if (!fillFirstRecord_) query_.close();
}

QVariantList ImportStore::valuesOf(const ExchangeWord& word) const {
    QVariantList values;
    values.reserve(sources_.size());
    for (const int source : sources_) {
        switch (source) {
        case KeyColumn:
            values << QVariant();
            break;
        case FlagColumn:
            values << false;
            break;
        case CounterColumn:
            values << 0;
            break;
        case FieldWortart:
            values << word.wortart;
            break;
        case FieldSchwierigkeit:
            values << word.schwierigkeit;
            break;
        default:
            values << word[source];
            break;
        }
    }
    return values;
}

void ImportStore::add(const ExchangeWord& word) {
    const QVariantList values = valuesOf(word);
    if (fillFirstRecord_) {
        fillFirstRecord_ = false;
        query_.first();
        query_.edit();
        for (int i = 0; i < fields_.size(); ++i)
            if (values.at(i).isValid()) query_.setValue(fields_.at(i), values.at(i));
        query_.post();
        query_.close();
    } else {
        if (!rows_) rows_.emplace(tablePath_);
        rows_->append(values);
    }
    ++count_;
}

void ImportStore::commit() {
    query_.close();
    if (rows_) rows_->commit();
    transaction_.commit();
}

namespace {

bool readFile(const QString& path, QByteArray& bytes, QString& error) {
    QFile file;
    if (!platform::openRegularFile(file, path, &error)) return false;
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = QStringLiteral("Beim Lesen der Datei \"%1\" ist ein Fehler aufgetreten:\n%2")
                    .arg(path, file.errorString());
        return false;
    }
    return true;
}

// Writes the list of the imported lessons to wait beside the table and gives
// the table its stamp in the import's transaction. False with the summary's
// error set when the list is too large or could not be written.
bool writeLessonList(const QString& tablePath, ImportSummary& summary, qint32& stamp) {
    const LessonList list(summary.lessonLines);
    qint64 bytes = 0;
    for (const QString& line : list.lines())
        bytes += line.size() + 2;
    if (bytes > MaxLessonListBytes) {
        summary.error = QStringLiteral("Die Vokabeln nennen %1 verschiedene Lektionen; deren "
                                       "Lektionsliste wäre mit mehr als %2 MB zu groß.")
                            .arg(list.count())
                            .arg(MaxLessonListBytes >> 20);
        return false;
    }
    stamp = NewLessonListStamp();
    if (!WritePendingLessonList(list, tablePath, stamp, &summary.error)) return false;
    try {
        engine::setTableStamp(tablePath, stamp);
    } catch (...) {
        DropPendingLessonList(tablePath, stamp);
        throw;
    }
    return true;
}

} // namespace

ImportSummary RunImport(const QString& tablePath, const ImportPlan& plan,
                        const std::function<void(int, int)>& progress) {
    ImportSummary summary;
    try {
        ImportStore store(tablePath);
        ImportLessons lessons;
        for (int f = 0; f < plan.files.size(); ++f) {
            const QString& path = plan.files.at(f);
            QByteArray bytes;
            if (!readFile(path, bytes, summary.error)) return summary; // the store rolls back
            ImportRules rules = plan.rules;
            QString title;
            if (plan.lessonPerFile) {
                rules.defaultLessonCode = FileLessonCode(f + 1);
                title = FileLessonTitle(path);
            }
            ImportText text;
            int start = 0;
            if (plan.exportFile) {
                text.content = platform::codec::fromBytes(bytes);
                start = plan.recordsStart;
            } else if (bytes.contains('\0')) {
                // A program or database file among the word lists would only
                // give words of garbage.
                summary.skippedFiles << path;
                continue;
            } else {
                text = DecodeImportFile(bytes, true);
            }
            bytes.clear();
            rules.utf8 = text.utf8;

            const int total = int(text.content.size());
            RecordReader reader(text.content, start, rules.separators.field,
                                rules.separators.record, rules.anyLineBreak);
            ExchangeWord word;
            int records = 0;
            while (!reader.atEnd()) {
                if (progress && (records++ & 255) == 0) progress(reader.position(), total);
                bool lessonReplaced = false;
                switch (WordFromRecord(reader.readRecord(), rules, word, &lessonReplaced)) {
                case RecordVerdict::Word:
                    store.add(word);
                    if (summary.firstLesson.isEmpty()) summary.firstLesson = word[FieldLektion];
                    lessons.note(word[FieldLektion], title);
                    if (lessonReplaced) ++summary.lessonsReplaced;
                    break;
                case RecordVerdict::Incomplete:
                    ++summary.incomplete;
                    break;
                case RecordVerdict::Nothing:
                    break;
                }
            }
            if (progress) progress(total, total);
        }
        summary.lessonLines = lessons.lines();
        qint32 stamp = 0;
        if (store.count() > 0 && !writeLessonList(tablePath, summary, stamp)) return summary;
        try {
            store.commit();
        } catch (...) {
            if (stamp != 0) DropPendingLessonList(tablePath, stamp);
            throw;
        }
        summary.words = store.count();
        summary.ok = true;
        if (stamp != 0) summary.listSaved = CommitPendingLessonList(tablePath, stamp, nullptr);
    } catch (const platform::Error& e) {
        summary = ImportSummary();
        summary.error =
            QStringLiteral("Beim Speichern der Vokabeln ist ein Fehler aufgetreten:\n") +
            e.message();
    } catch (const std::exception& e) {
        summary = ImportSummary();
        summary.error =
            QStringLiteral("Beim Speichern der Vokabeln ist ein Fehler aufgetreten:\n") +
            QString::fromUtf8(e.what());
    }
    return summary;
}
