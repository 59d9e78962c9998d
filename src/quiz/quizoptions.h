#pragma once
// The quiz options record "Option.dat" (or the per-language "<Sprache>o.dat"):
// how a quiz asks and how strictly it judges. One fixed image of 60,980 bytes,
// read and written whole. QuizOptions holds the options in force; the quiz,
// the answer comparison and multiple choice read it, the settings page of the
// quiz window edits it.
//
// The members carry the names of the settings page's controls, so that the
// code reading an option names the same thing the page shows.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// One row of the grid of compatible words: the right word may be typed in
// place of the left one.
struct CompatibleWordPair {
    QString left;
    QString right;

    bool operator==(const CompatibleWordPair&) const = default;
};

// File offsets of the record's fields (little-endian; a string of capacity n
// takes n + 1 bytes, the length byte first).
namespace QuizOptionsOffset {
constexpr int CompatibleLeft = 0;      // 100 × string[100]
constexpr int CompatibleRight = 10100; // 100 × string[100]
constexpr int CheckBox1 = 20200;
constexpr int CheckBox3 = 20201;
constexpr int CheckBox4 = 20202;
constexpr int CheckBox5 = 20203;
constexpr int CheckBox10 = 20207;
constexpr int CheckBox2 = 20209;
constexpr int ak1 = 20210;
constexpr int ak2 = 20211;
constexpr int ak3 = 20212;
constexpr int ak4 = 20213;
constexpr int cbfa = 20214;
constexpr int cbkw = 20215;
constexpr int cbuk = 20216;
constexpr int cbss = 20219;
constexpr int cbrf = 20220;
constexpr int cbklamm = 20221;
constexpr int cbaue = 20222;
constexpr int cbast = 20223;
constexpr int cbage = 20224;
constexpr int cbendung = 20225;
constexpr int cbpraep = 20226;
constexpr int cbautosch = 20227;
constexpr int cbstamm = 20228;
constexpr int cbgw = 20229;
constexpr int cbschnell = 20230;
constexpr int rborder = 20231;
constexpr int rbrandom = 20232;
constexpr int rbabnorm = 20233;
constexpr int rbabmult = 20234;
constexpr int rbabvor = 20235;
constexpr int cbms = 20236;
constexpr int CheckBox6 = 20237;
constexpr int cbnach = 20238;
constexpr int cbxmal = 20239;
constexpr int cbsyn = 20240;
constexpr int cbbemerkung = 20241;
constexpr int ak12 = 20256;
constexpr int ems = 20260;
constexpr int edurch = 20264;
constexpr int exmal = 20268;
constexpr int esyn = 20272;
constexpr int labf = 20292;
constexpr int geabf = 20293;
constexpr int seabf = 20294;
constexpr int lanz = 20295;
constexpr int ganz = 20296;
constexpr int sanz = 20297;
constexpr int aktign = 20298;
constexpr int ComboBox1 = 20308;      // string[128]
constexpr int Memo4 = 20437;          // string[128]
constexpr int ArticleList = 20566;    // 200 × string[100]
constexpr int NeverCorrected = 40766; // 200 × string[100]
constexpr int ArticleCount = 60968;
constexpr int NeverCorrectedCount = 60972;
constexpr int tb1 = 60976;
} // namespace QuizOptionsOffset

class TQuizOptionsRec {
  public:
    static constexpr int RecordSize = 60980;
    static constexpr int PairCount = 100;         // rows of the compatible-words grid
    static constexpr int CellCapacity = 100;      // characters of one grid cell
    static constexpr int MaxListLines = 200;      // lines of the article and never-corrected lists
    static constexpr int LineCapacity = 100;      // characters of one list line
    static constexpr int TextCapacity = 128;      // attempts text and punctuation list
    static constexpr int MaxTypoTolerance = 14;   // ak12: 0..14
    static constexpr int MaxMeaningsPosition = 6; // tb1: 0..6
    static constexpr int MaxDisplayTime = 99999;
    static constexpr int DefaultDisplayTime = 3000;
    // The number fields take at most five characters.
    static constexpr int MinFieldNumber = -9999;
    static constexpr int MaxFieldNumber = 99999;
    static constexpr int DefaultPasses = 1;            // edurch
    static constexpr int DefaultDifficultAfter = 5;    // exmal
    static constexpr int DefaultTypoTolerance = 5;     // ak12
    static constexpr char16_t DefaultSeparator = u';'; // esyn

