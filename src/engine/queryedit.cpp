// Record changes through an open result: the record buffer of an edit or an
// insert, and how post, cancel and delete bring it to the table.
#include "engine/queryprivate.h"

#include "engine/statement.h"

namespace engine {

using detail::Column;

namespace {

// While the query writes, the changes it makes do not count as changes by
// another statement.
class WritingScope {
  public:
    explicit WritingScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~WritingScope() { flag_ = false; }

  private:
    bool& flag_;
};

const QString table = QLatin1String(detail::tableName);

} // namespace

void Query::Private::dropBuffer() {
    buffer.clear();
    original.clear();
    modified = false;
}

void Query::Private::checkBrowseMode() {
    if (!editing()) return;
    updateRecord();
    if (modified)
        write();
    else
        q->cancel();
}

int Query::Private::rowLike(const detail::ResultSet::Row& values) const {
    const int id = schema.idColumn();
    for (int r = 0; r < count(); ++r) {
        const detail::ResultSet::Row candidate = rowValues(r);
        bool same = candidate.size() == values.size();
        for (int c = 0; same && c < candidate.size(); ++c)
            same = c == id || candidate.at(c) == values.at(c);
        if (same) return r;
    }
    return -1;
}

void Query::Private::followReplacedFile(bool forDeletion) {
    // Inside a transaction the connection was checked when it was acquired.
    if (connection->inTransaction()) return;
    const detail::Connection::FileState file = connection->fileState();
    if (file == detail::Connection::FileState::Same) return;
    const QString path = connection->path();
    // The record stays in the buffer: the user can still copy it or cancel.
    if (file == detail::Connection::FileState::Gone)
        throw EngineError(detail::goneTableMessage(path));

    // A sort in another copy of the program gives the words new keys: the
    // record is found again by the values it was read with. Keys are never
    // trusted across files, so an edit never lands on another word.
    const State was = forDeletion ? State::Browse : state;
    const detail::ResultSet::Row typed = buffer;
    const detail::ResultSet::Row read = editing() ? original : rowValues(row);
    const bool changed = modified;
    detail::release(path, false); // closes every query on the old file, this one too
    q->open();

    const int id = schema.idColumn();
    const int found = was == State::Insert ? -1 : rowLike(read);
    if (found >= 0) {
        moveTo(found);
        if (was == State::Edit) {
            original = rowValues(found);
            buffer = typed;
            buffer[id] = original.value(id);
            modified = changed;
            setState(State::Edit);
        }
        return;
    }
    if (was == State::Browse)
        throw EngineError(detail::replacedTableMessage(path) +
                          QStringLiteral(" Die Vokabel ist dort nicht mehr vorhanden."));
    // Nothing typed is lost: the record waits as a new one in the new file.
    startInsert(-1);
    for (int c = 0; c < schema.size() && c < typed.size(); ++c)
        if (c != id) buffer[c] = typed.at(c);
    modified = true;
    emit q->recordChanged();
    if (was == State::Edit)
        throw EngineError(detail::replacedTableMessage(path) +
                          QStringLiteral(" Die bearbeitete Vokabel ist dort nicht mehr zu "
                                         "finden; die Eingabe steht als neue Vokabel bereit."));
}

void Query::Private::write() {
    followReplacedFile();
    if (state == State::Edit)
        writeUpdate();
    else if (state == State::Insert)
        writeInsert();
}

void Query::Private::writeUpdate() {
    QStringList assignments;
    QStringList conditions{schema.columns[schema.idColumn()].name + QLatin1String(" = ?")};
    QVariantList newValues;
    QVariantList oldValues{result->id(row)};
    for (int c = 0; c < schema.size(); ++c) {
        if (schema.columns[c].kind == Column::Kind::Id || buffer.value(c) == original.value(c))
            continue;
        assignments.append(schema.columns[c].name + QLatin1String(" = ?"));
        newValues.append(buffer.value(c));
        // The row is the one read only if the changed fields still hold what
        // was read; IS also matches an empty (NULL) field.
        conditions.append(schema.columns[c].name + QLatin1String(" IS ?"));
        oldValues.append(original.value(c));
    }
    if (!assignments.isEmpty()) {
        int changed = 0;
        {
            WritingScope scope(writing);
            detail::Statement update(*connection,
                                     QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                         .arg(table, assignments.join(QLatin1String(", ")),
                                              conditions.join(QLatin1String(" AND "))));
            update.bind(newValues + oldValues);
            changed = update.run();
        }
        if (changed == 0) {
            detail::Statement exists(
                *connection, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE ID = ?").arg(table));
            exists.bind(1, result->id(row));
            const bool gone = exists.step() && exists.int64(0) == 0;
            // The buffer stays: what the user typed is still there to copy or to cancel.
            throw EngineError(gone ? QStringLiteral("Datensatz wurde von einem anderen Benutzer "
                                                    "gelöscht.")
                                   : QStringLiteral("Datensatz wurde von einem anderen Benutzer "
                                                    "geändert."));
        }
    }
    dropBuffer();
    setState(State::Browse);
    emit q->recordChanged();
}

void Query::Private::writeInsert() {
    QStringList names;
    QStringList marks;
    QVariantList values;
    for (int c = 0; c < schema.size(); ++c) {
        const Column& column = schema.columns[c];
        if (column.kind == Column::Kind::Id) continue;
        names.append(column.name);
        marks.append(QStringLiteral("?"));
        const QVariant value = buffer.value(c);
        values.append(value.isNull() ? detail::defaultValue(column) : value);
    }
    qint64 id = 0;
    {
        WritingScope scope(writing);
        detail::Statement insert(*connection, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                                  .arg(table, names.join(QLatin1String(", ")),
                                                       marks.join(QLatin1String(", "))));
        insert.bind(values);
        insert.run();
        id = connection->lastInsertId();
    }
    // A new key is the highest yet: in key order the row belongs at the end
    // (or the start, descending); other orders keep it where it was entered.
    const int from = pendingRow;
    int to = from;
    if (order == detail::Translation::Order::ById)
        to = count() - 1;
    else if (order == detail::Translation::Order::ByIdDescending)
        to = 0;
    result->setId(from, id);
    result->moveRow(from, to);
    pendingRow = -1;
    dropBuffer();
    setState(State::Browse);
    if (to != from) {
        row = to;
        emit q->rowsChanged();
        emit q->scrolled();
    }
    emit q->recordChanged();
}

void Query::edit() {
    d->requireActive();
    if (d->editing()) return;
    if (!d->modifiable)
        throw EngineError(QStringLiteral("Die Datenmenge kann nicht bearbeitet werden."));
    // Typing into an empty result starts a new record.
    if (d->count() == 0) {
        append();
        return;
    }
    d->buffer = d->rowValues(d->row);
    if (d->buffer.isEmpty()) d->buffer.resize(d->schema.size());
    d->original = d->buffer;
    d->modified = false;
    d->setState(State::Edit);
}

void Query::setValue(const QString& field, const QVariant& value) {
    d->requireActive();
    const int index = d->column(field);
    const Column& column = d->schema.columns[index];
    if (column.kind == Column::Kind::Id)
        throw EngineError(
            QStringLiteral("Das Feld '%1' wird von der Tabelle vergeben und kann nicht geändert "
                           "werden.")
                .arg(column.name));
    const QVariant stored = detail::toStored(column, value);
    if (!d->editing()) edit();
    d->buffer[index] = stored;
    d->modified = true;
    emit recordChanged();
}

void Query::Private::startInsert(int at) {
    requireActive();
    checkBrowseMode();
    if (!modifiable)
        throw EngineError(QStringLiteral("Die Datenmenge kann nicht bearbeitet werden."));
    // The record is made before the result grows, so that a value refused
    // here leaves the result as it was.
    detail::ResultSet::Row fresh(schema.size());
    for (int c = 0; c < schema.size(); ++c)
        fresh[c] = detail::defaultValue(schema.columns[c]);
    if (newRecordValues) {
        for (const auto& [field, value] : newRecordValues()) {
            const int c = schema.indexOf(field);
            if (c >= 0 && schema.columns[c].kind != Column::Kind::Id)
                fresh[c] = detail::toStored(schema.columns[c], value);
        }
    }
    if (at < 0) at = count();
    result->insertRow(at, 0);
    pendingRow = at;
    buffer = fresh;
    original = detail::ResultSet::Row(schema.size());
    modified = false;
    bof = eof = false;
    row = at;
    setState(State::Insert);
    emit q->rowsChanged();
    emit q->scrolled();
    emit q->recordChanged();
}

void Query::insert() {
    // Before the current record; checkBrowseMode may drop an untouched new
    // record first, so the position is taken after it.
    d->requireActive();
    d->checkBrowseMode();
    d->startInsert(qMax(d->row, 0));
}

void Query::append() {
    d->startInsert(-1);
}

void Query::post() {
    if (!d->editing()) return;
    d->updateRecord();
    d->write();
}

void Query::cancel() {
    if (d->state == State::Edit) {
        d->dropBuffer();
        d->setState(State::Browse);
        emit recordChanged();
    } else if (d->state == State::Insert) {
        const int at = d->pendingRow;
        d->result->removeRow(at);
        d->pendingRow = -1;
        d->dropBuffer();
        d->row = qMin(at, d->count() - 1);
        d->bof = d->eof = d->count() == 0;
        d->setState(State::Browse);
        emit rowsChanged();
        emit scrolled();
        emit recordChanged();
    }
}

void Query::deleteRecord() {
    d->requireActive();
    // Deleting a record that was never stored only drops it.
    if (d->state == State::Insert) {
        cancel();
        return;
    }
    if (!d->modifiable)
        throw EngineError(QStringLiteral("Die Datenmenge kann nicht bearbeitet werden."));
    if (d->count() == 0) throw EngineError(QStringLiteral("Es gibt keinen Datensatz zum Löschen."));
    d->followReplacedFile(true);
    {
        WritingScope scope(d->writing);
        detail::Statement remove(*d->connection,
                                 QStringLiteral("DELETE FROM %1 WHERE ID = ?").arg(table));
        remove.bind(1, d->result->id(d->row));
        remove.run();
    }
    if (d->state == State::Edit) {
        d->dropBuffer();
        d->setState(State::Browse);
    }
    d->result->removeRow(d->row);
    d->row = qMin(d->row, d->count() - 1);
    d->bof = d->eof = d->count() == 0;
    emit rowsChanged();
    emit scrolled();
    emit recordChanged();
}

void Query::setNewRecordValues(std::function<FieldValues()> values) {
    d->newRecordValues = std::move(values);
}

void Query::insertRecord(const QVariantList& values) {
    insert();
    try {
        for (int k = 0; k < values.size() && k < d->fields.size(); ++k) {
            const Column& column = d->schema.columns[d->fields[k]];
            if (column.kind == Column::Kind::Id || values[k].isNull()) continue;
            d->buffer[d->fields[k]] = detail::toStored(column, values[k]);
        }
        d->modified = true;
        emit recordChanged();
        post();
    } catch (...) {
        // The caller still holds the values; a half-made record must not stay
        // behind and be stored by the next move.
        cancel();
        throw;
    }
}

} // namespace engine
