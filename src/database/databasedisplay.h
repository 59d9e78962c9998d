#pragma once
// What the main window and the quiz window show of the open database, worked
// out without widgets: the language-dependent captions and quiz settings, the
// fonts of the word fields with their character sets, the quiz prompts built
// from the special-form captions, and the state of the navigation buttons.
// The windows only hand these values to their controls.
#include "database/charsets.h"

#include <QString>
#include <array>
#include <functional>

class TDatabaseOptionsRec;
struct SpecialFormCaptions;

// SetLanguageLabels.
struct LanguageLabels {
    // LabelPraeFut, LabelPerAor, LabelPerfekt, LabelFuturPassiv,
    // LabelAoristPassiv, LabelPerfektPassiv; an empty entry leaves the label
    // as it is. ApplySpecialFormCaptions sets all six afterwards.
    std::array<QString, 6> formLabels;
    // Tab order of DBFuturPassiv, DBAoristPassiv, DBPerfektPassiv (0 first).
    std::array<int, 3> passiveTabOrder{};
    bool centreForeignWord = false; // DBFremdwort centred (Hebrew)
    bool panelGreVisible = false;   // PanelGre shown (Greek, Hebrew)
    bool greekMode = false;         // the quiz window's check box griech
    int quizMemoPointSize = 10;     // the quiz window's Edit5 and MemoUebers
};
// `hebrew`: IsHebrewLanguage() at the time of the call.
LanguageLabels PlanLanguageLabels(const QString& language, bool hebrew, const QString& wordFont);

// ApplyFonts: the four fonts of the open database with the character set in
// which each shows the stored text.
struct DatabaseFonts {
    // The special-character window's grids SG, sg2, sgall; DBGitter and its
    // column 0; DBcFremdwort; the six special-form edits; DBGenetiv.
    WordFontView tableWord;
    // DBFremdwort.
    WordFontView word;
    // DBuebersetzung, DBExtra (the word charset only with CharsetInTranslation).
    WordFontView translation;
    // DBGitter column 1, DBcUebersetzung, DBGenus.
    WordFontView tableTranslation;
    bool centreForeignWord = false;
};
DatabaseFonts PlanDatabaseFonts(const TDatabaseOptionsRec& options, bool hebrew);

// ApplySpecialFormCaptions: the quiz prompt of the genitive field, "Bitte " +
// the caption without one trailing ":" + " eingeben:".
QString GenitivePrompt(const QString& genitiveCaption);
// The caption font of the special-form labels.
QFont CaptionFont(const SpecialFormCaptions& captions);

// The foreign-word font of a Greek or Hebrew database that draws the script
// itself (its letters lie on the Latin codes: a database in the standard,
// ANSI or symbol character set) when `installed` does not know it; empty
// otherwise. Another font in its place shows the words as Latin letters. A
// database in the Greek or Hebrew character set needs no font of its own.
QString MissingScriptFont(const TDatabaseOptionsRec& options, const QString& language, bool hebrew,
                          const std::function<bool(const QString&)>& installed);
// Whether a font family is installed on this computer.
bool FontInstalled(const QString& family);
// The German notice naming the missing font.
QString MissingFontMessage(const QString& font, const QString& databaseName);

// UpdateNavButtons: which of SpeedFirst, SpeedPrior, Speednext, SpeedLast are
// enabled for the current row (0-based, -1 on an empty result) of `count` rows.
struct NavButtons {
    bool first = false;
    bool prior = false;
    bool next = false;
    bool last = false;
};
NavButtons NavButtonsFor(int row, int count);
template <typename QueryT> NavButtons NavButtonsFor(const QueryT& query) {
    return query.isActive() ? NavButtonsFor(query.recNo(), query.recordCount()) : NavButtons{};
}