    // Compatible words (grid lkw, "Liste kompatibler Wörter"): row k is pair k.
    std::array<CompatibleWordPair, PairCount> CompatibleWordPairs;

    bool CheckBox1 = false;   // "Bei falscher Eingabe selbst auf Richtigkeit prüfen"
    bool CheckBox3 = false;   // ignore "Groß-/Kleinschreibung"
    bool CheckBox4 = false;   // ignore "Artikel"
    bool CheckBox5 = false;   // ignore "Satzzeichen"
    bool CheckBox10 = false;  // show "Bemerkungen"
    bool CheckBox2 = false;   // ignore "Leerzeichen"
    bool ak1 = false;         // correct "Vertauschte Buchstaben"
    bool ak2 = false;         // correct "Buchstabe zuviel"
    bool ak3 = false;         // correct "Buchstabe zuwenig"
    bool ak4 = false;         // correct "Falscher Buchstabe"
    bool cbfa = false;        // ignore "Französische Akzente"
    bool cbkw = false;        // use the compatible words
    bool cbuk = false;        // never correct the words of NeverCorrectedWords
    bool cbss = false;        // ignore "ß und ss"
    bool cbrf = false;        // ignore "Andere Wortreihenfolge"
    bool cbklamm = false;     // ignore "Wörter in Klammern"
    bool cbaue = false;       // auto-correct the translation
    bool cbast = false;       // auto-correct the principal parts
    bool cbage = false;       // auto-correct the genitive
    bool cbendung = false;    // genitive: only the ending is required
    bool cbpraep = false;     // show the genus field (case) for prepositions
    bool cbautosch = false;   // captions Genus/Genitiv follow the word class
    bool cbstamm = false;     // principal parts: only the ending is required
    bool cbgw = false;        // right answer: go on at once
    bool cbschnell = false;   // quick mode
    bool rborder = true;      // order "Geordnet (fest)"
    bool rbrandom = false;    // order "Zufällig"
    bool rbabnorm = true;     // mode "Normal"
    bool rbabmult = false;    // mode "Multiple Choice"
    bool rbabvor = false;     // mode "Vorspiel/Lernmodus" (timed presentation)
    bool cbms = false;        // multiple choice "Schwierig"
    bool CheckBox6 = false;   // show "Wortart"
    bool cbnach = false;      // timed mode: foreign word and translation one after the other
    bool cbxmal = false;      // copy words failed exmal times into "Schwierige Wörter"
    bool cbsyn = false;       // several synonyms per line: one is enough
    bool cbbemerkung = false; // offer the remarks as a hint

    int ak12 = DefaultTypoTolerance;   // typo tolerance, 0..14
    int ems = DefaultDisplayTime;      // timed mode: display time in ms, 0..99999
    int edurch = DefaultPasses;        // timed mode: passes
    int exmal = DefaultDifficultAfter; // n of the cbxmal rule
    int esyn = DefaultSeparator;       // character code (0..255) of the synonym separator

    bool labf = false;   // ask "Stammformen"
    bool geabf = false;  // ask "Genitiv"
    bool seabf = false;  // ask "Genus"
    bool lanz = false;   // show "Stammformen"
    bool ganz = false;   // show "Genitiv"
    bool sanz = false;   // show "Geschlecht"
    bool aktign = false; // ignore "Griechische Akzente"

    QString ComboBox1 = QStringLiteral("1"); // "Lösungsversuche" as typed (attempts per word)
    QString Memo4;                           // "Satzzeichenliste"; line breaks stored as CR LF
    QStringList ArticleList;                 // "Artikelliste", at most 200 lines
    QStringList NeverCorrectedWords;         // "Unkorrigierbar", at most 200 lines
    int tb1 = 0;                             // "Anzahl der einzugebenden Bedeutungen", 0..6

