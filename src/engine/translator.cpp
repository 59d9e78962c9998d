#include "engine/translator.h"

#include "engine/query.h"
#include "engine/schemaguard.h"

#include <QSet>

namespace engine::detail {

namespace {

using Type = Token::Type;

// Beyond this many literals in one statement (a very long "ID in (...)" list)
// numbers are written into the text instead of bound; a number token holds
// digits only, so that cannot change the statement's meaning.
constexpr int maxBoundLiterals = 30000;

[[noreturn]] void syntaxError(const QString& detail) {
    throw EngineError(QStringLiteral("Fehler in der SQL-Anweisung: %1").arg(detail));
}

[[noreturn]] void unknownField(const QString& name) {
    throw EngineError(QStringLiteral("Feld '%1' nicht gefunden.").arg(name));
}

bool isComparison(const Token& token) {
    static const QSet<QString> operators{
        QStringLiteral("="), QStringLiteral("<>"), QStringLiteral("!="), QStringLiteral("<"),
        QStringLiteral(">"), QStringLiteral("<="), QStringLiteral(">=")};
    return token.type == Type::Symbol && operators.contains(token.text);
}

bool isTruthWord(const QString& text) {
    return text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
           text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0;
}

QVariant numberValue(const QString& text) {
    bool ok = false;
    const qint64 whole = text.toLongLong(&ok);
    if (ok) return whole;
    return text.toDouble();
}

// Index of the first token in [from, to) at parenthesis depth 0 that matches.
template <typename Match> int findTopLevel(const QVector<Token>& t, int from, int to, Match match) {
    int depth = 0;
    for (int i = from; i < to; ++i) {
        if (t[i].isSymbol("("))
            ++depth;
        else if (t[i].isSymbol(")"))
            --depth;
        else if (depth == 0 && match(i))
            return i;
    }
    return -1;
}

// Splits [from, to) at the commas of parenthesis depth 0.
QVector<QPair<int, int>> splitTopLevel(const QVector<Token>& t, int from, int to) {
    QVector<QPair<int, int>> parts;
    int start = from;
    for (;;) {
        const int comma = findTopLevel(t, start, to, [&](int i) { return t[i].isSymbol(","); });
        if (comma < 0) {
            parts.append({start, to});
            return parts;
        }
        parts.append({start, comma});
        start = comma + 1;
    }
}

// Index of the parenthesis that closes the one at `open`, -1 when none does.
int closingParenthesis(const QVector<Token>& t, int open) {
    int depth = 0;
    for (int i = open; i < t.size(); ++i) {
        if (t[i].isSymbol("("))
            ++depth;
        else if (t[i].isSymbol(")") && --depth == 0)
            return i;
    }
    return -1;
}

class Writer {
  public:
    Writer(const QVector<Token>& tokens, const Schema& schema) : t_(tokens), schema_(schema) {
        int literals = 0;
        for (const Token& token : tokens)
            if (token.type == Type::String || token.type == Type::Number) ++literals;
        bindNumbers_ = literals <= maxBoundLiterals;
    }

    void raw(const QString& text) {
        if (!sql_.isEmpty()) sql_ += QLatin1Char(' ');
        sql_ += text;
    }

    void literal(const QVariant& value) {
        raw(QStringLiteral("?"));
        params_.append(value);
    }

    // A single literal assigned to a column is stored as the column stores it:
    // text cut to CHAR(n), "True"/"False" as a truth value, NULL as the
    // column's empty value (fields hold no NULL; the key's NULL numbers the row).
    void assignedValue(const Column* column, int from, int to) {
        if (column && to - from == 1 && t_[from].isWord("NULL")) {
            literal(toStored(*column, QVariant()));
            return;
        }
        if (column && to - from == 1 &&
            (t_[from].type == Type::String || t_[from].type == Type::Number)) {
            const QVariant value = t_[from].type == Type::String ? QVariant(t_[from].text)
                                                                 : numberValue(t_[from].text);
            literal(toStored(*column, value));
            return;
        }
        expression(from, to);
    }

    void expression(int from, int to) {
        for (int i = from; i < to; ++i) {
            const Token& token = t_[i];
            switch (token.type) {
            case Type::Word:
                if (isTruthWord(token.text) && schema_.indexOf(token.text) < 0)
                    raw(token.isWord("TRUE") ? QStringLiteral("1") : QStringLiteral("0"));
                else
                    raw(token.text);
                break;
            case Type::String:
                if (isTruthWord(token.text) && besideBoolean(i, from, to))
                    literal(token.text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
                                ? 1
                                : 0);
                else
                    literal(token.text);
                break;
            case Type::Number:
                if (bindNumbers_)
                    literal(numberValue(token.text));
                else
                    raw(token.text);
                break;
            case Type::Symbol:
                raw(token.text);
                break;
            }
        }
    }

