#pragma once
// The open dialog: lists the databases of the language folders and can
// delete one of them.
#include "database/databasefiles.h"

#include <QDialog>
#include <functional>

class QLabel;
class QListWidget;
class QMenu;
class QPushButton;

class Tdateiladen : public QDialog {
    Q_OBJECT
public:
    explicit Tdateiladen(QWidget* parent = nullptr);

    // Fills the lists again (also used by the backup and restore windows).
    void FormPaint();
    // The row the user chose (the selected one), -1 when none is chosen.
    int chosenRow() const;
    void namenlisteClick(int row);
    void ffnen1Click();
    void BitBtn1Click();
    void Dateinameanzeigen1Click();
    void BitBtn2Click();

    // Empties the main window's lesson tree when the open database is deleted.
    std::function<void()> clearLessonTree;

    QListWidget* namenliste;
    QStringList dbnames;
    QStringList titles;
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* okbtn;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QMenu* PopupMenu1;

protected:
    void showEvent(QShowEvent* event) override;
};

extern Tdateiladen* dateiladen;
