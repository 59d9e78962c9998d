#pragma once
// A vocabulary table as a test starts from: words of lesson 001A1 with the
// values of a new word.
#include "database/vocabularytable.h"
#include "engine/query.h"

#include <QList>
#include <QPair>
#include <QString>

// Creates the table at `path` with one word per foreign word and translation.
inline void WriteWordTable(const QString& path, const QList<QPair<QString, QString>>& words) {
    engine::Query q;
    CreateVocabularyTable(q, path);
    q.setSql({"SELECT * FROM " + engine::quoteLiteral(path)});
    q.open();
    for (const auto& [foreign, translation] : words) {
        q.append();
        WriteNewRecordValues(q, "001A1");
        q.setValue("Fremdwort", foreign);
        q.setValue("Uebersetzung", translation);
        q.post();
    }
}
