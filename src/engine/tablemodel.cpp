#include "engine/tablemodel.h"

#include "engine/query.h"
#include "platform/codec.h"

namespace engine {

TableModel::TableModel(Query* query, QObject* parent) : QAbstractTableModel(parent), query_(query) {
    updateColumns();
    connect(query_, &Query::opened, this, &TableModel::reset);
    connect(query_, &Query::closed, this, &TableModel::reset);
    connect(query_, &Query::rowsChanged, this, &TableModel::reset);
    connect(query_, &Query::recordChanged, this, [this] {
        const int row = query_->recNo();
        if (row >= 0 && row < rowCount() && columnCount() > 0)
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
    connect(query_, &Query::refreshed, this, [this] {
        if (rowCount() > 0 && columnCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    });
    connect(query_, &QObject::destroyed, this, [this] {
        beginResetModel();
        query_ = nullptr;
        updateColumns();
        endResetModel();
    });
}

void TableModel::setColumns(const QStringList& fields, const QStringList& titles) {
    fields_ = fields;
    titles_ = titles;
    reset();
}

QStringList TableModel::columns() const {
    return shown_;
}

void TableModel::updateColumns() {
    shown_ = fields_.isEmpty() && query_ ? query_->fieldNames() : fields_;
    shownIndex_.clear();
    for (const QString& field : std::as_const(shown_))
        shownIndex_.append(query_ ? query_->fieldIndex(field) : -1);
}

void TableModel::setDisplayConverter(
    std::function<QString(const QString& field, const QString&)> toShown,
    std::function<QString(const QString& field, const QString&)> fromShown) {
    toShown_ = std::move(toShown);
    fromShown_ = std::move(fromShown);
    reset();
}

void TableModel::reset() {
    beginResetModel();
    updateColumns();
    endResetModel();
}

int TableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !query_ || !query_->isActive()) return 0;
    return query_->recordCount();
}

int TableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(shown_.size());
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !query_ || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    const QString field = shown_.value(index.column());
    const QVariant value = query_->valueAt(index.row(), shownIndex_.value(index.column(), -1));
    if (value.metaType().id() == QMetaType::Bool)
        return QString::fromLatin1(value.toBool() ? "True" : "False");
    if (value.metaType().id() != QMetaType::QString) return value;
    QString text = value.toString();
    if (toShown_) text = toShown_(field, text);
    // Cells hold one line; a memo's lines are shown side by side, and edited
    // as lines.
    return role == Qt::EditRole ? platform::codec::memoToWidget(text)
                                : QString(text).replace(QLatin1String("\r\n"), QLatin1String(" "));
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString field = shown_.value(index.column());
    QVariant stored = value;
    if (value.metaType().id() == QMetaType::QString) {
        QString text = platform::codec::memoFromWidget(value.toString());
        stored = fromShown_ ? fromShown_(field, text) : text;
    }
    // The cell is stored at once, so grid and table never disagree; the row
    // becomes the current record, as with any edit of the result.
    query_->setRecNo(index.row());
    query_->setValue(field, stored);
    query_->post();
    return true;
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section < titles_.size() && !titles_[section].isEmpty()) return titles_[section];
    return shown_.value(section);
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (!index.isValid() || !query_ || !query_->canModify()) return result;
    const QString field = shown_.value(index.column());
    if (shownIndex_.value(index.column(), -1) >= 0 &&
        field.compare(QLatin1String("ID"), Qt::CaseInsensitive) != 0)
        result |= Qt::ItemIsEditable;
    return result;
}

} // namespace engine
