#pragma once
// Which words the print window prints: the statement that selects, filters and
// sorts them, the lesson entries the user picks from, the title line of the
// printout, and the words read from the opened result.
#include "printing/printsettings.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class LessonList;
namespace engine {
class Query;
}

// The entry of a lesson list line in the print window's lesson list: the code,
// " [", the title and "]", with a leading "00" of the code shown as two blanks
// or else a leading "0" as one ("001A1Verben" → "  1A1 [Verben]").
QString PrintLessonEntryText(const QString& line);
// The entries of every line of the list, in list order.
QStringList PrintLessonEntries(const LessonList& list);
// The lesson label of a card: the entry without its leading blanks.
QString CardLessonLabel(const QString& entryText);

// The statement, line by line. `lessonCodes` are the codes of the chosen
// lessons in list order (at least one); the word-class filter, the three
// "only words with" boxes and the two sort keys come from `options`.
QStringList PrintSelectionSql(const QString& tablePath, const QStringList& lessonCodes,
                              const TPrintSelectionOptions& options);

// The title line above the list: the database name, " -  " and the language,
// its first letter upper-cased; when exactly one lesson is printed sorted by
// lesson, an empty line and that lesson's entry follow.
QString PrintTitleLine(const QString& databaseName, const QString& language,
                       const QStringList& chosenEntries, PrintOrder primary);

// One word as the reports print it (stored 8-bit text).
struct PrintWord {
    qint64 id = 0;
    QString Lektion;
    QString Fremdwort;
    QString Uebersetzung;
    QString PraeFut;
    QString PerAor;
    QString Perfekt;
    QString Perfekt_passiv;
    QString Aorist_passiv;
    QString Futur_passiv;
    QString Genitiv;
    QString Genus;
    QString Extra;
    int Wortart = 0;
    int Schwierigkeit = 0;
    int Falsche_Antworten = 0;
};

// The words a layout walks, in print order. Taken from an open query they
// are read only as far as the layout has got, so that its first page can be
// shown before the last word is read; the query's cursor never moves, and the
// query must stay open while words are asked for.
class PrintWords {
  public:
    // Words read before; a list passes for the words it holds.
    PrintWords(QList<PrintWord> words);
    PrintWords(std::initializer_list<PrintWord> words) : PrintWords(QList<PrintWord>(words)) {}
    explicit PrintWords(const engine::Query& query);

    int count() const { return count_; }
    bool isEmpty() const { return count_ == 0; }
    // Reads on up to the word when it was not read yet.
    const PrintWord& at(int index) const;

  private:
    const engine::Query* query_ = nullptr;
    int count_ = 0;
    QList<int> columns_; // result columns of the fields, in the order at() reads them
    mutable QList<PrintWord> read_;
};

// Reads every record of the open query from the first to the last. The
// progress callback gets (records read, total) now and then and may return
// false to stop; the words read so far are returned then.
using PrintProgress = std::function<bool(int done, int total)>;
QList<PrintWord> ReadPrintWords(const engine::Query& query, const PrintProgress& progress = {});

// Upper-cases ASCII letters only (8-bit text stays as it is otherwise).
QChar UpperAscii(QChar c);
QString UpperFirstAscii(const QString& text);
