#pragma once
// The drive box and folder tree of the backup and restore windows. Linux has
// no drive letters: the "drives" are the home folder and the mounted volumes,
// and the tree shows the folders below the one chosen. Neither waits on a file
// system: the drives come from the mount table and are asked whether they
// answer in the background, and the tree lists its folders the same way.
#include <QList>
#include <QObject>
#include <QString>
#include <memory>

class FolderTreeModel;
class QComboBox;
class QFrame;
class QLabel;
class QTimer;
class QTreeView;
class QWidget;
namespace platform {
class FileSystemQuestion;
}

class DriveFolderPicker : public QObject {
    Q_OBJECT
  public:
    DriveFolderPicker(QComboBox* drives, QTreeView* folders, QWidget* parent);

    // The chosen folder (absolute, no trailing "/" except for the root).
    QString folder() const { return folder_; }
    // Chooses a folder: its drive in the box, the folder in the tree.
    void setFolder(const QString& folder);
    // Lists the drives again (mounted volumes may have changed); a drive that
    // does not answer in time is marked so.
    void refreshDrives();

  signals:
    void folderChanged(const QString& folder);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct DriveQuestion {
        QString root;
        std::shared_ptr<platform::FileSystemQuestion> question;
    };
    void driveChosen(int index);
    void pollDrives();
    void scheduleReveal();
    void revealFolder();
    // Selects the drive that holds the folder and returns its root.
    QString chooseDriveFor(const QString& folder);
    QComboBox* drives_;
    QTreeView* folders_;
    FolderTreeModel* model_;
    QTimer* drivePoll_;
    QList<DriveQuestion> asking_;
    QString folder_;
    bool revealPending_ = false;
    bool revealScheduled_ = false;
};

// The grey line under the folder tree that shows the chosen folder in full.
QLabel* FolderPathLabel(QWidget* parent);

// A framed panel, hidden until ShowProgressPanel puts it in front of `window`
// while the archives are written.
QFrame* ProgressPanel(QWidget* parent, const char* name);
// Centres the panel over the window, at most `maxWidth` wide, and paints it
// at once (the run that follows blocks the event loop).
void ShowProgressPanel(QFrame* panel, QWidget* window, int maxWidth);
