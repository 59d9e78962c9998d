#pragma once
// The inside of a query: its connection and result, the cursor and the record
// buffer of an edit or insert. Shared by the query's source files.
#include "engine/connection.h"
#include "engine/query.h"
#include "engine/resultset.h"
#include "engine/translator.h"

namespace engine {

struct Query::Private {
    explicit Private(Query* owner) : q(owner) {}

    Query* q;
    QStringList sql;
    bool live = true;

    std::shared_ptr<detail::Connection> connection;
    std::unique_ptr<detail::ResultSet> result;
    QMetaObject::Connection closingLink;
    detail::Schema schema;
    QVector<int> fields; // schema columns the result shows, in result order
    detail::Translation::Order order = detail::Translation::Order::ById;
    bool modifiable = false;

    State state = State::Inactive;
    int row = -1;
    bool bof = true;
    bool eof = true;

    // Edit and insert: the record as typed and as it was read.
    detail::ResultSet::Row buffer;
    detail::ResultSet::Row original;
    bool modified = false;
    int pendingRow = -1; // row of an inserted record not yet posted
    std::function<FieldValues()> newRecordValues;
    bool writing = false;
    bool refreshQueued = false;

    int count() const { return result ? result->count() : 0; }
    bool editing() const { return state == State::Edit || state == State::Insert; }
    void requireActive() const;
    // Schema column of a result field; throws "Feld 'x' nicht gefunden."
    int column(const QString& name) const;
    QVariant current(int column) const;
    detail::ResultSet::Row rowValues(int index) const;

    void setState(State next);
    void moveTo(int index);
    // Closes without storing anything (the connection goes away).
    void tearDown();
    void scheduleRefresh();

    // Before the cursor leaves the record: store it when it was changed,
    // otherwise drop the buffer (an untouched inserted record disappears).
    void checkBrowseMode();
    // Lets bound controls write their text into the buffer.
    void updateRecord() { emit q->beforePost(); }
    // Starts a new record at this row (-1: after the last one).
    void startInsert(int at);
    void write();
    // Before a write: when another program replaced the table file, opens the
    // query again on the new file and finds the record there (for a deletion
    // the record as it was read; an edit of it is dropped with it).
    void followReplacedFile(bool forDeletion = false);
    int rowLike(const detail::ResultSet::Row& values) const;
    void writeUpdate();
    void writeInsert();
    void dropBuffer();
};

} // namespace engine