    // The design values of the settings page (see loadDefaults).
    TQuizOptionsRec() : image_(RecordSize, '\0') {}

    // The options of a missing or short file: every box unticked except the
    // order "Geordnet (fest)" and the mode "Normal", ak12 at 5, tb1 at 0, the
    // display time 3000, one pass, five failures for the difficult words, ";"
    // as synonym separator and one attempt per word. The raw image is cleared.
    void loadDefaults();

    // Puts every field within what the record can hold and the page can show:
    // the positions in their ranges, the number fields within five characters,
    // at most 200 list lines of 100 characters, the texts cut to 128 and the
    // grid cells to 100. A display time outside 0..99999 becomes 3000 with the
    // mode "Normal", whatever mode was chosen.
    void normalize();

    // Reads the record. A missing, unreadable or short file loads the defaults
    // and returns false (no message: a missing file is normal).
    bool load(const QString& path);
    // Writes the whole record atomically; a failure is shown in a box and
    // returns false. The reserved bytes are written as zero; the unused tails
    // of strings and list entries beyond the stored counts as read.
    bool save(const QString& path) const;

    // The image as it would be written, and the reverse. fromBytes needs the
    // whole record and returns false (object unchanged) otherwise.
    QByteArray toBytes() const;
    bool fromBytes(const QByteArray& bytes);

    // Derived values for the quiz.
    // Attempts per word: the whole number of ComboBox1, or the passes of the
    // timed mode; never below 1 (an empty or broken text counts as 1).
    int attemptLimit() const;
    // The synonym separator (";" when none is set).
    QChar synonymSeparator() const;
    // The characters that "Satzzeichen" removes (line breaks included).
    const QString& punctuationCharacters() const { return Memo4; }

  private:
    // The last image read or written: the unused tails of strings are
    // written as they stand here.
    mutable QByteArray image_;
};

// The quiz options in force.
extern TQuizOptionsRec QuizOptions;

// The attempts offered by the settings page.
QStringList QuizAttemptItems();

// The quiz options file for a language: "<Sprache>o.dat" when the general
// settings ask for one file per language, "Option.dat" otherwise; in WorkDir's
// "data" folder, found without regard to case.
QString QuizOptionsFileFor(const QString& language, bool perLanguage);
// QuizOptionsFileFor with CurrentLanguage and the general settings in force.
QString QuizOptionsFile();
// Points QuizOptionsPath at QuizOptionsFile(); a per-language file that does
// not exist yet starts as a copy of "Option.dat" (an existing one is kept).
void chooseQuizOptionsPath();

// Reads QuizOptions from QuizOptionsPath ("Option.dat" when no path was
// chosen yet); defaults when the file is missing or short.
bool loadQuizOptions();
// Writes QuizOptions to QuizOptionsPath; a failure is reported and returns false.
bool saveQuizOptions();

// --- Number fields of the settings page --------------------------------------

// A whole number as the number fields accept it: an optional sign, then
// decimal digits or "$" and hexadecimal digits, within the 32-bit range.
// Anything else, the empty text included, gives no value.
std::optional<qint32> parseWholeNumber(const QString& text);

// The exit check of a number field: a text that is no whole number is replaced
// by `defaultText` and the user is told "In dieses Feld dürfen nur Zahlen
// eingegeben werden.". Returns whether the text was kept.
bool checkNumberField(QString& text, const QString& defaultText);

// The exit check of "Lösungsversuche": an empty text becomes "1" silently, one
// that is no whole number "1000" with the message.
bool checkAttemptsField(QString& text);

// The exit check of the synonym separator: an empty text (or a character the
// 8-bit alphabet lacks) becomes ";".
void checkSeparatorField(QString& text);

// The number of a field whose text passed its check, or `fallback` when it
// somehow holds none.
int fieldNumber(const QString& text, int fallback);

// The synonym separator field's character as its code (0..255); ";" for an
// empty text or a character outside the 8-bit alphabet.
int separatorCode(const QString& text);
