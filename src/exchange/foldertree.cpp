#include "exchange/foldertree.h"

#include "platform/mounts.h"

#include <QDir>
#include <QFile>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <dirent.h>
#include <mutex>
#include <sys/stat.h>
#include <system_error>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

bool before(const QString& a, const QString& b) {
    const int order = QString::compare(a, b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
}

QString withSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// The names on the way from `root` down to `path`; false when the path does
// not lie below the root.
bool elementsBelow(const QString& root, const QString& path, QStringList& elements) {
    const QString prefix = withSlash(root);
    const QString clean = QDir::cleanPath(path);
    if (!clean.startsWith(prefix)) return false;
    elements = clean.mid(prefix.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    return true;
}

} // namespace

void ListSubfolders(const QString& path, const FolderReport& report) {
    const QByteArray folder = QFile::encodeName(path);
    DIR* dir = ::opendir(folder.constData());
    if (!dir) {
        report({}, true, false);
        return;
    }
    QStringList folders;
    QList<QByteArray> unsure;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.startsWith('.')) continue;
        if (entry->d_type == DT_DIR)
            folders << QFile::decodeName(name);
        else if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN)
            unsure << name;
    }
    ::closedir(dir);
    std::sort(folders.begin(), folders.end(), before);
    if (unsure.isEmpty()) {
        report(folders, true, true);
        return;
    }
    report(folders, false, true);
    const QByteArray prefix = folder.endsWith('/') ? folder : folder + '/';
    for (const QByteArray& name : unsure) {
        struct stat info {};
        if (::stat((prefix + name).constData(), &info) == 0 && S_ISDIR(info.st_mode))
            folders << QFile::decodeName(name);
    }
    std::sort(folders.begin(), folders.end(), before);
    report(folders, true, true);
}

// What a listing thread hands over; it may outlive the model.
struct FolderTreeModel::Pending {
    std::mutex mutex;
    Clock::time_point asked = Clock::now();
    bool fresh = false; // a report not yet taken
    bool complete = false;
    bool readable = true;
    QStringList folders;
};

struct FolderTreeModel::Node {
    enum class Listing { None, Asked, Partial, Done, NoAnswer, Unreadable };
    QString name; // the root's is its whole path
    Node* parent = nullptr;
    std::vector<std::unique_ptr<Node>> children;
    Listing listing = Listing::None;
    std::shared_ptr<Pending> pending;

    int row() const {
        if (!parent) return 0;
        const auto& siblings = parent->children;
        for (size_t i = 0; i < siblings.size(); ++i)
            if (siblings[i].get() == this) return int(i);
        return 0;
    }
    Node* child(const QString& childName) const {
        for (const auto& c : children)
            if (c->name == childName) return c.get();
        return nullptr;
    }
};

FolderTreeModel::FolderTreeModel(QObject* parent, FolderLister lister)
    : QAbstractItemModel(parent), lister_(std::move(lister)), root_(std::make_unique<Node>()),
      poll_(new QTimer(this)) {
    root_->name = QDir::rootPath();
    connect(poll_, &QTimer::timeout, this, &FolderTreeModel::poll);
}

// Nothing waits for the listing threads: one stuck in the kernel keeps only its
// Pending alive.
FolderTreeModel::~FolderTreeModel() = default;

QString FolderTreeModel::rootPath() const {
    return root_->name;
}

void FolderTreeModel::setRootPath(const QString& path) {
    beginResetModel();
    listing_.clear();
    root_ = std::make_unique<Node>();
    root_->name = QDir::cleanPath(path);
    endResetModel();
}

QString FolderTreeModel::pathOf(const Node* node) const {
    if (!node->parent) return node->name;
    return withSlash(pathOf(node->parent)) + node->name;
}

QString FolderTreeModel::filePath(const QModelIndex& index) const {
    return pathOf(nodeOf(index));
}

FolderTreeModel::Node* FolderTreeModel::nodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : root_.get();
}

QModelIndex FolderTreeModel::indexOfNode(Node* node) const {
    return node == root_.get() ? QModelIndex() : createIndex(node->row(), 0, node);
}

QModelIndex FolderTreeModel::indexOf(const QString& path) {
    QStringList elements;
    if (!elementsBelow(root_->name, path, elements)) return {};
    Node* node = root_.get();
    for (const QString& element : elements) {
        if (node->listing == Node::Listing::None) list(node);
        node = node->child(element);
        if (!node) return {};
    }
    return indexOfNode(node);
}

void FolderTreeModel::relistAlong(const QString& path) {
    QStringList elements;
    elementsBelow(root_->name, path, elements);
    Node* node = root_.get();
    for (int i = 0; node; ++i) {
        if (node->listing != Node::Listing::None && node->listing != Node::Listing::Asked)
            list(node);
        node = i < elements.size() ? node->child(elements.at(i)) : nullptr;
    }
}

