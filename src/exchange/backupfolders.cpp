#include "exchange/backupfolders.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>

DriveFolderPicker::DriveFolderPicker(QComboBox* drives, QTreeView* folders, QWidget* parent)
    : QObject(parent), drives_(drives), folders_(folders), model_(new QFileSystemModel(this)) {
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    model_->setRootPath(QDir::rootPath());
    folders_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        folders_->hideColumn(column);
    folders_->header()->hide();
    folders_->setSelectionMode(QAbstractItemView::SingleSelection);
    refreshDrives();
    // The tree is filled in the background: the folder chosen by the program
    // is shown again as the folders on its way arrive, until the user picks one.
    connect(model_, &QFileSystemModel::rowsInserted, this, [this](const QModelIndex& parent) {
        const QString loaded = model_->filePath(parent);
        const QString prefix =
            loaded.endsWith(QLatin1Char('/')) ? loaded : loaded + QLatin1Char('/');
        if (folder_ == loaded || folder_.startsWith(prefix)) scheduleReveal();
    });
    connect(model_, &QFileSystemModel::layoutChanged, this, [this] { scheduleReveal(); });
    folders_->installEventFilter(this);
    connect(drives_, &QComboBox::activated, this, &DriveFolderPicker::driveChosen);
    connect(folders_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!current.isValid()) return;
                const QString path = model_->filePath(current);
                if (path == folder_) return;
                revealPending_ = false;
                folder_ = path;
                emit folderChanged(folder_);
            });
}

void DriveFolderPicker::refreshDrives() {
    const QString chosen = drives_->currentData().toString();
    drives_->clear();
    drives_->addItem(QStringLiteral("Persönlicher Ordner (%1)").arg(QDir::homePath()),
                     QDir::homePath());
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) continue;
        const QString root = volume.rootPath();
        if (drives_->findData(root) >= 0) continue;
        const QString name = volume.displayName();
        drives_->addItem(
            name == root ? root : root + QStringLiteral(" [") + name + QLatin1Char(']'), root);
    }
    const int index = drives_->findData(chosen);
    drives_->setCurrentIndex(index >= 0 ? index : 0);
}

QString DriveFolderPicker::chooseDriveFor(const QString& folder) {
    // The drive whose root is the longest start of the folder.
    QString best;
    int bestIndex = -1;
    for (int i = 0; i < drives_->count(); ++i) {
        const QString root = drives_->itemData(i).toString();
        const bool inside = folder == root || root == QDir::rootPath() ||
                            folder.startsWith(root + QLatin1Char('/'));
        if (inside && root.size() > best.size()) {
            best = root;
            bestIndex = i;
        }
    }
    drives_->setCurrentIndex(bestIndex >= 0 ? bestIndex : 0);
    return best.isEmpty() ? QDir::rootPath() : best;
}

void DriveFolderPicker::setFolder(const QString& folder) {
    const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QString root = chooseDriveFor(path);
    folders_->setRootIndex(model_->index(root));
    const bool changed = folder_ != path;
    folder_ = path;
    revealPending_ = true;
    revealFolder();
    if (changed) emit folderChanged(folder_);
}

bool DriveFolderPicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == folders_ && event->type() == QEvent::Show) scheduleReveal();
    return QObject::eventFilter(watched, event);
}

void DriveFolderPicker::scheduleReveal() {
    if (!revealPending_ || revealScheduled_) return;
    revealScheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        revealScheduled_ = false;
        if (revealPending_) revealFolder();
    });
}

void DriveFolderPicker::revealFolder() {
    const QModelIndex index = model_->index(folder_);
    if (!index.isValid()) return;
    folders_->setCurrentIndex(index);
    folders_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void DriveFolderPicker::driveChosen(int index) {
    setFolder(drives_->itemData(index).toString());
}

QLabel* FolderPathLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("color: gray"));
    return label;
}

QFrame* ProgressPanel(QWidget* parent, const char* name) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    return panel;
}

void ShowProgressPanel(QFrame* panel, QWidget* window, int maxWidth) {
    const QSize size(qMin(window->width() - 40, maxWidth), panel->sizeHint().height());
    panel->setGeometry((window->width() - size.width()) / 2,
                       (window->height() - size.height()) / 2, size.width(), size.height());
    panel->raise();
    panel->show();
    panel->repaint();
}
