#pragma once
// The options that steer the answer comparison, one field per control of the
// quiz settings page (named as the controls are) plus the few facts of the
// open database and of the current word that the comparison needs. The quiz
// window fills it from its settings; the comparison never reads a widget.
//
// All texts are stored text (the Windows-1252 decoding of the bytes), the way
// the options record and the word table hold them.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace comparison {

struct ComparisonOptions {
    // Normaliser chain, in the order the steps run.
    bool aktign = false;                // ignore "Griechische Akzente"
    bool cbfa = false;                  // ignore "Französische Akzente"
    bool cbkw = false;                  // use "Kompatible Wörter"
    QList<QPair<QString, QString>> lkw; // compatible-word pairs (left, right), grid rows in order
    bool cbss = false;                  // ignore "ß und ss"
    bool CheckBox5 = false;             // ignore "Satzzeichen"
    QString Memo4;                      // "Satzzeichenliste": every character of it is punctuation
    bool CheckBox3 = false;             // ignore "Groß-/Kleinschreibung"
    bool CheckBox2 = false;             // ignore "Leerzeichen"
    bool CheckBox4 = false;             // ignore "Artikel"
    QStringList Memo3;                  // "Artikelliste", one article per line
    // Typo autocorrection.
    bool ak1 = false;  // "Vertauschte Buchstaben"
    bool ak2 = false;  // "Buchstabe zuviel"
    bool ak3 = false;  // "Buchstabe zuwenig"
    bool ak4 = false;  // "Falscher Buchstabe"
    int ak12 = 5;      // "Wenig oder viel korrigieren", 0..14
    bool cbuk = false; // "Unkorrigierbare nicht"
    QStringList ukb;   // "Unkorrigierbar": words never corrected, one per line
    // Fallbacks and synonyms.
    bool cbrf = false;                  // ignore "Andere Wortreihenfolge"
    bool cbklamm = false;               // ignore "Wörter in Klammern"
    bool cbsyn = false;                 // only one synonym per line required
    QString esyn = QStringLiteral(";"); // "Trennzeichen:" (first character; empty means ";")
    // "Autokorrektur aktiv" for the translation, principal parts and genitive.
    bool cbaue = false;
    bool cbast = false;
    bool cbage = false;
    // Special forms asked, and the "only the ending" rules.
    bool labf = false;     // ask "Stammformen"
    bool geabf = false;    // ask "Genitiv"
    bool seabf = false;    // ask "Genus"
    bool cbstamm = false;  // principal parts: only the ending
    bool cbendung = false; // genitive: only the ending
    bool cbpraep = false;  // genus of prepositions is shown, not asked
    bool rbabmult = false; // mode "Multiple Choice"

    // Not options: the quiz window's hidden `uber` (the expected answer is the
    // foreign word) and the open database's foreign-word font and word
    // character set, which pick the Greek accent rule.
    bool uber = false;
    QString foreignFontName;
    int WordFontCharset = 0;
};

} // namespace comparison
