#pragma once
// The grid's view of a query: one row per record of the open result, fetched
// lazily, with the current record kept in step with the view's current row.
#include <QAbstractTableModel>
#include <QVector>
#include <functional>

namespace engine {

class Query;

class TableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit TableModel(Query* query, QObject* parent = nullptr);

    // Shows only these fields, in this order, under these titles (default: all fields).
    void setColumns(const QStringList& fields, const QStringList& titles = {});
    QStringList columns() const;
    // Converts stored text of a column to what the grid shows (character sets).
    void
    setDisplayConverter(std::function<QString(const QString& field, const QString&)> toShown,
                        std::function<QString(const QString& field, const QString&)> fromShown);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    Query* query() const { return query_; }

  private:
    Query* query_;
    QStringList fields_;
    QStringList titles_;
    std::function<QString(const QString&, const QString&)> toShown_;
    std::function<QString(const QString&, const QString&)> fromShown_;
    // The columns shown and their field positions in the query's result (-1:
    // not in the result), worked out again at every reset.
    QStringList shown_;
    QVector<int> shownIndex_;
    void reset();
    void updateColumns();
};

} // namespace engine
