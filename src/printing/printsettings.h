#pragma once
// The print window's settings, three fixed-size records:
//  - "Dru2Opt.dat" (72 bytes): the card options;
//  - "Dru3Opt.dat" (7,832 bytes): the texts of the edits (header, footer,
//    margins, card measures);
//  - bytes 0 to 235 of the selection options record ("AuswOpt.dat" or the
//    per-language "<Sprache>a.dat", 272 bytes), whose bytes 236 to 271 belong
//    to the quiz selection.
//
// Each record keeps the image it read, so bytes that no control owns are
// written back exactly as the file held them. In memory the radio buttons of
// one group are a single choice; a stored group with several ticks reads as
// its last tick in file order, one with none as the group's default.
//
// Without files the records hold what a record of zeros gives: every check box
// and the card kind unticked, every size list at its first item "6" and every
// text empty (the print window then puts in the card measures' and margins'
// defaults); the selection's radio groups keep their design choice, so that a
// list always has an order.
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// The font sizes offered by the print window's size lists, item index → size.
const QList<int>& ListFontSizes();            // cbs: 6 … 16, 18
const QList<int>& CardWordFontSizes();        // cbkfremdwort: 6 … 16, 18, 20, 22, 24, 28
const QList<int>& CardTranslationFontSizes(); // cbkueber: 6 … 16, 18, 20, 24
const QList<int>& CardSpecialFontSizes();     // cbksonder: 6 … 16, 18, 20
const QList<int>& CardLessonFontSizes();      // cbklektion: 6 … 16, 18, 20

// --- "Dru2Opt.dat" -----------------------------------------------------------

namespace PrintCardOffset {
constexpr int cbkartei = 0;
constexpr int rbk1 = 1;
constexpr int rbk2 = 2;
constexpr int rbk3 = 3;
constexpr int rbkrahmen = 4;
constexpr int rbklektion = 5;
constexpr int cbkvor = 6;
constexpr int cbKartKopfFuss = 7;
constexpr int cbkfremdwort = 32;
constexpr int cbkueber = 36;
constexpr int cbksonder = 40;
constexpr int cbklektion = 44;
} // namespace PrintCardOffset

// The kind of index card: both sides side by side for folding, fronts only,
// backs only (mirrored, for the second pass through the printer).
enum class CardKind { Fold, Front, Back };

class TPrintCardOptionsRec {
  public:
    static constexpr int RecordSize = 72;

    bool cbkartei = false; // "Ka&rteikartendruck"
    // rbk1, rbk2, rbk3; none ticked (a record of zeros) stays unticked.
    std::optional<CardKind> kind;
    bool rbkrahmen = false;         // "Rahmen"
    bool rbklektion = false;        // "Lektionsnummer"
    bool cbkvor = false;            // "Genitiv,Genus auf Vorderseite" (kept, no effect)
    bool cbKartKopfFuss = false;    // "Kopf- u. Fußzeile"
    // Item indexes of the four size lists ("6" = 0).
    int cbkfremdwort = 0;
    int cbkueber = 0;
    int cbksonder = 0;
    int cbklektion = 0;

    // A whole record is needed; false (object unchanged) otherwise. An index
    // outside its list reads as the first item.
    bool fromBytes(const QByteArray& image);
    QByteArray toBytes() const;

    // False (object unchanged) when the file is missing, short or unreadable.
    bool load(const QString& path);
    // Written whole and atomically; a failure is reported and gives false.
    bool save(const QString& path);

    // The font sizes the indexes stand for.
    int wordFontSize() const;
    int translationFontSize() const;
    int specialFontSize() const;
    int lessonFontSize() const;

  private:
    QByteArray image_ = QByteArray(RecordSize, '\0');
};

// --- "Dru3Opt.dat" -----------------------------------------------------------

namespace PrintTextOffset {
constexpr int ekz = 152;
constexpr int efz = 408;
constexpr int sro = 664;
constexpr int sru = 920;
constexpr int srl = 1176;
constexpr int srr = 1432;
constexpr int kkBreite = 1688;
constexpr int kkHoehe = 1944;
constexpr int kkAbstandh = 2200;
constexpr int kkAbstandv = 2456;
constexpr int TextCapacity = 255;
} // namespace PrintTextOffset

class TPrintTextOptionsRec {
  public:
    static constexpr int RecordSize = 7832;

    // The edits' texts as typed (stored 8-bit text).
    QString ekz; // header with placeholders
    QString efz; // footer
    QString sro; // margins in whole millimetres
    QString sru;
    QString srl;
    QString srr;
    QString kkBreite; // card measures, decimal comma ("91,5")
    QString kkHoehe;
    QString kkAbstandh;
    QString kkAbstandv;

