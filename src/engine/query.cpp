#include "engine/queryprivate.h"

#include "engine/statement.h"

namespace engine {

using detail::Column;

// ---- the inside ----

void Query::Private::requireActive() const {
    if (state == State::Inactive)
        throw EngineError(QStringLiteral("Die Datenmenge ist geschlossen."));
}

int Query::Private::column(const QString& name) const {
    for (int index : fields)
        if (schema.columns[index].name.compare(name, Qt::CaseInsensitive) == 0) return index;
    throw EngineError(QStringLiteral("Feld '%1' nicht gefunden.").arg(name));
}

detail::ResultSet::Row Query::Private::rowValues(int index) const {
    return result ? result->row(index) : detail::ResultSet::Row();
}

QVariant Query::Private::current(int column) const {
    if (editing()) return buffer.value(column);
    if (row < 0) return {};
    return rowValues(row).value(column);
}

void Query::Private::setState(State next) {
    if (state == next) return;
    state = next;
    emit q->stateChanged();
}

void Query::Private::moveTo(int index) {
    if (index == row) return;
    row = index;
    emit q->scrolled();
}

void Query::Private::tearDown() {
    if (state == State::Inactive) return;
    if (connection) connection->removeQuery(q);
    QObject::disconnect(closingLink);
    result.reset();
    connection.reset();
    fields.clear();
    schema = {};
    row = -1;
    bof = eof = true;
    buffer.clear();
    original.clear();
    modified = false;
    pendingRow = -1;
    setState(State::Inactive);
    emit q->closed();
    emit q->rowsChanged();
}

void Query::Private::scheduleRefresh() {
    if (refreshQueued || writing) return;
    refreshQueued = true;
    // Queued: a loop of changes through another query ends in one refresh.
    QMetaObject::invokeMethod(
        q,
        [this] {
            refreshQueued = false;
            if (state == State::Inactive) return;
            emit q->refreshed();
            if (state == State::Browse) emit q->recordChanged();
        },
        Qt::QueuedConnection);
}

// ---- SQL text ----

Query::Query(QObject* parent) : QObject(parent), d(std::make_unique<Private>(this)) {}

Query::~Query() {
    // Nothing typed is lost when the query goes away; a failing store cannot
    // be reported from here, so the edit is dropped then.
    try {
        close();
    } catch (const std::exception&) {
        d->tearDown();
    }
}

void Query::clearSql() {
    close();
    d->sql.clear();
}

void Query::addSql(const QString& line) {
    close();
    d->sql.append(line);
}

void Query::setSql(const QStringList& lines) {
    close();
    d->sql = lines;
}

QStringList Query::sql() const {
    return d->sql;
}

void Query::setRequestLive(bool live) {
    d->live = live;
}
bool Query::requestLive() const {
    return d->live;
}

// ---- open, execute, close ----

void Query::open() {
    if (d->state != State::Inactive) return;
    const detail::ParsedStatement statement = detail::parseStatement(d->sql.join(QLatin1Char(' ')));
    if (statement.kind != detail::StatementKind::Select)
        throw EngineError(QStringLiteral("Die Anweisung liefert keine Datenmenge; sie wird "
                                         "ausgeführt, nicht geöffnet."));
    auto connection = detail::acquire(statement.tablePath);
    const detail::Translation translation = detail::translate(statement, connection->schema());

    QVector<qint64> ids;
    {
        detail::Statement select(*connection, translation.sql);
        select.bind(translation.params);
        while (select.step())
            ids.append(select.int64(0));
    }

    d->connection = connection;
    d->result = std::make_unique<detail::ResultSet>(connection, std::move(ids));
    d->result->setStaleHandler([this] { d->scheduleRefresh(); });
    d->schema = connection->schema();
    d->fields = translation.fields;
    d->order = translation.order;
    d->modifiable =
        d->live && d->fields.contains(d->schema.idColumn()) && !connection->isReadOnly();
    d->closingLink =
        connect(connection.get(), &detail::Connection::closing, this, [this] { d->tearDown(); });
    connection->addQuery(this);

    d->row = d->count() > 0 ? 0 : -1;
    d->bof = true;
    d->eof = d->count() == 0;
    d->setState(State::Browse);
    emit opened();
    emit rowsChanged();
}

int Query::execSql() {
    close();
    const detail::ParsedStatement statement = detail::parseStatement(d->sql.join(QLatin1Char(' ')));
    if (statement.kind == detail::StatementKind::CreateTable) {
        detail::createTable(statement.tablePath, detail::translateCreate(statement));
        return 0;
    }
    auto connection = detail::acquire(statement.tablePath);
    const detail::Translation translation = detail::translate(statement, connection->schema());
    detail::Statement run(*connection, translation.sql);
    if (statement.kind == detail::StatementKind::Select)
        return 0; // prepared, so checked; a result is only kept by open()
    run.bind(translation.params);
    const int changed = run.run();
    // A DELETE without WHERE empties the table without telling about each row.
    if (statement.kind == detail::StatementKind::Delete) connection->forgetAllRows();
    return changed;
}

void Query::close() {
    if (d->state == State::Inactive) return;
    d->checkBrowseMode();
    d->tearDown();
}

bool Query::isActive() const {
    return d->state != State::Inactive;
}
bool Query::canModify() const {
    return isActive() && d->modifiable;
}
QString Query::tablePath() const {
    return d->connection ? d->connection->path() : QString();
}

// ---- cursor ----

int Query::recordCount() const {
    return d->count();
}
int Query::recNo() const {
    return d->row;
}
bool Query::eof() const {
    return d->eof || d->count() == 0;
}
bool Query::bof() const {
    return d->bof || d->count() == 0;
}
bool Query::isEmpty() const {
    return d->count() == 0;
}

void Query::first() {
    d->requireActive();
    d->checkBrowseMode();
    d->bof = true;
    d->eof = d->count() == 0;
    d->moveTo(d->count() > 0 ? 0 : -1);
}

void Query::last() {
    d->requireActive();
    d->checkBrowseMode();
    d->eof = true;
    d->bof = d->count() == 0;
    d->moveTo(d->count() - 1);
}

void Query::next() {
    moveBy(1);
}

void Query::prior() {
    moveBy(-1);
}

int Query::moveBy(int distance) {
    d->requireActive();
    d->checkBrowseMode();
    if (distance == 0 || d->count() == 0) return 0;
    const int target = qBound(0, d->row + distance, d->count() - 1);
    const int moved = target - d->row;
    d->bof = distance < 0 && moved != distance;
    d->eof = distance > 0 && moved != distance;
    d->moveTo(target);
    return moved;
}

void Query::setRecNo(int row) {
    d->requireActive();
    d->checkBrowseMode();
    if (d->count() == 0) return;
    d->bof = d->eof = false;
    d->moveTo(qBound(0, row, d->count() - 1));
}

bool Query::locate(qint64 id) {
    d->requireActive();
    d->checkBrowseMode();
    const int index = id > 0 ? d->result->indexOf(id) : -1;
    if (index < 0) return false;
    d->bof = d->eof = false;
    d->moveTo(index);
    return true;
}

// ---- fields ----

QStringList Query::fieldNames() const {
    QStringList names;
    for (int index : d->fields)
        names.append(d->schema.columns[index].name);
    return names;
}

int Query::fieldIndex(const QString& name) const {
    for (int k = 0; k < d->fields.size(); ++k)
        if (d->schema.columns[d->fields[k]].name.compare(name, Qt::CaseInsensitive) == 0) return k;
    return -1;
}

int Query::fieldWidth(const QString& name) const {
    const Column* column = d->schema.find(name);
    return column ? column->width : 0;
}

QVariant Query::value(const QString& field) const {
    d->requireActive();
    return d->current(d->column(field));
}

QString Query::asString(const QString& field) const {
    return detail::storedAsString(value(field));
}

int Query::asInteger(const QString& field) const {
    return detail::storedAsInteger(value(field));
}

bool Query::asBoolean(const QString& field) const {
    return detail::storedAsBoolean(value(field));
}

qint64 Query::currentId() const {
    if (!d->result || d->row < 0 || d->state == State::Insert) return 0;
    return d->result->id(d->row);
}

QVariant Query::valueAt(int row, int column) const {
    if (!d->result || row < 0 || row >= d->count() || column < 0 || column >= d->fields.size())
        return {};
    const int index = d->fields[column];
    if ((d->state == State::Insert && row == d->pendingRow) ||
        (d->state == State::Edit && row == d->row))
        return d->buffer.value(index);
    return d->rowValues(row).value(index);
}

QString Query::stringAt(int row, int column) const {
    return detail::storedAsString(valueAt(row, column));
}

int Query::integerAt(int row, int column) const {
    return detail::storedAsInteger(valueAt(row, column));
}

qint64 Query::idAt(int row) const {
    return d->result ? d->result->id(row) : 0;
}

Query::State Query::state() const {
    return d->state;
}
bool Query::isModified() const {
    return d->editing() && d->modified;
}

} // namespace engine
