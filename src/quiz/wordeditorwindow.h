#pragma once
// "Vokabel bearbeiten": the word editor of the quiz window. While a quiz runs
// the user corrects the word being asked: every text field of the word is
// shown; OK hands the corrected word back to the quiz window, "&Abbruch"
// changes nothing.
#include "database/charsets.h"
#include "quiz/quizstore.h"

#include <QDialog>
#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TypingAids;

class Tvokbear : public QDialog {
    Q_OBJECT
  public:
    explicit Tvokbear(QWidget* parent = nullptr);

    // How the fields show stored text: the fonts and character sets of the
    // main window's foreign-word memo (MF), translation memo (MU, Memoe),
    // special-form edits (e1..e6, eg) and genus edit (es).
    struct Views {
        WordFontView foreign;
        WordFontView translation;
        WordFontView forms;
        WordFontView genus;
    };
    // Fills the fields with the texts of the word.
    void fill(const QuizWord& word, const Views& views);
    // The word as filled, with the texts of the fields.
    QuizWord edited() const;

    // The table's width (CHAR(n)) of a field, 0 when unknown. A field takes
    // no more characters than that.
    std::function<int(const QString& field)> fieldWidth;
    // What OK does with the corrected word before the window closes; false
    // (the user told why) keeps the window open.
    std::function<bool(const QuizWord&)> accepted;

    // "&OK": modal result 1; "&Abbruch" (and Escape, and closing): 3.
    void BitBtn1Click();
    void BitBtn2Click();
    void reject() override;

    QLabel* LabelMF;
    QPlainTextEdit* MF; // Fremdwort
    QLabel* LabelMU;
    QPlainTextEdit* MU; // Uebersetzung
    QLabel* LabelStammformen;
    std::array<QLineEdit*, 6> e{}; // PraeFut .. Futur_Passiv, in column order
    QLabel* LabelGenitiv;
    QLineEdit* eg; // Genitiv
    QLabel* LabelGenus;
    QLineEdit* es; // Genus
    QLabel* LabelExtras;
    QPlainTextEdit* Memoe; // Extra
    QPushButton* BitBtn1;  // "&OK"
    QPushButton* BitBtn2;  // "&Abbruch"

  private:
    // The quiz's Greek aid on MF, e1..e6 and eg (none on MU, es, Memoe).
    void setUpTypingAids();

    QuizWord word_;
    Views views_;
    TypingAids* foreignAids_ = nullptr;
    TypingAids* formAids_ = nullptr;
};

extern Tvokbear* vokbear;