    bool fromBytes(const QByteArray& image);
    // Each text is cut to 255 characters.
    QByteArray toBytes() const;
    bool load(const QString& path);
    bool save(const QString& path);

  private:
    QByteArray image_ = QByteArray(RecordSize, '\0');
};

// --- "AuswOpt.dat", bytes 0 to 235 ------------------------------------------

namespace PrintSelectionOffset {
constexpr int rb1 = 0;
constexpr int rb2 = 1;
constexpr int rb3 = 2;
constexpr int rb4 = 3;
constexpr int rb5 = 4;
constexpr int sl = 5;
constexpr int sa = 6;
constexpr int sw = 7;
constexpr int ss = 8;
constexpr int sa2 = 9;
constexpr int sab = 10;
constexpr int cbus = 11;
constexpr int line = 12;
constexpr int cbra = 13;
constexpr int nge = 14;
constexpr int nse = 15;
constexpr int nst = 16;
constexpr int ssta = 17;
constexpr int nrb = 18;
constexpr int rb0 = 19;
constexpr int rbbd0 = 20;
constexpr int rbbd1 = 21;
constexpr int rbbd2 = 22;
constexpr int rbsd0 = 23;
constexpr int rbsd1 = 24;
constexpr int rbsd2 = 25;
constexpr int sa_ueber = 26;
constexpr int sa2_ueber = 27;
constexpr int cbs = 30;        // string[100]: index of the list font size as text
constexpr int ComboBox1 = 131; // string[100]: zoom text
constexpr int comw = 232;      // Int32: word-class filter
constexpr int End = 236;       // first byte of the quiz selection's part
constexpr int TextCapacity = 100;
} // namespace PrintSelectionOffset

// The primary sort key, in the order of the radio group "Sortieren nach".
enum class PrintOrder { Lesson, ForeignWord, Translation, WordClass, Difficulty };
// The secondary key, in the order of "Sekundär sortieren nach".
enum class PrintSecondaryOrder { WrongAnswers, ForeignWord, Translation, Keep };
// Where remarks and special forms go: not printed, left (card front), right
// (card back).
enum class PrintPlacement { None, Left, Right };

class TPrintSelectionOptions {
  public:
    static constexpr int ListFormatCount = 6;
    static constexpr int DefaultListFontIndex = 0; // "6"

    // List format 0..5: rb0 … rb5.
    int format = 0;
    PrintOrder primary = PrintOrder::Lesson;
    bool sab = false; // primary key descending
    PrintSecondaryOrder secondary = PrintSecondaryOrder::Keep;
    PrintPlacement remarks = PrintPlacement::None;      // rbbd0..2
    PrintPlacement specialForms = PrintPlacement::None; // rbsd0..2
    bool cbus = false;                                  // section captions
    bool line = false;                                  // lines between words
    bool cbra = false;                                  // frame round the principal parts
    bool nge = false;                                   // only words with a genitive
    bool nse = false;                                   // only words with a genus
    bool nst = false;                                   // only words with a principal part
    int cbs = DefaultListFontIndex;                     // item index of the list font size
    QString zoomText = QStringLiteral("35%");
    int comw = 0; // word class filter: 0 all, n word class n

    // Reads bytes 0 to 235 of a record image (at least 236 bytes; false and
    // nothing changed otherwise). A size text that is no index of the list
    // gives the default size, a word class outside 0..14 "Alle".
    bool fromBytes(const QByteArray& image);
    // Writes bytes 0 to 27 and 30 to 235 into an image of at least 236
    // bytes; 28, 29 and everything from 236 on stay as they are.
    void writeInto(QByteArray& image) const;

    // The list font size the index stands for.
    int listFontSize() const;

    // Reads the file; false (object unchanged) when it is missing or short.
    bool load(const QString& path);
    // Rewrites the file with the quiz selection's bytes as the file holds them
    // now; a failure is reported and gives false.
    bool save(const QString& path) const;
};

// The print window's records as last read or written (module memory).
extern TPrintCardOptionsRec PrintCardOptions;
extern TPrintTextOptionsRec PrintTextOptions;
extern TPrintSelectionOptions PrintSelectionOptions;

// The files in force: PrintCardOptionsPath, PrintTextOptionsPath and
// SelectionOptionsPath, or the shared files of the "data" folder when no path
// was chosen yet.
QString PrintCardOptionsFile();
QString PrintTextOptionsFile();
QString PrintSelectionOptionsFile();
