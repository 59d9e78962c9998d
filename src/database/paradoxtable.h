#pragma once
// Vocabulary tables of the older program's engine: Paradox tables (".ol" or
// ".db", with a ".px" primary index beside them), read with pxlib. Widget-free.
#include "platform/error.h"

#include <QByteArray>
#include <QString>
#include <QVariantList>
#include <functional>

// True when the bytes at the start of a file are the header of a Paradox
// table (and not an SQLite file).
bool LooksLikeParadoxTable(const QByteArray& head);
bool IsParadoxTableFile(const QString& path);

// A Paradox table that cannot be read as a vocabulary table: damaged, or with
// other fields. The message is German, for the user.
class ParadoxTableError : public platform::Error {
  public:
    using platform::Error::Error;
};

struct ParadoxTableInfo {
    int records = 0;
    // The table's key counter: the keys it has given so far may be higher
    // than the highest key left in it.
    qint64 autoIncrement = 0;
};

// Reads every record of a vocabulary table in Paradox format from the bytes of
// its file, in the table's order, as the 20 values of the vocabulary fields in
// column order: the key as qint64, texts as stored text (one character per
// byte, through the codec), numbers as int, Booleans as bool; empty fields as
// "", 0 and false. Text of a table whose header names a DOS code page (437,
// 850, 737, 862) comes in the Windows code page of its script, as the older
// engine read it; a code page of neither kind refuses the table. The file's
// structure and fields are checked before the first record is handed on; a
// key that is missing or a text longer than the engine's field stops the
// reading. `shownName` names the table in messages.
// Throws ParadoxTableError.
ParadoxTableInfo ReadParadoxVocabulary(const QByteArray& file, const QString& shownName,
                                       const std::function<void(const QVariantList&)>& record);
