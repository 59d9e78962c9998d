#include "exchange/exportfile.h"

#include "database/vocabularytable.h"
#include "engine/query.h"
#include "platform/codec.h"
#include "platform/safefile.h"

#include <QDate>
#include <QFileInfo>
#include <QHash>
#include <QLocale>

QStringList WholeTableExportSql(const QString& tablePath) {
    return {QStringLiteral("SELECT * FROM ") + engine::quoteLiteral(ShortPath(tablePath)),
            QStringLiteral("WHERE (Fremdwort <> \"\") AND (Uebersetzung <> \"\") AND "
                           "(Lektion <> \"\")")};
}

QStringList IdListExportSql(const QString& tablePath, const QList<qint64>& ids) {
    QStringList numbers;
    numbers.reserve(ids.size());
    for (const qint64 id : ids)
        numbers << QString::number(id);
    if (numbers.isEmpty()) numbers << QStringLiteral("-1"); // no key is negative: an empty result
    return {QStringLiteral("SELECT * FROM ") + engine::quoteLiteral(ShortPath(tablePath)),
            QStringLiteral("WHERE ID in (") + numbers.join(QLatin1Char(',')) + QLatin1Char(')')};
}

QVector<int> RowsOfIds(const engine::Query& query, const QList<qint64>& ids) {
    QHash<qint64, int> rowOf;
    const int count = query.recordCount();
    rowOf.reserve(count);
    for (int row = 0; row < count; ++row)
        rowOf.insert(query.idAt(row), row);
    QVector<int> rows;
    rows.reserve(ids.size());
    for (const qint64 id : ids) {
        const auto it = rowOf.constFind(id);
        if (it != rowOf.constEnd()) rows << it.value();
    }
    return rows;
}

ExportWordReader::ExportWordReader(const engine::Query& query,
                                   const std::array<bool, ExportFieldCount + 1>* fields)
    : query_(query) {
    for (int position = 1; position <= ExportFieldCount; ++position)
        columns_[position] =
            !fields || (*fields)[position] ? query.fieldIndex(ExportFieldName(position)) : -1;
}

ExchangeWord ExportWordReader::word(int row) const {
    ExchangeWord word;
    for (int position = 1; position <= ExportFieldCount; ++position) {
        const int column = columns_[position];
        if (column < 0) continue;
        const QVariant value = query_.valueAt(row, column);
        if (position == FieldWortart)
            word.wortart = value.toInt();
        else if (position == FieldSchwierigkeit)
            word.schwierigkeit = value.toInt();
        else
            word[position] = value.toString();
    }
    return word;
}

QString ExportDateText() {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

QString ExportFileName(const QString& chosen, bool rtf) {
    if (QFileInfo(chosen).fileName().contains(QLatin1Char('.'))) return chosen;
    return chosen + (rtf ? QStringLiteral(".rtf") : QStringLiteral(".txt"));
}

int CountUnreadableExportValues(const engine::Query& query, const ExportSettings& settings,
                                const QVector<int>* rows) {
    if (settings.rtf) return 0;
    const ExportWordReader reader(query, &settings.fields);
    const int count = rows ? int(rows->size()) : query.recordCount();
    int unreadable = 0;
    for (int i = 0; i < count; ++i)
        unreadable += UnreadableExportValues(reader.word(rows ? rows->at(i) : i), settings);
    return unreadable;
}

ExportOutcome WriteExportFile(const QString& path, const engine::Query& query,
                              const ExportSettings& settings, const QString& tablePath,
                              const QString& date, const QVector<int>* rows,
                              const std::function<void(int)>& progress) {
    ExportOutcome outcome;
    platform::SafeFile file(path);
    if (!file.open()) {
        outcome.error = QStringLiteral("Die Datei \"%1\" kann nicht angelegt werden:\n%2")
                            .arg(path, file.errorText());
        return outcome;
    }

    // Words are collected in blocks and written as bytes, so that memory stays
    // small however large the table is.
    constexpr int BlockSize = 2000;
    QString block = ExportHeader(settings, tablePath, date);
    bool written = true;
    auto flush = [&] {
        if (block.isEmpty()) return;
        const QByteArray bytes = platform::codec::toBytes(block);
        if (!file.writeAll(bytes)) written = false;
        block.clear();
    };

    const ExportWordReader reader(query, &settings.fields);
    const int count = rows ? int(rows->size()) : query.recordCount();
    for (int i = 0; i < count && written; ++i) {
        if (progress) progress(i);
        const int length = int(block.size());
        AppendExportRecord(block, reader.word(rows ? rows->at(i) : i), settings);
        if (block.size() > length) ++outcome.words;
        if ((i + 1) % BlockSize == 0) flush();
    }
    block += ExportFooter(settings);
    flush();

    if (!written || !file.commit()) {
        outcome.words = 0;
        outcome.error = QStringLiteral("Die Datei \"%1\" konnte nicht vollständig geschrieben "
                                       "werden:\n%2\nDer Export wurde nicht gespeichert.")
                            .arg(path, file.errorText());
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}
