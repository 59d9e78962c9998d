#pragma once
// The folder tree of the backup and restore windows as a model that never
// waits on a file system. A folder is listed on a thread of its own when it is
// first needed; the listing reads only the folder's own entries, whose kinds
// readdir gives, so a mount point in it that does not answer is never touched.
// A listing that does not come in time marks its folder as not answering.
#include <QAbstractItemModel>
#include <QIcon>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QTimer;

// Reports the sub-folders found in `path` (sorted, hidden ones left out);
// `complete` is false for a first report that more may follow, `readable`
// false when the folder could not be read at all.
using FolderReport = std::function<void(const QStringList& folders, bool complete, bool readable)>;
using FolderLister = std::function<void(const QString& path, const FolderReport& report)>;

// Lists a folder as above: first the entries readdir calls folders, then those
// behind links and entries of unknown kind, which need a stat each (and so
// may hang on what they lead to).
void ListSubfolders(const QString& path, const FolderReport& report);

class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT
  public:
    explicit FolderTreeModel(QObject* parent = nullptr, FolderLister lister = ListSubfolders);
    ~FolderTreeModel() override;

    // The folder whose sub-folders are the top rows.
    QString rootPath() const;
    void setRootPath(const QString& path);
    QString filePath(const QModelIndex& index) const;
    // The row of a folder below the root, once the folders on its way are
    // listed; until then invalid, and the next listing on the way is asked for.
    QModelIndex indexOf(const QString& path);
    // Lists again the folders already listed from the root down to `path`,
    // which may have got new sub-folders.
    void relistAlong(const QString& path);
    void setFolderIcon(const QIcon& icon) { icon_ = icon; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    struct Node;
    struct Pending;

  private:
    Node* nodeOf(const QModelIndex& index) const;
    QModelIndex indexOfNode(Node* node) const;
    QString pathOf(const Node* node) const;
    void list(Node* node);
    void poll();
    void merge(Node* node, const QStringList& folders);
    void forget(Node* node);

    FolderLister lister_;
    std::unique_ptr<Node> root_;
    std::vector<Node*> listing_; // nodes whose listing has not come in completely
    QTimer* poll_;
    QIcon icon_;
};
