#pragma once
// The recent-database items at the end of the "&Datenbank" menu.
#include <array>

class QAction;

// Drops the listed databases whose table file is gone (in memory; the next
// AddRecentDatabase writes the list), then shows one item per remaining
// entry, captioned "&1 Caesar [Latein]" and so on, and hides the rest. The
// separator before the items shows only while there is at least one.
// Null pointers are skipped.
void RebuildRecentFilesMenu(const std::array<QAction*, 4>& items, QAction* separator);

// The slot (1..4) of a clicked recent item, or 0 when the action is none of them.
int RecentItemSlot(const std::array<QAction*, 4>& items, const QAction* sender);
