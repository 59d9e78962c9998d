#include "engine/schema.h"

#include "engine/query.h"

#include <QRegularExpression>
#include <cmath>

namespace engine::detail {

Column::Kind kindOfType(const QString& declaredType, int* width) {
    const QString type = declaredType.trimmed().toUpper();
    if (width) *width = 0;
    static const QRegularExpression sized(QStringLiteral("^(?:VAR)?CHAR\\s*\\(\\s*(\\d+)\\s*\\)$"));
    if (const auto match = sized.match(type); match.hasMatch()) {
        if (width) *width = match.captured(1).toInt();
        return Column::Kind::Text;
    }
    if (type == QLatin1String("CHAR") || type == QLatin1String("VARCHAR") ||
        type == QLatin1String("TEXT"))
        return Column::Kind::Text;
    if (type == QLatin1String("AUTOINC")) return Column::Kind::Id;
    if (type == QLatin1String("SMALLINT") || type == QLatin1String("INTEGER") ||
        type == QLatin1String("INT"))
        return Column::Kind::Integer;
    if (type == QLatin1String("BOOLEAN")) return Column::Kind::Boolean;
    return Column::Kind::Other;
}

int Schema::indexOf(const QString& name) const {
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

const Column* Schema::find(const QString& name) const {
    const int i = indexOf(name);
    return i < 0 ? nullptr : &columns[i];
}

int Schema::idColumn() const {
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].kind == Column::Kind::Id) return i;
    return -1;
}

QVariant defaultValue(const Column& column) {
    switch (column.kind) {
    case Column::Kind::Text:
        return QString();
    case Column::Kind::Integer:
        return 0;
    case Column::Kind::Boolean:
        return false;
    case Column::Kind::Id:
    case Column::Kind::Other:
        break;
    }
    return {};
}

static bool isTextual(const QVariant& value) {
    const int type = value.metaType().id();
    return type == QMetaType::QString || type == QMetaType::QByteArray || type == QMetaType::QChar;
}

static bool textIsTrue(const QString& text) {
    const QString t = text.trimmed();
    return t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || t == QLatin1String("1");
}

static int integerFromText(const Column& column, const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return 0;
    bool ok = false;
    const int whole = t.toInt(&ok);
    if (ok) return whole;
    const double real = t.toDouble(&ok);
    if (ok && std::isfinite(real)) return static_cast<int>(std::nearbyint(real));
    throw EngineError(QStringLiteral("'%1' ist kein gültiger Zahlenwert für das Feld '%2'.")
                          .arg(text, column.name));
}

QVariant toStored(const Column& column, const QVariant& value) {
    const bool empty = !value.isValid() || value.isNull();
    switch (column.kind) {
    case Column::Kind::Id:
        if (empty || (isTextual(value) && value.toString().trimmed().isEmpty())) return {};
        return value.toLongLong();
    case Column::Kind::Text: {
        if (empty) return QString();
        QString text = value.metaType().id() == QMetaType::Bool
                           ? QString::fromLatin1(value.toBool() ? "True" : "False")
                           : value.toString();
        if (column.width > 0 && text.size() > column.width) text.truncate(column.width);
        return text;
    }
    case Column::Kind::Integer:
        if (empty) return 0;
        if (isTextual(value)) return integerFromText(column, value.toString());
        if (value.metaType().id() == QMetaType::Double || value.metaType().id() == QMetaType::Float)
            return static_cast<int>(std::nearbyint(value.toDouble()));
        return value.toInt();
    case Column::Kind::Boolean:
        if (empty) return false;
        if (isTextual(value)) return textIsTrue(value.toString());
        return value.toBool();
    case Column::Kind::Other:
        break;
    }
    return value;
}

QString storedAsString(const QVariant& value) {
    if (!value.isValid() || value.isNull()) return {};
    if (value.metaType().id() == QMetaType::Bool)
        return QString::fromLatin1(value.toBool() ? "True" : "False");
    return value.toString();
}

int storedAsInteger(const QVariant& value) {
    if (!value.isValid() || value.isNull()) return 0;
    if (isTextual(value)) {
        bool ok = false;
        const int number = value.toString().trimmed().toInt(&ok);
        return ok ? number : 0;
    }
    return value.toInt();
}

bool storedAsBoolean(const QVariant& value) {
    if (!value.isValid() || value.isNull()) return false;
    if (isTextual(value)) return textIsTrue(value.toString());
    return value.toBool();
}

} // namespace engine::detail
