#pragma once
// Index cards: two cards side by side in every row of a portrait A4 page, for
// cutting out. "Zum Falten" prints each word's front (foreign word) left and
// its back (translation) right; "Vorderseite" prints fronts only, two words a
// row; "Rückseite" prints the backs of the same pairs mirrored, so that a
// sheet printed with fronts can be fed again and gets the matching backs.
//
// Widget-free, like the word list: the layout produces a ReportDocument.
#include "printing/wordlistreport.h"

#include <QList>
#include <QString>

// --- Card measures -------------------------------------------------------------

// The allowed ranges and defaults in millimetres.
struct CardMeasureRange {
    const char* name; // as the messages name it
    double defaultValue;
    double maximum;
    double minimum;
    const char* defaultText; // the default as the edit shows it
};
extern const CardMeasureRange CardWidthRange;  // "Karteikartenbreite": 91.5, 50 … 110
extern const CardMeasureRange CardHeightRange; // "Karteikartenhöhe": 43.5, 25 … 90
extern const CardMeasureRange CardGapHRange;   // "Abstand horizontal": 1.5, 0 … 60
extern const CardMeasureRange CardGapVRange;   // "Abstand vertikal": 4.0, 0 … 60

// A measure as typed: a decimal number with a comma or a point. False for
// anything else (empty text, letters, infinities).
bool ParseCardMeasure(const QString& text, double* value);
// The shortest decimal form with a decimal comma (91.5 → "91,5", 110 → "110").
QString FormatCardMeasure(double value);

// The check of one edit before a card build: a text that is no number is
// reset to the default, a number outside the range is set to the bound it
// passed; `message` then holds what the user is told, and `text` what the
// edit shows afterwards.
struct CardMeasureCheck {
    double value = 0;
    QString text;
    QString message; // empty when the value was fine
};
CardMeasureCheck CheckCardLayoutValue(const CardMeasureRange& range, const QString& text);

// A value as the layout uses it: parsed and kept within its range; the
// default when the text is no number.
double CardMeasureValue(const CardMeasureRange& range, const QString& text);

// --- Cards ---------------------------------------------------------------------

enum class CardSide { Front, Back };

// Which word is printed on which card of a row (-1: the card stays empty).
struct CardRow {
    int left = -1;
    CardSide leftSide = CardSide::Front;
    int right = -1;
    CardSide rightSide = CardSide::Front;
};
QList<CardRow> PlanCardRows(int wordCount, CardKind kind);

// The back's text: when it has more line breaks than fit the card at the
// translation size (Round(limit / size) lines, limit 40 when the card also
// carries a first principal part, 60 otherwise), its lines run on, joined
// with ", ".
QString FitCardText(const QString& text, bool hasFirstPrincipalPart, int translationSize);

struct CardSettings {
    PageSettings page;
    PrintFonts fonts;
    CardKind kind = CardKind::Fold;
    bool frame = true;       // "Rahmen"
    bool lessonLabel = true; // "Lektionsnummer"
    double width = 91.5;     // mm
    double height = 43.5;
    double gapH = 1.5;
    double gapV = 4.0;
    int wordSize = 16;        // F
    int translationSize = 12; // U
    int specialSize = 10;     // S: special forms, remarks, header and footer
    int lessonSize = 8;       // K
    PrintPlacement remarks = PrintPlacement::None;
    PrintPlacement specialForms = PrintPlacement::None;
    // For the section text of "<abschnitt>".
    PrintOrder primary = PrintOrder::Lesson;
    QString accentFontName;
    QStringList lessonLines;
    QStringList lessonEntries;
};

// Vertical places of the rows under the main text of a card of height H (mm)
// with `rows` rows present: (start, step) in millimetres.
struct CardRowPlaces {
    int start = 0;
    int step = 0;
};
CardRowPlaces CardRowPositions(double cardHeight, int rows);

// Lays out the cards; progress and cancelling as for the word list.
report::ReportDocument LayoutIndexCards(const PrintWords& words, const CardSettings& settings,
                                        const PrintProgress& progress = {},
                                        const report::PageReady& pageReady = {});
