#pragma once
// The import: the command that reads a text file into a new database, and the
// dialog "Universalimport" in which the user describes a word list that was
// not written by the export (its separators and the field each column holds).
// The dialog is created once, so its settings last while the program runs.
#include "exchange/importformat.h"

#include <QDialog>
#include <QStringList>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

class TImportForm : public QDialog {
    Q_OBJECT
  public:
    explicit TImportForm(QWidget* parent = nullptr);

    // The file to describe: its first lines for Memo1 and its folder for the
    // file list of the all-files option.
    void setFile(const QString& path, const QStringList& firstLines);

    // Handlers.
    // Run by the import each time it opens the dialog: columns 1 and 2 to
    // foreign word and translation, the rest empty.
    void FormShow();
    void cmbFeldChange(); // column codes and preview
    void Button1Click();  // "&OK": checks; result 1 when the description is usable
    void Button2Click();  // "&Abbruch": result 2
    void chkLektionClick();
    void chkAlleDateienMouseDown();

    // The column combo n (1..15) and its field code (0 unused, 1..14 a field,
    // 111 "Leer").
    QComboBox* column(int n) const;
    int columnTag(int n) const;
    // The code of each column, for the record reader (column 1 first).
    FieldCodes columnCodes() const;
    // The separators chosen, converted (TAB, CR LF), replacements empty.
    ExportSeparators separators() const;
    // The files of the chosen file's folder, sorted by name (full paths).
    QStringList folderFiles() const;

    QLabel* Label1;
    QPlainTextEdit* Memo1;
    QLabel* Label2;
    QLineEdit* lblpreview;
    QGroupBox* GroupBox2;
    QComboBox* cmbFeld;
    QComboBox* cmbUebersetzung;
    QComboBox* cmbSatz;
    QComboBox* ComboBox1;
    QComboBox* ComboBox2;
    QComboBox* ComboBox3;
    QComboBox* ComboBox4;
    QComboBox* ComboBox5;
    QComboBox* ComboBox6;
    QComboBox* ComboBox7;
    QComboBox* ComboBox8;
    QComboBox* ComboBox9;
    QComboBox* ComboBox10;
    QComboBox* ComboBox11;
    QComboBox* ComboBox12;
    QComboBox* ComboBox13;
    QComboBox* ComboBox14;
    QComboBox* ComboBox15;
    QCheckBox* chkLektion;
    QCheckBox* chkAlleDateien;
    QListWidget* FileListBox1;
    QPushButton* Button1;
    QPushButton* Button2;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QToolButton* SpeedButton3;
    QToolButton* SpeedButton4;
    QToolButton* SpeedButton5;

  private:
    void buildLayout();
    std::array<QComboBox*, UniversalColumnCount + 1> columns_{};
    std::array<int, UniversalColumnCount + 1> tags_{};
    QString folder_;
};

extern TImportForm* ImportForm;

// The menu command "Im&port aus Textdatei": reads an export file by its
// descriptor, or any other word list through the universal import, into a new
// database, which is open afterwards.
void ImportvonTextdatei1Click();

// Asks for the file to read; "" when the user cancels. Tests replace it.
extern std::function<QString()> ChooseImportFile;
