#pragma once
// Dropping accents and breathings from Greek words before they are compared
// or sorted. Greek is typed in three ways, each with its own byte layout:
//  - the symbol font "Greek": accented letters sit at their own byte values;
//  - a font whose name ends in "HEBGRI": accents are ASCII signs typed after
//    the letter;
//  - a normal font in the Greek character set 161 (Windows-1253).
// All functions take stored text (the Windows-1252 decoding of the bytes) and
// work on the byte values; none changes its argument.
#include <QString>

namespace greekaccents {

// The foreign-word font name that selects the symbol-font table.
inline constexpr const char* GreekFontName = "Greek";
// The character set of Windows-1253.
inline constexpr int GreekCharset = 161;

// Symbol font "Greek": every accented letter becomes its plain letter. Applied
// only when foreignFontName is exactly "Greek" (case matters); for any other
// font the text comes back unchanged.
QString akkonv(const QString& text, const QString& foreignFontName);
// The same byte table without the font test, for callers that tested it.
QString akkonvTable(const QString& text);

// HEBGRI fonts: removes every one of the signs < > / \ | % & { } [ ] ~.
QString ak2konv(const QString& text);

// Windows-1253: the fourteen letters with tonos become their plain letters;
// letters with diaeresis stay.
QString ak3konv(const QString& text);

// Whether a font name marks a HEBGRI font. Names that end in "HEBGRI" (any
// case) count, and so do names whose six characters starting one before the
// last six read "HEBGRI" (such as "HEBGRI2"), which earlier releases accepted.
bool isHebgriFontName(const QString& fontName);

// Which stripping a database's foreign-word font and word character set ask for.
enum class AccentRule { None, SymbolFont, Hebgri, Codepage1253 };
AccentRule accentRuleFor(const QString& foreignFontName, int wordFontCharset);

// Strips by the rule the font and character set choose: "Greek" → akkonv,
// a HEBGRI font → ak2konv, character set 161 → ak3konv, otherwise unchanged.
QString stripAccents(const QString& text, const QString& foreignFontName, int wordFontCharset);

} // namespace greekaccents
