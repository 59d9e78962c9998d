#include "exchange/backupfolders.h"

#include "exchange/foldertree.h"
#include "platform/messagebox.h"
#include "platform/mounts.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTimer>
#include <QTreeView>

namespace {

// Each entry of the drive box holds its root (Qt::UserRole), its name without
// a state and whether it answered.
constexpr int DriveNameRole = Qt::UserRole + 1;
constexpr int DriveStateRole = Qt::UserRole + 2;
enum DriveState { DriveAsked, DriveReady, DriveNotReady, DriveSilent };

void setDriveState(QComboBox* drives, int index, DriveState state) {
    const QString name = drives->itemData(index, DriveNameRole).toString();
    drives->setItemData(index, state, DriveStateRole);
    switch (state) {
    case DriveNotReady:
        drives->setItemText(index, name + QStringLiteral(" (nicht bereit)"));
        break;
    case DriveSilent:
        drives->setItemText(index, name + QStringLiteral(" (antwortet nicht)"));
        break;
    default:
        drives->setItemText(index, name);
        break;
    }
}

void addDrive(QComboBox* drives, const QString& name, const QString& root) {
    drives->addItem(name, root);
    drives->setItemData(drives->count() - 1, name, DriveNameRole);
    drives->setItemData(drives->count() - 1, DriveAsked, DriveStateRole);
}

} // namespace

DriveFolderPicker::DriveFolderPicker(QComboBox* drives, QTreeView* folders, QWidget* parent)
    : QObject(parent), drives_(drives), folders_(folders), model_(new FolderTreeModel(this)),
      drivePoll_(new QTimer(this)) {
    model_->setFolderIcon(folders_->style()->standardIcon(QStyle::SP_DirIcon));
    folders_->setModel(model_);
    folders_->header()->hide();
    folders_->setSelectionMode(QAbstractItemView::SingleSelection);
    // The mounts are listed when a window shows the box, not when it is made.
    addDrive(drives_, QStringLiteral("Persönlicher Ordner (%1)").arg(QDir::homePath()),
             QDir::homePath());
    // The tree is filled in the background: the folder chosen by the program
    // is shown again as the folders on its way arrive, until the user picks one.
    connect(model_, &FolderTreeModel::rowsInserted, this, [this](const QModelIndex& parent) {
        const QString loaded = model_->filePath(parent);
        const QString prefix =
            loaded.endsWith(QLatin1Char('/')) ? loaded : loaded + QLatin1Char('/');
        if (folder_ == loaded || folder_.startsWith(prefix)) scheduleReveal();
    });
    folders_->installEventFilter(this);
    connect(drives_, &QComboBox::activated, this, &DriveFolderPicker::driveChosen);
    connect(drivePoll_, &QTimer::timeout, this, &DriveFolderPicker::pollDrives);
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
    drives_->clear();
    asking_.clear();
    addDrive(drives_, QStringLiteral("Persönlicher Ordner (%1)").arg(QDir::homePath()),
             QDir::homePath());
    for (const platform::MountEntry& volume : platform::userVolumes(platform::readMountTable())) {
        const QString root = volume.mountPoint;
        if (drives_->findData(root) >= 0) continue;
        const QString label = platform::volumeLabel(volume.device);
        addDrive(drives_, label.isEmpty() ? root : root + QStringLiteral(" [") + label + ']', root);
        asking_.append({root, platform::FileSystemQuestion::ask(root)});
    }
    // A drive listed now may hold the folder more closely than the one before.
    const QString root = chooseDriveFor(folder_);
    if (!folder_.isEmpty() && root != model_->rootPath()) {
        model_->setRootPath(root);
        revealPending_ = true;
        scheduleReveal();
    }
    pollDrives();
}

void DriveFolderPicker::pollDrives() {
    bool waiting = false;
    for (qsizetype i = asking_.size() - 1; i >= 0; --i) {
        const platform::FileSystemAnswer answer = asking_.at(i).question->answer();
        const int index = drives_->findData(asking_.at(i).root);
        using State = platform::FileSystemAnswer::State;
        if (answer.state == State::Pending) {
            waiting = true;
            continue;
        }
        if (answer.state == State::NoAnswer) {
            // Looked for now and then: the drive may still answer.
            if (index >= 0) setDriveState(drives_, index, DriveSilent);
            continue;
        }
        asking_.removeAt(i);
        if (index < 0) continue;
        if (answer.state == State::Failed)
            setDriveState(drives_, index, DriveNotReady);
        else if (answer.bytesTotal > 0 || index == drives_->currentIndex())
            setDriveState(drives_, index, DriveReady);
        else
            drives_->removeItem(index); // a system file system without room for files
    }
    if (asking_.isEmpty())
        drivePoll_->stop();
    else
        drivePoll_->start(waiting ? 50 : 1000);
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
    if (model_->rootPath() != root)
        model_->setRootPath(root);
    else
        model_->relistAlong(path); // the folder may be new
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
    // A tree not shown lists nothing.
    if (!folders_->isVisible()) return;
    if (folder_ == model_->rootPath()) {
        folders_->setCurrentIndex(QModelIndex());
        return;
    }
    const QModelIndex index = model_->indexOf(folder_);
    if (!index.isValid()) return;
    folders_->setCurrentIndex(index);
    folders_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void DriveFolderPicker::driveChosen(int index) {
    const QString root = drives_->itemData(index).toString();
    // Joins the question asked when the box was filled: a drive that has not
    // answered in time is not waited for again.
    const platform::FileSystemAnswer answer = platform::FileSystemQuestion::ask(root)->wait();
    if (!answer.answered() || answer.state == platform::FileSystemAnswer::State::Failed) {
        setDriveState(drives_, index, answer.answered() ? DriveNotReady : DriveSilent);
        chooseDriveFor(folder_);
        platform::showMessage(answer.answered()
                                  ? QStringLiteral("Das Laufwerk \"%1\" ist nicht bereit.")
                                        .arg(QDir::toNativeSeparators(root))
                                  : platform::noAnswerMessage(root, QStringLiteral("Das Laufwerk")),
                              QStringLiteral("Laufwerk nicht verfügbar"), platform::Icon::Warning);
        return;
    }
    setDriveState(drives_, index, DriveReady);
    setFolder(root);
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
