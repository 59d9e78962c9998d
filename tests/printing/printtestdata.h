#pragma once
// A small Latin database for the printing tests: a table in a temporary
// folder, its lesson list and the current-database globals pointing at it.
#include "database/currentdatabase.h"
#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "platform/folders.h"
#include "printing/wordselection.h"

#include <QDir>
#include <QTemporaryDir>
#include <QVariantList>

namespace printtest {

struct Word {
    QString lesson;
    QString foreign;
    QString translation;
    QString genitive;
    QString genus;
    QStringList
        forms; // up to six: PraeFut, PerAor, Perfekt, Perfekt_passiv, Aorist_passiv, Futur_passiv
    QString extra;
    int wordClass = 14;
    int difficulty = 3;
    int wrong = 0;
};

inline QVariantList row(const Word& w) {
    QStringList forms = w.forms;
    while (forms.size() < 6)
        forms << QString();
    return {QVariant(), w.lesson, w.foreign,   w.translation, forms[0],
            forms[1],   forms[2], forms[3],    forms[4],      forms[5],
            w.genitive, w.genus,  w.wordClass, w.extra,       w.difficulty,
            0,          w.wrong,  0,           false,         false};
}

// The words of a few Latin lessons: nouns with genitive and genus, verbs with
// principal parts, a word with remarks and one with several meanings.
inline QList<Word> latinWords() {
    QList<Word> words;
    words << Word{"001A1", "amicus", "Freund", "amici", "m", {}, {}, 2, 2}
          << Word{"001A1", "amare", "lieben", {}, {}, {"amo", "amavi", "amatum"}, {}, 1, 1}
          << Word{"001A1", "puella", "Mädchen", "puellae", "f", {}, {}, 2, 1}
          << Word{"001A1", "bellum", "Krieg\r\nKampf", "belli", "n", {}, "meist im Plural", 2, 3}
          << Word{"001A1", "laudare", "loben", {}, {}, {"laudo", "laudavi", "laudatum"}, {}, 1, 2}
          << Word{"001A2", "dicere", "sagen\r\nsprechen\r\nnennen",
                  {},      {},       {"dico", "dixi", "dictum", "dicor", "dictus sum", "dicar"},
                  {},      1,        4,
                  3}
          << Word{"001A2", "mare", "Meer", "maris", "n", {}, "Abl. Sg. mari", 2, 3}
          << Word{"001A2", "et", "und", {}, {}, {}, {}, 5, 1}
          << Word{"002A1", "civis", "Bürger", "civis", "m", {}, {}, 2, 4, 5}
          << Word{"002A1", "bonus", "gut", {}, {}, {"bona", "bonum"}, {}, 3, 2};
    // Enough further words to fill more than one page in one column.
    for (int i = 1; i <= 70; ++i)
        words << Word{"002A1",
                      QStringLiteral("verbum%1").arg(i, 2, 10, QLatin1Char('0')),
                      QStringLiteral("Wort Nummer %1").arg(i),
                      {},
                      {},
                      {},
                      {},
                      13,
                      1 + i % 5};
    return words;
}

// A database "Latein" in `folder` with the given words; the globals point at it.
inline void createDatabase(const QString& folder, const QList<Word>& words, engine::Query& query) {
    QDir().mkpath(folder + "/Latein");
    WorkDir = folder;
    const QString base = folder + "/Latein/Vokabeln";
    CurrentTablePath = base + ".ol";
    CurrentDatabaseBase = base;
    CurrentDatabaseFolder = folder + "/Latein/";
    CurrentDatabaseName = "Vokabeln";
    CurrentExtension = ".ol";
    CurrentLanguage = "Latein";
    CreateVocabularyTable(query, CurrentTablePath);
    {
        engine::Transaction transaction(CurrentTablePath);
        engine::Query insert;
        insert.setSql({"SELECT * FROM " + engine::quoteLiteral(CurrentTablePath)});
        insert.open();
        for (const Word& word : words)
            insert.insertRecord(row(word));
        transaction.commit();
    }
    baumlist.setLines({"001A1Erste Wörter", "001A2Verben", "002A1Zahlen und Wörter"});
    CurrentLessonCode = "001A1";
    ReopenLessonQuery(query);
}

// Every word of the table in key order, as the reports get them.
inline QList<PrintWord> allWords() {
    engine::Query query;
    query.setSql({"SELECT * FROM " + engine::quoteLiteral(CurrentTablePath)});
    query.open();
    return ReadPrintWords(query);
}

} // namespace printtest
