#include "platform/filedialog.h"

#include "platform/mounts.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QSplitter>
#include <QTreeView>

namespace platform {

void prepareFileDialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.resize(dialog.size().expandedTo(QSize(760, 460)));
    // The parts of the dialog are found by the names Qt gives them; a Qt
    // without them keeps its own layout.
    if (auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter")))
        splitter->setSizes({180, 580});
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = list->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
}

void releaseSilentFileModel(QFileDialog& dialog) {
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (!model) return;
    QStringList shown = dialog.history();
    shown << dialog.directory().absolutePath();
    const auto below = [](const QString& folder, const QString& path) {
        return path == folder || path.startsWith(folder + QLatin1Char('/'));
    };
    QStringList mounts;
    for (const MountEntry& entry : readMountTable()) {
        const QString holder = QFileInfo(entry.mountPoint).path();
        for (const QString& folder : shown) {
            if (folder == holder || below(entry.mountPoint, folder)) {
                mounts << entry.mountPoint;
                break;
            }
        }
    }
    for (const FileSystemAnswer& answer : askFileSystems(mounts)) {
        if (!answer.answered()) {
            model->setParent(nullptr); // never deleted: its end would wait
            return;
        }
    }
}

} // namespace platform
