#pragma once
// The word list: a title, section captions whenever the primary sort key
// changes, and one entry per word (foreign word left, translation right,
// genitive, genus, principal parts and remarks where the options put them), in
// one to four columns on A4, with header and footer lines whose placeholders
// name the page, the date, the section, the database and its language.
//
// Widget-free: the layout produces a report::ReportDocument that the print
// window previews and prints and that tests inspect or write to a PDF.
#include "printing/printsettings.h"
#include "printing/reportdocument.h"
#include "printing/wordselection.h"

#include <QDate>
#include <QString>
#include <QStringList>

// --- Sections ----------------------------------------------------------------

// The section key of a word for the primary sort key: the lesson code, the
// first character of the foreign word or translation after accent stripping
// (`accentFontName` is the foreign-word font of the database: only "Greek"
// strips), the word class or the difficulty as text.
QString SectionKey(const PrintWord& word, PrintOrder primary, const QString& accentFontName);

// The caption of a section key: the lesson's entry (looked up by code in the
// lesson list lines, shown as `entries` shows them), the upper-cased letter,
// the word-class name ("Sonstiges" for 0 and 14) or the difficulty
// ("Sehr leichte Vokabeln" …). An empty key gives an empty caption.
QString SectionCaption(const QString& key, PrintOrder primary, const QStringList& lessonLines,
                       const QStringList& lessonEntries);

// Whether a caption is printed before a word: captions are on, the key
// differs from the previous word's, and the key is not the lesson of a
// printout of at most one lesson.
bool SectionCaptionWanted(const QString& key, const QString& previousKey, bool captionsOn,
                          int lessonCount, PrintOrder primary);

// --- Header and footer -------------------------------------------------------

struct PlaceholderValues {
    int page = 1;
    QString date;
    QString section;
    QString databaseName;
    QString language;
};

// Replaces "<seite>", "<datum>", "<abschnitt>", "<dbname>" and "<dbsprache>"
// (spelled exactly so) by their values; any other name between "<" and the
// next ">" disappears with its brackets, a "<" without a later ">" stays.
// Inserted values are never scanned again, so a lesson title or database name
// that itself contains a placeholder is printed as it is.
QString ExpandPlaceholders(const QString& text, const PlaceholderValues& values);

// A margin edit's value: the text as a whole number, 10 when it is none,
// kept within 1 … 200.
int Clamp1To200(const QString& text);

// --- Page set-up shared by the list and the cards ----------------------------

// Font names and character sets of the words as the open database shows them.
struct PrintFonts {
    QString wordFamily = QStringLiteral("Arial");
    int wordCharset = 1;
    QString translationFamily = QStringLiteral("Arial");
    int translationCharset = 1;
};

struct PageSettings {
    // Margins in millimetres (top, bottom, left, right).
    int top = 10;
    int bottom = 10;
    int left = 10;
    int right = 10;
    // Header and footer texts with placeholders; an empty text prints no band.
    QString header;
    QString footer;
    QString databaseName;
    QString language;
    QString date; // "<datum>"
};

// --- The list ------------------------------------------------------------------

struct WordListSettings {
    PageSettings page;
    PrintFonts fonts;
    int format = 0;    // 0 … 5: portrait 1, 2, 3 columns, landscape 2, 3, 4
    int fontSize = 12; // the list size; 11 prints as 12
    PrintOrder primary = PrintOrder::Lesson;
    bool sectionCaptions = true;
    bool lines = true;      // a line above every word
    bool frameStamm = true; // a frame round the six-field table of principal parts
    PrintPlacement remarks = PrintPlacement::None;
    PrintPlacement specialForms = PrintPlacement::None;
    QString title;             // PrintTitleLine
    int lessonCount = 1;       // lessons chosen
    QString accentFontName;    // the database's foreign-word font
    QStringList lessonLines;   // the lesson list
    QStringList lessonEntries; // their entries, same order
};

// The orientation and column count of a list format.
QPageLayout::Orientation ListFormatOrientation(int format);
int ListFormatColumns(int format);

// Lays out the words. The progress callback gets (words done, total) and may
// return false to stop; the document then holds what was laid out so far and
// is marked cancelled. No words give a document without pages. Each page is
// handed to `pageReady` as soon as it is complete.
report::ReportDocument LayoutWordList(const PrintWords& words, const WordListSettings& settings,
                                      const PrintProgress& progress = {},
                                      const report::PageReady& pageReady = {});
