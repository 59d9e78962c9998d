#include "engine/tokenizer.h"

#include "engine/query.h"

namespace engine::detail {

namespace {

bool isWordStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_');
}
bool isWordPart(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}
bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Reads a literal that starts at text[i] with the quote character; returns the
// position after its closing quote.
int readLiteral(const QString& text, int i, QString* value) {
    const QChar quote = text[i];
    ++i;
    while (i < text.size()) {
        if (text[i] == quote) {
            if (i + 1 < text.size() && text[i + 1] == quote) {
                value->append(quote);
                i += 2;
                continue;
            }
            return i + 1;
        }
        value->append(text[i]);
        ++i;
    }
    throw EngineError(
        QStringLiteral("Fehler in der SQL-Anweisung: Eine Zeichenkette ist nicht abgeschlossen."));
}

int readNumber(const QString& text, int i) {
    while (i < text.size() && isDigit(text[i]))
        ++i;
    if (i + 1 < text.size() && text[i] == QLatin1Char('.') && isDigit(text[i + 1])) {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
    }
    return i;
}

} // namespace

QVector<Token> tokenize(const QString& text) {
    QVector<Token> tokens;
    int i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            Token token{Token::Type::String, {}};
            i = readLiteral(text, i, &token.text);
            tokens.append(token);
        } else if (isDigit(c) ||
                   (c == QLatin1Char('.') && i + 1 < text.size() && isDigit(text[i + 1]))) {
            const int end = readNumber(text, c == QLatin1Char('.') ? i + 1 : i);
            if (end < text.size() && isWordStart(text[end]))
                throw EngineError(QStringLiteral("Fehler in der SQL-Anweisung bei '%1'.")
                                      .arg(text.mid(i, end - i + 1)));
            tokens.append({Token::Type::Number, text.mid(i, end - i)});
            i = end;
        } else if (isWordStart(c)) {
            int end = i + 1;
            while (end < text.size() && isWordPart(text[end]))
                ++end;
            tokens.append({Token::Type::Word, text.mid(i, end - i)});
            i = end;
        } else {
            const QString two = text.mid(i, 2);
            if (two == QLatin1String("<>") || two == QLatin1String("<=") ||
                two == QLatin1String(">=") || two == QLatin1String("!=") ||
                two == QLatin1String("||")) {
                tokens.append({Token::Type::Symbol, two});
                i += 2;
            } else if (QStringLiteral("=<>(),*+-/;").contains(c)) {
                tokens.append({Token::Type::Symbol, QString(c)});
                ++i;
            } else {
                throw EngineError(
                    QStringLiteral("Fehler in der SQL-Anweisung: Unerwartetes Zeichen '%1'.")
                        .arg(c));
            }
        }
    }
    return tokens;
}

} // namespace engine::detail
