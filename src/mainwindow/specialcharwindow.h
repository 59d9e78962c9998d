#pragma once
// The special-character window "Sonderzeichen": the user's table of frequent
// characters on the first page, the complete character set of the word font
// beside an editable copy of the user table on the second. A click hands the
// chosen character to the word field that has the focus.
#include <QDialog>
#include <functional>

#include "database/generaloptions.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;
class QToolButton;
class QWidget;

class Teinf : public QDialog {
    Q_OBJECT
  public:
    explicit Teinf(QWidget* parent = nullptr);

    // Reads the user table from CharTableFile() and fills the grids; run
    // again after a database chose its per-language table.
    void FormCreate();
    // Layout for the current page and the size factor of the general settings.
    void PageControl1Change();
    // Shows every cell again in the open database's table font and character
    // set (after the database's fonts changed); the cells keep their characters.
    void SetWordFontCharset();
    // The menu commands "&Einfügen (vollständige Tabelle)" and
    // "&Benutzertabelle anzeigen".
    void Sonderzeicheneinfgen1Click();
    void HufigeSonderzeichen1Click();

    void SGMouseUp();
    void sgallMouseUp();
    void BitBtn1Click();
    void BitBtn2Click();
    // Writes the user table back to its file.
    void FormClose();

    // The stored text of a user-grid cell (SG) and of the editable copy (sg2).
    QString userCell(int column, int row) const;
    QString editCell(int column, int row) const;
    // Size factor g (3..7).
    int sizeFactor() const;

    // The quiz window's side, wired by the program entry.
    struct Hooks {
        std::function<bool()> quizVisible;
        std::function<void()> quizInsert; // focus the answer field and insert
        std::function<bool()> takeCharWindowWasOpen; // quiz start: close again on show
    };
    Hooks hooks;

    TGeneralOptionsRec CharTableOptions;

    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QTableWidget* SG;
    QTableWidget* sg2;
    QTableWidget* sgall;
    QWidget* Panel1;
    QLabel* Label1;
    QRadioButton* ben;
    QRadioButton* dat;
    QToolButton* SpeedButton28;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void setCell(QTableWidget* grid, int column, int row, const QString& stored);
    QString cell(const QTableWidget* grid, int column, int row) const;
    void styleGrid(QTableWidget* grid, int columns, int rows);
    // Lays out the label and the two choices of Panel1 under the editable
    // table, at least `minimumWidth` wide; returns the panel's width.
    int layoutChoicePanel(int minimumWidth);
    void deliver();
    // Writes the editable copy of the user table to the file it was read from
    // (with `onlyWhenEdited`, only when a cell differs from that file).
    void writeUserTable(bool onlyWhenEdited);
    bool created_ = false;
    QString tableFile_; // the file the user table was read from
};

extern Teinf* einf;

// The main window's side of an insertion: on the word page, with a database
// open and a character pending, the word field with the focus gets it.
void InsertPendingCharInMainWindow();
