#pragma once
// The user's special-character table and the hand-over of a chosen character
// to the window that inserts it. Widget-free: the special-character window
// (specialcharwindow.h) shows the table and wires the hooks below.
#include "database/generaloptions.h"

#include <QString>
#include <Qt>
#include <functional>

// A chosen character (stored text) waiting to be inserted by the receiving
// window when it is activated.
extern bool CharInsertPending;
extern QString CharToInsert;

using UserCharCells = decltype(TGeneralOptionsRec::UserCharTable);

// The user grids show six columns and five rows, nine with cbMehrZeichen.
constexpr int UserCharColumns = 6;
int UserCharRowCount(bool moreRows);
int UserCharRowCount(); // by GeneralOptions.cbMehrZeichen

// The record file that holds the user table in force: CharTableOptionsPath,
// or "gruopt.dat" while none is chosen.
QString CharTableFile();

// Reads the record at `path` into `record`; a missing or short file leaves it
// as it was and returns false.
bool ReadCharTableOptions(const QString& path, TGeneralOptionsRec& record);

// Writes the visible cells (columns 0..5, rows 0..rows-1) of `cells` into the
// record at `path`, read again first so that every other byte stays as it is.
// Cells outside the visible grid keep what the file holds. When `path` is
// "gruopt.dat" the general settings in memory take the cells too, so a later
// save of the general settings keeps them. A failed write is reported.
bool WriteUserCharTable(const QString& path, const UserCharCells& cells, int rows);

// Ctrl+1 .. Ctrl+9 (exactly Ctrl) → 0..8, anything else → -1.
int HotkeyCharIndex(int key, Qt::KeyboardModifiers modifiers);

// What the hot keys need from the windows; wired by the special-character
// window.
struct SpecialCharHooks {
    std::function<bool()> windowShown;         // the special-character window is visible
    std::function<QString(int column, int row)> userCell; // a cell of the user grid SG
    std::function<void()> deliver;             // the visible receiving windows insert
};
extern SpecialCharHooks SpecialCharHandlers;

// Ctrl+1..Ctrl+9 in a word field while the special-character window is shown:
// the n-th character of the user grid (six per row) is handed over and the
// receiving windows insert it. Returns whether the key was used.
bool InsertUserCharByHotkey(int key, Qt::KeyboardModifiers modifiers);