    // ORDER BY items: field names (also when quoted) and DESC/ASC; a number is
    // a column position, so it stays in the text.
    void orderItems(int from, int to) {
        for (int i = from; i < to; ++i) {
            const Token& token = t_[i];
            if (token.type == Type::String) {
                const Column* column = schema_.find(token.text);
                if (!column) unknownField(token.text);
                raw(column->name);
            } else {
                raw(token.text);
            }
        }
    }

    QString sql() const { return sql_; }
    QVariantList params() const { return params_; }

  private:
    bool isBooleanField(int i, int from, int to) const {
        if (i < from || i >= to || t_[i].type != Type::Word) return false;
        const Column* column = schema_.find(t_[i].text);
        return column && column->kind == Column::Kind::Boolean;
    }

    bool besideBoolean(int i, int from, int to) const {
        return (i - 2 >= from && isComparison(t_[i - 1]) && isBooleanField(i - 2, from, to)) ||
               (i + 2 < to && isComparison(t_[i + 1]) && isBooleanField(i + 2, from, to));
    }

    const QVector<Token>& t_;
    const Schema& schema_;
    bool bindNumbers_ = true;
    QString sql_;
    QVariantList params_;
};

const Column& columnNamed(const Schema& schema, const Token& token) {
    if (token.type != Type::Word && token.type != Type::String)
        syntaxError(QStringLiteral("Feldname erwartet bei '%1'.").arg(token.text));
    const Column* column = schema.find(token.text);
    if (!column) unknownField(token.text);
    return *column;
}

Translation translateSelect(const ParsedStatement& s, const Schema& schema) {
    const QVector<Token>& t = s.tokens;
    Translation result;
    const int id = schema.idColumn();
    if (id < 0) syntaxError(QStringLiteral("Die Tabelle hat kein Schlüsselfeld ID."));
    const QString idName = schema.columns[id].name;

    const int from = s.tableToken - 1;
    if (from == 2 && t[1].isSymbol("*")) {
        for (int i = 0; i < schema.size(); ++i)
            result.fields.append(i);
    } else {
        for (const auto& [begin, end] : splitTopLevel(t, 1, from)) {
            if (end - begin != 1)
                syntaxError(QStringLiteral("Nur Felder der Tabelle können ausgewählt werden."));
            result.fields.append(schema.indexOf(columnNamed(schema, t[begin]).name));
        }
    }

    const int rest = s.tableToken + 1;
    int order = findTopLevel(t, rest, t.size(), [&](int i) {
        return t[i].isWord("ORDER") && i + 1 < t.size() && t[i + 1].isWord("BY");
    });
    const int whereEnd = order < 0 ? t.size() : order;

    Writer out(t, schema);
    out.raw(QStringLiteral("SELECT %1 FROM %2").arg(idName, QLatin1String(tableName)));
    out.expression(rest, whereEnd);
    out.raw(QStringLiteral("ORDER BY"));
    bool orderedById = false;
    if (order >= 0) {
        const auto items = splitTopLevel(t, order + 2, t.size());
        for (int k = 0; k < items.size(); ++k) {
            const auto [begin, end] = items[k];
            if (begin == end) syntaxError(QStringLiteral("Feldname nach ORDER BY erwartet."));
            const bool isId =
                schema.indexOf(t[begin].text) == id &&
                (end - begin == 1 ||
                 (end - begin == 2 && (t[begin + 1].isWord("ASC") || t[begin + 1].isWord("DESC"))));
            orderedById = orderedById || isId;
            if (k > 0) out.raw(QStringLiteral(","));
            out.orderItems(begin, end);
        }
        if (items.size() == 1 && orderedById)
            result.order = t[items[0].second - 1].isWord("DESC")
                               ? Translation::Order::ByIdDescending
                               : Translation::Order::ById;
        else
            result.order = Translation::Order::Other;
        // Rows that tie on the named fields keep the table's key order.
        if (!orderedById) out.raw(QStringLiteral(", %1").arg(idName));
    } else {
        out.raw(idName);
    }
    result.sql = out.sql();
    result.params = out.params();
    return result;
}

Translation translateUpdate(const ParsedStatement& s, const Schema& schema) {
    const QVector<Token>& t = s.tokens;
    const int set = s.tableToken + 1;
    if (set >= t.size() || !t[set].isWord("SET")) syntaxError(QStringLiteral("SET erwartet."));
    const int where =
        findTopLevel(t, set + 1, t.size(), [&](int i) { return t[i].isWord("WHERE"); });
    const int assignmentsEnd = where < 0 ? t.size() : where;

    Writer out(t, schema);
    out.raw(QStringLiteral("UPDATE %1 SET").arg(QLatin1String(tableName)));
    const auto assignments = splitTopLevel(t, set + 1, assignmentsEnd);
    for (int k = 0; k < assignments.size(); ++k) {
        const auto [begin, end] = assignments[k];
        if (end - begin < 3 || !t[begin + 1].isSymbol("="))
            syntaxError(QStringLiteral("Zuweisung \"Feld = Wert\" erwartet."));
        const Column& column = columnNamed(schema, t[begin]);
        if (k > 0) out.raw(QStringLiteral(","));
        out.raw(column.name);
        out.raw(QStringLiteral("="));
        out.assignedValue(&column, begin + 2, end);
    }
    out.expression(assignmentsEnd, t.size());
    return {out.sql(), out.params(), {}, Translation::Order::Other};
}

Translation translateDelete(const ParsedStatement& s, const Schema& schema) {
    Writer out(s.tokens, schema);
    out.raw(QStringLiteral("DELETE FROM %1").arg(QLatin1String(tableName)));
    out.expression(s.tableToken + 1, s.tokens.size());
    return {out.sql(), out.params(), {}, Translation::Order::Other};
}

Translation translateInsert(const ParsedStatement& s, const Schema& schema) {
    const QVector<Token>& t = s.tokens;
    int i = s.tableToken + 1;
    QVector<const Column*> columns;
    if (i < t.size() && t[i].isSymbol("(")) {
        const int close = closingParenthesis(t, i);
        if (close < 0) syntaxError(QStringLiteral("Schließende Klammer fehlt."));
        for (const auto& [begin, end] : splitTopLevel(t, i + 1, close)) {
            if (end - begin != 1) syntaxError(QStringLiteral("Feldname erwartet."));
            columns.append(&columnNamed(schema, t[begin]));
        }
        i = close + 1;
    } else {
        for (const Column& column : schema.columns)
            columns.append(&column);
    }
    if (i >= t.size() || !t[i].isWord("VALUES")) syntaxError(QStringLiteral("VALUES erwartet."));

    Writer out(t, schema);
    QStringList names;
    for (const Column* column : columns)
        names.append(column->name);
    out.raw(QStringLiteral("INSERT INTO %1 (%2) VALUES")
                .arg(QLatin1String(tableName), names.join(QLatin1String(", "))));
    ++i;
    for (bool firstRow = true; i < t.size(); firstRow = false) {
        if (!firstRow) {
            if (!t[i].isSymbol(","))
                syntaxError(QStringLiteral("Komma zwischen Wertelisten erwartet."));
            out.raw(QStringLiteral(","));
            ++i;
        }
        const int close = i < t.size() && t[i].isSymbol("(") ? closingParenthesis(t, i) : -1;
        if (close < 0) syntaxError(QStringLiteral("Werteliste in Klammern erwartet."));
        const auto values = splitTopLevel(t, i + 1, close);
        if (values.size() != columns.size())
            syntaxError(QStringLiteral("Die Zahl der Werte passt nicht zur Zahl der Felder."));
        out.raw(QStringLiteral("("));
        for (int k = 0; k < values.size(); ++k) {
            if (k > 0) out.raw(QStringLiteral(","));
            out.assignedValue(columns[k], values[k].first, values[k].second);
        }
        out.raw(QStringLiteral(")"));
        i = close + 1;
    }
    return {out.sql(), out.params(), {}, Translation::Order::Other};
}

QString columnDefinition(const Column& column, const QString& declaredType) {
    switch (column.kind) {
    case Column::Kind::Id:
        return column.name + QLatin1String(" INTEGER PRIMARY KEY AUTOINCREMENT");
    case Column::Kind::Text:
        return QStringLiteral("%1 %2 NOT NULL DEFAULT ''").arg(column.name, declaredType);
    case Column::Kind::Integer:
    case Column::Kind::Boolean:
        return QStringLiteral("%1 %2 NOT NULL DEFAULT 0").arg(column.name, declaredType);
    case Column::Kind::Other:
        break;
    }
    return column.name + QLatin1Char(' ') + declaredType;
}

} // namespace

ParsedStatement parseStatement(const QString& text) {
    ParsedStatement s;
    s.tokens = tokenize(text);
    QVector<Token>& t = s.tokens;
    while (!t.isEmpty() && t.last().isSymbol(";"))
        t.removeLast();
    if (t.isEmpty()) throw EngineError(QStringLiteral("Keine SQL-Anweisung angegeben."));
    for (const Token& token : t)
        if (token.isSymbol(";"))
            syntaxError(QStringLiteral("Nur eine Anweisung auf einmal ist möglich."));

    const Token& first = t[0];
    if (first.isWord("SELECT")) {
        s.kind = StatementKind::Select;
        const int from = findTopLevel(t, 1, t.size(), [&](int i) { return t[i].isWord("FROM"); });
        if (from < 0) syntaxError(QStringLiteral("FROM erwartet."));
        s.tableToken = from + 1;
    } else if (first.isWord("UPDATE")) {
        s.kind = StatementKind::Update;
        s.tableToken = 1;
    } else if (first.isWord("DELETE") && t.size() > 1 && t[1].isWord("FROM")) {
        s.kind = StatementKind::Delete;
        s.tableToken = 2;
    } else if (first.isWord("INSERT") && t.size() > 1 && t[1].isWord("INTO")) {
        s.kind = StatementKind::Insert;
        s.tableToken = 2;
    } else if (first.isWord("CREATE") && t.size() > 1 && t[1].isWord("TABLE")) {
        s.kind = StatementKind::CreateTable;
        s.tableToken = 2;
    } else {
        throw EngineError(QStringLiteral("Nicht unterstützte SQL-Anweisung: %1").arg(first.text));
    }
    if (s.tableToken >= t.size() ||
        (t[s.tableToken].type != Type::String && t[s.tableToken].type != Type::Word) ||
        t[s.tableToken].text.trimmed().isEmpty())
        syntaxError(QStringLiteral("Tabellenname erwartet."));
    s.tablePath = t[s.tableToken].text;
    return s;
}

Translation translate(const ParsedStatement& statement, const Schema& schema) {
    switch (statement.kind) {
    case StatementKind::Select:
        return translateSelect(statement, schema);
    case StatementKind::Update:
        return translateUpdate(statement, schema);
    case StatementKind::Delete:
        return translateDelete(statement, schema);
    case StatementKind::Insert:
        return translateInsert(statement, schema);
    case StatementKind::CreateTable:
        break;
    }
    syntaxError(QStringLiteral("CREATE TABLE liefert keine Übersetzung für Abfragen."));
}

TableDefinition translateCreate(const ParsedStatement& s) {
    const QVector<Token>& t = s.tokens;
    const int open = s.tableToken + 1;
    const int close = open < t.size() && t[open].isSymbol("(") ? closingParenthesis(t, open) : -1;
    if (close < 0 || close != t.size() - 1)
        syntaxError(QStringLiteral("Feldliste in Klammern erwartet."));

    TableDefinition table;
    QStringList definitions;
    for (const auto& [begin, end] : splitTopLevel(t, open + 1, close)) {
        // The key is always ID; the closing PRIMARY KEY(ID) clause only says so.
        if (end - begin >= 2 && t[begin].isWord("PRIMARY") && t[begin + 1].isWord("KEY")) continue;
        if (end - begin < 2 || t[begin].type != Type::Word || t[begin + 1].type != Type::Word)
            syntaxError(QStringLiteral("Felddefinition \"Name Typ\" erwartet."));
        QString declared = t[begin + 1].text.toUpper();
        int next = begin + 2;
        if (next < end && t[next].isSymbol("(")) {
            if (next + 2 >= end || t[next + 1].type != Type::Number || !t[next + 2].isSymbol(")"))
                syntaxError(QStringLiteral("Feldlänge in Klammern erwartet."));
            declared += QStringLiteral("(%1)").arg(t[next + 1].text);
            next += 3;
        }
        if (next != end)
            syntaxError(QStringLiteral("Unerwartete Angabe bei Feld %1.").arg(t[begin].text));
        Column column;
        column.name = t[begin].text;
        column.kind = kindOfType(declared, &column.width);
        if (table.schema.indexOf(column.name) >= 0)
            syntaxError(QStringLiteral("Feld %1 ist doppelt angegeben.").arg(column.name));
        table.schema.columns.append(column);
        definitions.append(columnDefinition(column, declared));
    }
    if (table.schema.idColumn() < 0)
        syntaxError(QStringLiteral("Die Tabelle braucht ein Feld vom Typ AUTOINC."));

    table.statements.append(
        QStringLiteral("CREATE TABLE %1 (%2)")
            .arg(QLatin1String(tableName), definitions.join(QLatin1String(", "))));
    // Every lesson view selects by Lektion; its index makes that a lookup.
    if (const Column* lesson = table.schema.find(QStringLiteral("Lektion")))
        table.statements.append(lessonIndexStatement(lesson->name));
    return table;
}

} // namespace engine::detail
