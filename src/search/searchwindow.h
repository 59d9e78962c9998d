#pragma once
// The search window "Vokabel suchen": criteria on the first page, the hits and
// the bulk operations on the second. Not modal: the search result lies on the
// main window's query, so the main window shows the hits as well; the window
// follows its activation to let the main window edit a found word.
#include "search/searchlogic.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QToolButton;
class QWidget;
class ColumnFontDelegate;

namespace engine {
class TableModel;
}

class Tsuchen : public QDialog {
    Q_OBJECT
  public:
    explicit Tsuchen(QWidget* parent = nullptr);
    ~Tsuchen() override;

    // The export of the hits lies in a higher layer; the program entry sets it
    // (ExportWords with the hits' keys).
    std::function<void(const QList<qint64>& ids)> exportHits;

    // Handlers.
    void FormShow();
    void FormActivate();
    void FormDeactivate();
    void FormClose();
    void BuildSearchQuery();
    void btnopClick();
    void Edit2Exit();
    void Edit3Exit();
    void chkGriechischClick();
    void DBGrid1CellClick(int row);
    void DBGrid1DblClick();

    // The criteria as the controls hold them.
    search::SearchCriteria criteria() const;
    bool searchResultActive() const { return SearchResultActive; }

    QTabWidget* PageControl1;
    QWidget* Vokabelsuche;
    QWidget* Tabelle;
    QLineEdit* Edit1;
    QPushButton* btnStart;
    QCheckBox* cFremdwort;
    QCheckBox* cUebersetzung;
    QCheckBox* cGenitiv;
    QCheckBox* cBemerkungen;
    QCheckBox* chkGross;
    QCheckBox* chkGenau;
    QComboBox* wortartBox;
    QComboBox* schwierigkeitBox;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QCheckBox* cbngw;
    QCheckBox* cbgw;
    QLineEdit* eLektion;
    QCheckBox* chkGriechisch;
    QLabel* Labelanzahl;
    QTableView* DBGrid1;
    QComboBox* cmboperation;
    QPushButton* btnop;
    QToolButton* SpeedButton13;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton3;
    QToolButton* SpeedButton4;
    QToolButton* SpeedButton5;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildLayout();
    void bindGrid(bool bound);
    // Puts the main query back on the search (the main window may have moved
    // it to a lesson meanwhile) with the live flag given.
    void reopenSearch(bool live);
    // The main query's current word and its lesson code (empty when its
    // lesson value is no code).
    void noteCurrentWord(qint64* id, QString* lesson) const;
    void restoreLessonView(qint64 id);
    QList<qint64> currentHits();
    void copyOrMove(bool move);
    void copyIntoNewLesson();
    void exportResult();
    void closeAndRun(const std::function<void()>& operation);
    // Edit1 in the font and character set that chkGriechisch chooses.
    void applyTermScript(bool keepShownText = false);

    bool SearchResultActive = false;
    bool closing_ = false;
    int edit1Charset_ = 1; // the character set Edit1 shows its term in
    QStringList searchSql_;
    engine::TableModel* gridModel_ = nullptr;
    ColumnFontDelegate* columnFonts_ = nullptr;
};

extern Tsuchen* suchen;
