#include "specialchars.h"

#include "database/currentdatabase.h"

#include <QFileInfo>
#include <algorithm>

bool CharInsertPending = false;
QString CharToInsert;
SpecialCharHooks SpecialCharHandlers;

int UserCharRowCount(bool moreRows) { return moreRows ? 9 : 5; }
int UserCharRowCount() { return UserCharRowCount(GeneralOptions.cbMehrZeichen); }

QString CharTableFile() {
    return CharTableOptionsPath.isEmpty() ? GeneralOptionsFile() : CharTableOptionsPath;
}

namespace {
bool isGeneralOptionsFile(const QString& path) {
    return QFileInfo(path).absoluteFilePath().compare(
               QFileInfo(GeneralOptionsFile()).absoluteFilePath(), Qt::CaseInsensitive) == 0;
}
} // namespace

bool ReadCharTableOptions(const QString& path, TGeneralOptionsRec& record) {
    return record.load(path);
}

bool WriteUserCharTable(const QString& path, const UserCharCells& cells, int rows) {
    const bool general = isGeneralOptionsFile(path);
    // Without a readable file the general settings in memory are the best
    // base for "gruopt.dat"; a per-language file starts from defaults.
    TGeneralOptionsRec record = general ? GeneralOptions : TGeneralOptionsRec();
    record.load(path);
    rows = std::clamp(rows, 0, TGeneralOptionsRec::CharTableRows);
    for (int c = 0; c < UserCharColumns; ++c)
        for (int r = 0; r < rows; ++r) {
            record.UserCharTable[c][r] = cells[c][r];
            if (general) GeneralOptions.UserCharTable[c][r] = cells[c][r];
        }
    return record.save(path);
}

int HotkeyCharIndex(int key, Qt::KeyboardModifiers modifiers) {
    if ((modifiers & ~Qt::KeypadModifier) != Qt::ControlModifier) return -1;
    if (key < Qt::Key_1 || key > Qt::Key_9) return -1;
    return key - Qt::Key_1;
}

bool InsertUserCharByHotkey(int key, Qt::KeyboardModifiers modifiers) {
    const int n = HotkeyCharIndex(key, modifiers);
    if (n < 0 || !SpecialCharHandlers.windowShown || !SpecialCharHandlers.windowShown())
        return false;
    const QString cell =
        SpecialCharHandlers.userCell ? SpecialCharHandlers.userCell(n % 6, n / 6) : QString();
    // An empty cell would replace the selection in the field by nothing.
    if (cell.isEmpty()) return true;
    CharToInsert = cell;
    CharInsertPending = true;
    if (SpecialCharHandlers.deliver) SpecialCharHandlers.deliver();
    return true;
}
