#pragma once
// Splits statement text into words, literals and symbols. String literals
// stand in double quotes (or single quotes); a doubled quote inside one is a
// single quote character, so no text inside a literal can end it early.
#include <QString>
#include <QVector>

namespace engine::detail {

struct Token {
    enum class Type { Word, String, Number, Symbol };
    Type type;
    QString text; // a literal's value with doubled quotes folded

    bool isWord(const char* upper) const {
        return type == Type::Word && text.compare(QLatin1String(upper), Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(const char* symbol) const {
        return type == Type::Symbol && text == QLatin1String(symbol);
    }
};

// Throws EngineError on an unterminated literal or a character that has no
// meaning outside one (such as "?" or ":", which would otherwise reach SQLite).
QVector<Token> tokenize(const QString& text);

} // namespace engine::detail
