#include "greektyping.h"

#include "database/databaseoptions.h"
#include "database/generaloptions.h"
#include "mainwindow/typededit.h"
#include "platform/codec.h"

#include <algorithm>
#include <initializer_list>

bool GreekInputBusy = false;

namespace {

using platform::codec::storedByte;
using platform::codec::storedChar;

constexpr int Grave = 96;
constexpr int Acute = 180;
constexpr int Circumflex = '^';

int code(const QString& s, int index) { return storedByte(s.at(index)); }
QChar ch(int byte) { return storedChar(static_cast<unsigned char>(byte)); }

bool isAccentSign(int c) { return c == Circumflex || c == Grave || c == Acute; }

bool isCapitalBase(int c) {
    return c == 'A' || c == 'E' || c == 'H' || c == 'I' || c == 'O' || c == 'R' || c == 'U' ||
           c == 'W';
}

bool isAccentedCode(int c) {
    static constexpr int codes[] = {133, 136, 139, 154, 157, 163, 166, 169, 187, 190,
                                    193, 210, 213, 218, 221, 224, 232, 235, 238};
    return std::find(std::begin(codes), std::end(codes), c) != std::end(codes);
}

// Keyboard accents: the accented Latin vowel → the font's accented letter.
int keyboardAccentCode(int c) {
    switch (c) {
    case 0xE0: return 166; // à
    case 0xE1: return 163; // á
    case 0xE2: return 169; // â
    case 0xE8: return 157; // è
    case 0xE9: return 154; // é
    case 0xEC: return 136; // ì
    case 0xED: return 133; // í
    case 0xEE: return 139; // î
    case 0xF2: return 213; // ò
    case 0xF3: return 210; // ó
    case 0xF9: return 221; // ù
    case 0xFA: return 218; // ú
    case 0xFB: return 224; // û
    default: return -1;
    }
}

int accentedEtaOmega(int accent, int letter) {
    const bool eta = letter == 'h';
    switch (accent) {
    case Circumflex: return eta ? 193 : 238;
    case Acute: return eta ? 187 : 232;
    default: return eta ? 190 : 235; // grave
    }
}

int roughBreathing(int c) {
    switch (c) {
    case 'a': return 161;
    case 'e': return 152;
    case 'h': return 185;
    case 'i': return 131;
    case 'o': return 208;
    case 'r': return 183;
    case 'u': return 216;
    case 'w': return 230;
    default: return isAccentedCode(c) ? c + 1 : c;
    }
}

int smoothBreathing(int c) {
    switch (c) {
    case 'a': return 162;
    case 'e': return 153;
    case 'h': return 186;
    case 'i': return 132;
    case 'o': return 209;
    case 'u': return 217;
    case 'w': return 231;
    default: return isAccentedCode(c) ? c + 2 : c;
    }
}

// An accent sign and a breathing sign before a capital letter → the one code
// of that pair, or -1.
int pairCode(int accent, int breathing) {
    if (breathing == '<') {
        if (accent == Acute) return 147;
        if (accent == Grave) return 149;
        if (accent == Circumflex) return 145;
    } else if (breathing == '>') {
        if (accent == Acute) return 148;
        if (accent == Grave) return 150;
        if (accent == Circumflex) return 146;
    }
    return -1;
}

// Steps on the character c just left of the caret p and the one before it.
void composeAtCaret(QString& s, int& p, int& shift) {
    if (p < 1 || p > s.size() || s.at(p - 1) == QLatin1Char(' ')) return;
    auto removeBefore = [&] { // removes b, the character before c
        s.remove(p - 2, 1);
        --p;
        --shift;
    };

    if (int replaced = keyboardAccentCode(code(s, p - 1)); replaced >= 0) s[p - 1] = ch(replaced);

    if (p >= 2) {
        const int c = code(s, p - 1), b = code(s, p - 2);
        if ((c == 'h' || c == 'w') && isAccentSign(b)) {
            s[p - 1] = ch(accentedEtaOmega(b, c));
            removeBefore();
        }
    }

    if (p >= 2 && !isAccentSign(code(s, p - 1))) {
        const int c = code(s, p - 1), b = code(s, p - 2);
        if (b == '+') {
            if (c == 'a' || c == 'h' || c == 'w') {
                s[p - 1] = QLatin1Char(c == 'a' ? 'v' : c == 'h' ? 'V' : 'J');
                removeBefore();
            }
        } else if (b == '<') {
            s[p - 1] = ch(roughBreathing(c));
            removeBefore();
        } else if (b == '>') {
            s[p - 1] = ch(smoothBreathing(c));
            removeBefore();
        }
    }

    if (p >= 2 && !isAccentSign(code(s, p - 1)) && code(s, p - 2) == '+') {
        const int c = code(s, p - 1);
        if ((c >= 161 && c <= 171) || (c >= 230 && c <= 240)) {
            s[p - 1] = ch(c + 11);
            removeBefore();
        } else if (c >= 185 && c <= 195) {
            s[p - 1] = ch(c + 12);
            removeBefore();
        }
    }
}

} // namespace

GreekTypingResult composeGreekAtCaret(const QString& text, int caret) {
    GreekTypingResult result{text, std::clamp(caret, 0, int(text.size())), 0};
    composeAtCaret(result.text, result.caret, result.caretShift);
    return result;
}

GreekTypingResult applyGreekTyping(const QString& text, int caret) {
    GreekTypingResult result{text, std::clamp(caret, 0, int(text.size())), 0};
    const int length = text.size();
    if (length == 0) return result;

    const GreekTypingResult composed = composeGreekAtCaret(text, caret);
    const QString& s = composed.text;
    const int p = composed.caret;
    const int shift = composed.caretShift;

    // A capital letter typed at the end takes the signs before it as a prefix
    // of its own (breathing and accent written before a capital). Inside a
    // word the letters are composed as usual.
    const bool capitalAtEnd = isCapitalBase(code(text, length - 1)) && result.caret == length;
    if (!capitalAtEnd) {
        result.text = s;
        result.caret = p;
        result.caretShift = shift;
        return result;
    }
    if (length == 2) {
        if (text.at(0) == QLatin1Char('<')) result.text[0] = ch(Grave);
        else if (text.at(0) == QLatin1Char('>')) result.text[0] = QLatin1Char('\'');
        return result;
    }
    if (length >= 3) {
        const int accent = code(text, length - 3), breathing = code(text, length - 2);
        if (int pair = pairCode(accent, breathing); pair >= 0) {
            result.text[length - 3] = ch(pair);
            result.text.remove(length - 2, 1);
            result.caret = length - 1;
            result.caretShift = -1;
        } else if (breathing == '<') {
            result.text[length - 2] = ch(Grave);
        } else if (breathing == '>') {
            result.text[length - 2] = QLatin1Char('\'');
        }
    }
    return result;
}

GreekTypingResult sonderzeichen(const QString& before, const QString& after, int caret) {
    if (!TypedOneCharacter(before, after, caret))
        return {after, std::clamp(caret, 0, int(after.size())), 0};
    return applyGreekTyping(after, caret);
}

bool GreekTypingActive(const QString& fontName) {
    return GeneralOptions.AkzAkt && fontName == QLatin1String("Greek");
}

bool GreekTypingActive() {
    return GreekTypingActive(DatabaseOptions.WordFont);
}