void FolderTreeModel::list(Node* node) {
    auto pending = std::make_shared<Pending>();
    node->pending = pending;
    if (node->listing == Node::Listing::None) node->listing = Node::Listing::Asked;
    if (std::find(listing_.begin(), listing_.end(), node) == listing_.end())
        listing_.push_back(node);
    const QString path = pathOf(node);
    const FolderLister lister = lister_;
    try {
        std::thread([pending, lister, path] {
            lister(path, [pending](const QStringList& folders, bool complete, bool readable) {
                std::lock_guard lock(pending->mutex);
                pending->folders = folders;
                pending->complete = complete;
                pending->readable = readable;
                pending->fresh = true;
            });
        }).detach();
    } catch (const std::system_error&) {
        std::lock_guard lock(pending->mutex);
        pending->complete = true;
        pending->readable = false;
        pending->fresh = true;
    }
    if (!poll_->isActive()) poll_->start(20);
}

void FolderTreeModel::poll() {
    bool waiting = false;
    // A copy: merging may forget nodes.
    const std::vector<Node*> nodes = listing_;
    for (Node* node : nodes) {
        if (std::find(listing_.begin(), listing_.end(), node) == listing_.end()) continue;
        const std::shared_ptr<Pending> pending = node->pending;
        QStringList folders;
        bool fresh, complete, readable;
        Clock::time_point asked;
        {
            std::lock_guard lock(pending->mutex);
            fresh = pending->fresh;
            complete = pending->complete;
            readable = pending->readable;
            folders = pending->folders;
            asked = pending->asked;
            pending->fresh = false;
        }
        const QModelIndex index = indexOfNode(node);
        const bool late =
            Clock::now() - asked >= std::chrono::milliseconds(platform::FileSystemAnswerMs);
        if (fresh) {
            merge(node, folders);
            node->listing = !readable  ? Node::Listing::Unreadable
                            : complete ? Node::Listing::Done
                                       : Node::Listing::Partial;
        } else if (node->listing == Node::Listing::Asked && late) {
            node->listing = Node::Listing::NoAnswer;
            if (index.isValid()) emit dataChanged(index, index);
        }
        if (complete) {
            listing_.erase(std::find(listing_.begin(), listing_.end(), node));
            if (index.isValid()) emit dataChanged(index, index);
        } else {
            waiting = waiting || !late;
        }
    }
    // A listing that hangs is still looked for now and then: it may come late.
    if (listing_.empty())
        poll_->stop();
    else
        poll_->setInterval(waiting ? 20 : 500);
}

void FolderTreeModel::merge(Node* node, const QStringList& folders) {
    const QModelIndex parent = indexOfNode(node);
    for (int row = int(node->children.size()) - 1; row >= 0; --row) {
        if (folders.contains(node->children[size_t(row)]->name)) continue;
        beginRemoveRows(parent, row, row);
        forget(node->children[size_t(row)].get());
        node->children.erase(node->children.begin() + row);
        endRemoveRows();
    }
    for (const QString& name : folders) {
        if (node->child(name)) continue;
        const auto at = std::find_if(node->children.begin(), node->children.end(),
                                     [&](const auto& c) { return before(name, c->name); });
        const int row = int(at - node->children.begin());
        beginInsertRows(parent, row, row);
        auto child = std::make_unique<Node>();
        child->name = name;
        child->parent = node;
        node->children.insert(node->children.begin() + row, std::move(child));
        endInsertRows();
    }
}

void FolderTreeModel::forget(Node* node) {
    listing_.erase(std::remove(listing_.begin(), listing_.end(), node), listing_.end());
    for (const auto& child : node->children)
        forget(child.get());
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    const Node* node = nodeOf(parent);
    if (column != 0 || row < 0 || row >= int(node->children.size())) return {};
    return createIndex(row, 0, node->children[size_t(row)].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) return {};
    return indexOfNode(nodeOf(child)->parent);
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    return int(nodeOf(parent)->children.size());
}

int FolderTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const Node* node = nodeOf(index);
    if (role == Qt::DisplayRole) {
        if (node->listing == Node::Listing::NoAnswer)
            return node->name + QStringLiteral(" (antwortet nicht)");
        return node->name;
    }
    if (role == Qt::DecorationRole) return icon_;
    if (role == Qt::ToolTipRole) return QDir::toNativeSeparators(pathOf(node));
    return {};
}

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const {
    if (parent.column() > 0) return false;
    const Node* node = nodeOf(parent);
    switch (node->listing) {
    case Node::Listing::None:
    case Node::Listing::Asked:
        return true;
    case Node::Listing::Partial:
    case Node::Listing::Done:
        return !node->children.empty();
    case Node::Listing::NoAnswer:
    case Node::Listing::Unreadable:
        return false;
    }
    return false;
}

bool FolderTreeModel::canFetchMore(const QModelIndex& parent) const {
    return nodeOf(parent)->listing == Node::Listing::None;
}

void FolderTreeModel::fetchMore(const QModelIndex& parent) {
    Node* node = nodeOf(parent);
    if (node->listing == Node::Listing::None) list(node);
}
