#pragma once
// A vocabulary table of the older engine (Paradox) becomes a table of this
// program's engine, once. The original table and its ".px" stay beside it
// under a name that no open dialog, backup or restore takes for a table.
// Widget-free.
#include <QString>

// Table files beyond this size are refused: no vocabulary table comes near it.
constexpr qint64 MaxTableFileSize = qint64(1) << 30;

// Writes every word of the Paradox table file `paradoxPath` into a new table
// of this program's engine at `tablePath` (an empty file or none; its folder
// must exist): every field with its key, the key counter carried over. On
// failure the new file is removed and the error thrown (ParadoxTableError or
// platform::Error, German). `shownName` names the table in messages. Returns
// the number of words.
int WriteConvertedTable(const QString& paradoxPath, const QString& tablePath,
                        const QString& shownName);

// The names under which the original table and its ".px" (`indexPath`, empty
// when there is none) are kept: each file name followed by ".paradox"
// (".paradox-2", ... when one of them is taken).
struct KeptParadoxFiles {
    QString table;
    QString index; // empty when there is no ".px"
};
KeptParadoxFiles KeptParadoxNames(const QString& tablePath, const QString& indexPath);

// What the user is told once about a converted table.
QString ParadoxConversionNotice(const QString& tableFileName, const KeptParadoxFiles& kept);

struct ParadoxConversion {
    bool converted = false;
    QString error;  // German; the table was refused and stays as it was
    QString notice; // German; what the user is told about the conversion
};

// When the table file at `tablePath` is a Paradox table, converts it in place:
// the new table takes its name and the original and its ".px" (found without
// regard to case) are kept under KeptParadoxNames. A table of this program's
// engine is left alone (nothing converted, no error).
ParadoxConversion ConvertParadoxTableInPlace(const QString& tablePath);
