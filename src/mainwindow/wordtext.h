#pragma once
// Text work of the word page that needs no widgets.
#include <QString>
#include <QStringList>

// "BIG": the first character of every translation line and every character
// after "(" in upper case (ASCII letters only). Lines are separated by CR LF.
QString CapitaliseTranslationLines(const QString& translation);

// The statement that looks for another word with the same foreign word. A
// word holding a double quote is compared with LIKE and "_" in place of each
// quote; `shownWord` is the word as the statement uses it.
struct DuplicateQuery {
    QStringList lines;
    QString shownWord;
};
DuplicateQuery DuplicateWordQuery(const QString& word, qint64 id, const QString& tablePath);
