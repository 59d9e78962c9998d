#include "platform/filedialog.h"

#include "platform/messagebox.h"
#include "platform/mounts.h"

#include <QDialog>
#include <QFileDialog>
#include <QFileIconProvider>
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

QString chosenFile(QFileDialog& dialog, int result) {
    if (result != QDialog::Accepted) return QString();
    const QString path = dialog.selectedFiles().value(0);
    if (path.isEmpty()) return QString();
    const QString folder = QFileInfo(path).absolutePath();
    if (askFileSystem(folder).answered()) return path;
    showMessage(noAnswerMessage(folder), QStringLiteral("Fehler"), Icon::Error);
    return QString();
}

void releaseSilentFileModels(QDialog& dialog) {
    const QList<QFileSystemModel*> models = dialog.findChildren<QFileSystemModel*>();
    if (models.isEmpty()) return;
    // Which folders a model has listed is its own affair (the side bar's
    // places, the completer's, the folders the user went through): a mount
    // that does not answer anywhere may be the one its thread waits on.
    QStringList mounts;
    for (const MountEntry& entry : userVolumes(readMountTable()))
        mounts << entry.mountPoint;
    for (const FileSystemAnswer& answer : askFileSystems(mounts)) {
        if (answer.answered()) continue;
        // The dialog's own icon provider goes with the dialog; the model's
        // thread may still ask one when the mount answers again.
        static QFileIconProvider lastingIcons;
        for (QFileSystemModel* model : models) {
            model->setIconProvider(&lastingIcons);
            model->setParent(nullptr); // never deleted: its end would wait
        }
        return;
    }
}

} // namespace platform
