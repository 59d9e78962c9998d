#pragma once
// The export: the options dialog "Vokabeln als Textdatei exportieren" with
// the fields to write, the separators and their replacements, and the command
// that writes the words of the open database, or the hits of a search, into a
// text or RTF file. The dialog is created once, so its settings last while the
// program runs; nothing of it is stored in a file.
#include "exchange/exportformat.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

class TExportform : public QDialog {
    Q_OBJECT
  public:
    explicit TExportform(QWidget* parent = nullptr);

    // Before the dialog is shown: the replacement labels, the captions of the
    // special-form boxes (the main window's captions of those forms, in the
    // order PraeFut, PerAor, Perfekt, Perfekt_passiv, Aorist_passiv,
    // Futur_passiv; a trailing colon is dropped) and whether the boxes of the
    // forms 4 to 6 are offered.
    void prepare(const std::array<QString, 6>& formCaptions, bool extraFormsShown);

    // Handlers.
    // Checks and publishes the separators; result 1 when accepted. Values that
    // the import would not read back are pointed out first, and the user may
    // stay in the dialog.
    void btnWeiterClick();
    void Button1Click(); // "&Abbruch": result 2
    void cmbFeldChange();
    void cmbUebersetzungChange();
    void cmbSatzChange();
    void btnStandardClick();

    // The box of a field position (1..14).
    QCheckBox* fieldBox(int position) const;
    // The fields, the empty-field and RTF choices and the separator set in
    // force (the one the last confirmation published).
    ExportSettings settings() const;

    // Counts the values of the words to export that the import would not read
    // back with the given settings (the command sets it; unset: none).
    std::function<int(const ExportSettings&)> countUnreadableValues;

    QGroupBox* GroupBox1;
    QCheckBox* chkFremdwort;
    QCheckBox* chkUebersetzung;
    QCheckBox* chkLektion;
    QCheckBox* chkWortart;
    QCheckBox* chkSchwierigkeit;
    QCheckBox* chkGenus;
    QCheckBox* chkGenitiv;
    QCheckBox* chkExtra;
    QCheckBox* chkPraefut;
    QCheckBox* chkPerAor;
    QCheckBox* chkPerfekt;
    QCheckBox* chkPerfekt_passiv;
    QCheckBox* chkAorist_passiv;
    QCheckBox* chkFutur_passiv;

    QGroupBox* GroupBox2;
    QComboBox* cmbFeld;
    QComboBox* cmbUebersetzung;
    QComboBox* cmbSatz;
    QLineEdit* editErsatzFeld;
    QLineEdit* editErsatzUebersetzung;
    QLineEdit* editErsatzSatz;
    QLabel* lblErsatz1;
    QLabel* lblErsatz2;
    QLabel* lblErsatz3;

    QCheckBox* chkLeer;
    QCheckBox* chkrtf;
    QPushButton* btnStandard;
    QPushButton* btnWeiter;
    QPushButton* Button1;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QToolButton* SpeedButton3;
    QToolButton* SpeedButton4;
    QToolButton* SpeedButton5;

  private:
    void buildLayout();
};

extern TExportform* Exportform;

// The words an export writes.
struct ExportRows {
    enum class Kind {
        WholeTable, // every complete word of the open table, in table order
        Statement,  // the rows of a SELECT on the open table, in its order
        Ids,        // the words with these IDs, in the order of the list
    };
    Kind kind = Kind::WholeTable;
    QStringList sql;
    QList<qint64> ids;

    static ExportRows wholeTable() { return {}; }
    static ExportRows statement(const QStringList& sql) { return {Kind::Statement, sql, {}}; }
    static ExportRows idList(const QList<qint64>& ids) { return {Kind::Ids, {}, ids}; }
};

// The menu command "E&xport in Textdatei": exports the whole open database.
void ExportinTextdatei1Click();
// The export command for any set of rows (the search window passes its hits):
// the options dialog, the file name, the overwrite question, then the file.
// The main window is back on its current lesson afterwards.
void ExportWords(const ExportRows& rows);

// Asks for the file to write; `filterIndex` 1 offers text files first, 2 RTF
// files. Returns "" when the user cancels. Tests replace it.
extern std::function<QString(int filterIndex)> ChooseExportFile;
