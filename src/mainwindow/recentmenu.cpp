#include "mainwindow/recentmenu.h"

#include "database/generaloptions.h"
#include "database/recentdatabases.h"

#include <QAction>

void RebuildRecentFilesMenu(const std::array<QAction*, 4>& items, QAction* separator) {
    RemoveMissingRecentDatabases(GeneralOptions);
    const int count = GeneralOptions.RecentCount;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        QAction* item = items[i];
        if (!item) continue;
        item->setObjectName(QStringLiteral("mit%1").arg(i + 1));
        if (i < count) {
            item->setText(RecentMenuCaption(i + 1, GeneralOptions.Recent[i].DisplayText));
            item->setVisible(true);
        } else {
            item->setText(QString());
            item->setVisible(false);
        }
    }
    if (separator) separator->setVisible(count > 0);
}

int RecentItemSlot(const std::array<QAction*, 4>& items, const QAction* sender) {
    if (!sender) return 0;
    for (int i = 0; i < static_cast<int>(items.size()); ++i)
        if (items[i] == sender) return i + 1;
    return 0;
}
