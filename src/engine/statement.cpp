#include "engine/statement.h"

#include "engine/connection.h"
#include "engine/query.h"
#include "platform/codec.h"

#include <QStringDecoder>
#include <sqlite3.h>
#include <utility>

namespace engine::detail {

namespace {

QString wordTextOf(int type, const char* bytes, int size, bool* asText) {
    if (asText) *asText = type == SQLITE_TEXT;
    if (type == SQLITE_BLOB) return platform::codec::fromBytes(bytes, size);
    QString text = QString::fromUtf8(bytes, size);
    // Stored text never holds the replacement character: where it turns up,
    // the bytes may be no UTF-8, and only then is the slower check paid for.
    if (type == SQLITE_TEXT && text.contains(QChar::ReplacementCharacter)) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = utf8.decode(QByteArrayView(bytes, size));
        if (utf8.hasError()) {
            if (asText) *asText = false;
            return platform::codec::fromBytes(bytes, size);
        }
    }
    return text;
}

} // namespace

QString wordText(sqlite3_value* value, bool* asText) {
    const int type = sqlite3_value_type(value);
    if (type == SQLITE_NULL) {
        if (asText) *asText = false;
        return QString();
    }
    const char* bytes = type == SQLITE_BLOB
                            ? static_cast<const char*>(sqlite3_value_blob(value))
                            : reinterpret_cast<const char*>(sqlite3_value_text(value));
    return wordTextOf(type, bytes, sqlite3_value_bytes(value), asText);
}

StoredValue::~StoredValue() {
    sqlite3_value_free(value_);
}

StoredValue::StoredValue(StoredValue&& other) noexcept
    : value_(std::exchange(other.value_, nullptr)) {}

StoredValue& StoredValue::operator=(StoredValue&& other) noexcept {
    std::swap(value_, other.value_);
    return *this;
}

bool StoredValue::isNull() const {
    return !value_ || sqlite3_value_type(value_) == SQLITE_NULL;
}

QString StoredValue::text(bool* asText) const {
    if (!value_) {
        if (asText) *asText = false;
        return QString();
    }
    return wordText(value_, asText);
}

Statement::Statement(Connection& connection, const QString& sql)
    : connection_(connection), sql_(sql), statement_(connection.borrow(sql)) {}

Statement::~Statement() {
    connection_.giveBack(sql_, statement_);
}

void Statement::bind(const QVariantList& values) {
    for (int i = 0; i < values.size(); ++i)
        bind(i + 1, values[i]);
}

void Statement::bind(int index, const QVariant& value) {
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(statement_, index);
    } else {
        switch (value.metaType().id()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::ULong:
            rc = sqlite3_bind_int64(statement_, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(statement_, index, value.toDouble());
            break;
        default: {
            const QByteArray text = value.toString().toUtf8();
            rc = sqlite3_bind_text(statement_, index, text.constData(), int(text.size()),
                                   SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK) connection_.fail(rc);
}

void Statement::bind(int index, const StoredValue& value) {
    const int rc = value.value_ ? sqlite3_bind_value(statement_, index, value.value_)
                                : sqlite3_bind_null(statement_, index);
    if (rc != SQLITE_OK) connection_.fail(rc);
}

bool Statement::step() {
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    sqlite3_reset(statement_);
    connection_.fail(rc);
}

int Statement::run() {
    while (step()) {
    }
    return sqlite3_changes(sqlite3_db_handle(statement_));
}

void Statement::finish() {
    sqlite3_reset(statement_);
}

QVariant Statement::value(int column, Column::Kind kind) const {
    const int type = sqlite3_column_type(statement_, column);
    if (type == SQLITE_NULL) return {};
    switch (kind) {
    case Column::Kind::Text: {
        // The file keeps UTF-8; reading it as such spares SQLite a conversion.
        const char* bytes =
            type == SQLITE_BLOB
                ? static_cast<const char*>(sqlite3_column_blob(statement_, column))
                : reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        return wordTextOf(type, bytes, sqlite3_column_bytes(statement_, column), nullptr);
    }
    case Column::Kind::Integer:
        return static_cast<int>(sqlite3_column_int64(statement_, column));
    case Column::Kind::Boolean:
        return sqlite3_column_int64(statement_, column) != 0;
    case Column::Kind::Id:
        return static_cast<qint64>(sqlite3_column_int64(statement_, column));
    case Column::Kind::Other:
        break;
    }
    switch (type) {
    case SQLITE_INTEGER:
        return static_cast<qint64>(sqlite3_column_int64(statement_, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(statement_, column);
    default:
        return value(column, Column::Kind::Text);
    }
}

qint64 Statement::int64(int column) const {
    return sqlite3_column_int64(statement_, column);
}

StoredValue Statement::stored(int column) const {
    StoredValue value;
    value.value_ = sqlite3_value_dup(sqlite3_column_value(statement_, column));
    if (!value.value_) throw EngineError(QStringLiteral("Zu wenig Speicher."));
    return value;
}

} // namespace engine::detail
