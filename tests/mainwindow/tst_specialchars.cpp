#include "database/currentdatabase.h"
#include "database/databaseoptions.h"
#include "database/generaloptions.h"
#include "mainwindow/specialchars.h"
#include "mainwindow/specialcharwindow.h"
#include "mainwindow/typingaids.h"
#include "platform/folders.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {
// With ORVILEX_SHOTS set to a folder, the window is saved there to be looked at.
void saveShot(Teinf& w, const char* name) {
    const QString folder = qEnvironmentVariable("ORVILEX_SHOTS");
    if (!folder.isEmpty()) QVERIFY(w.grab().save(folder + "/" + name + ".png"));
}

// The complete page at its width (wider only when its texts need more room in
// this font), with the label and the choices shown whole beside the table.
void checkPageTwoLayout(const Teinf& w, int width) {
    QCOMPARE(w.width(), std::max(width, w.sgall->geometry().right() + 19));
    QVERIFY(w.Label1->height() >= w.Label1->heightForWidth(w.Label1->width()));
    for (const QRadioButton* choice : {w.ben, w.dat}) {
        QVERIFY(choice->width() >= choice->sizeHint().width());
        QVERIFY(choice->height() >= choice->sizeHint().height());
    }
    QVERIFY(w.SpeedButton28->geometry().left() >= w.ben->geometry().right());
    QVERIFY(w.Panel1->geometry().right() < w.sgall->geometry().left());
    QVERIFY(w.Panel1->geometry().bottom() < w.BitBtn1->geometry().top() ||
            w.Panel1->geometry().right() < w.BitBtn1->geometry().left());
}

// Every tab caption of the narrow user page is shown whole, left of the help
// button, without scroll arrows.
void checkTabsReadable(const Teinf& w) {
    const QTabBar* bar = w.PageControl1->tabBar();
    QVERIFY(bar->width() >= bar->sizeHint().width());
    QVERIFY(bar->geometry().right() < w.SpeedButton2->geometry().left());
    for (int i = 0; i < bar->count(); ++i) QVERIFY(bar->rect().contains(bar->tabRect(i)));
}
} // namespace

class TstSpecialChars : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
  private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        WorkDir = dir.path();
        QDir(dir.path()).mkpath("data");
        CharTableOptionsPath = dir.filePath("data/GriechischSz.dat");
    }

    void tableRoundTripKeepsHiddenCells() {
        TGeneralOptionsRec rec;
        rec.UserCharTable[6][0] = "z";  // outside the visible grid
        rec.UserCharTable[2][7] = "q";
        rec.AkzAkt = true;
        QVERIFY(rec.save(CharTableOptionsPath));
        UserCharCells cells;
        cells[0][0] = QString(QChar(0xE9));
        cells[5][4] = "#";
        QVERIFY(WriteUserCharTable(CharTableOptionsPath, cells, 5));
        TGeneralOptionsRec back;
        QVERIFY(ReadCharTableOptions(CharTableOptionsPath, back));
        QCOMPARE(back.UserCharTable[0][0], QString(QChar(0xE9)));
        QCOMPARE(back.UserCharTable[5][4], QString("#"));
        QCOMPARE(back.UserCharTable[6][0], QString("z"));
        QCOMPARE(back.UserCharTable[2][7], QString("q"));
        QVERIFY(back.AkzAkt);
    }

    void windowEditsAndInserts() {
        GeneralOptions.cbMehrZeichen = false;
        GeneralOptions.setCharTableSize(5);
        DatabaseOptions.TableWordFont = "DejaVu Serif";
        DatabaseOptions.TableWordFontSize = 13;
        DatabaseOptions.TableWordFontBold = true;
        Teinf w;
        // The grids show the characters in the table's foreign-word font.
        for (const QTableWidget* grid : {w.SG, w.sg2, w.sgall}) {
            QCOMPARE(grid->font().family(), QString("DejaVu Serif"));
            QCOMPARE(grid->font().pointSize(), 13);
            QVERIFY(grid->font().bold());
        }
        QCOMPARE(w.sgall->item(0, 1)->data(Qt::UserRole).toString(), QString("!"));
        QVERIFY(!w.sgall->item(0, 0));
        QCOMPARE(w.editCell(0, 0), QString(QChar(0xE9)));
        w.Sonderzeicheneinfgen1Click();
        checkPageTwoLayout(w, 698);
        // With "in Benutzertabelle" a click edits the table and inserts nothing.
        w.ben->setChecked(true);
        w.sg2->setCurrentCell(1, 2);
        w.sgall->setCurrentCell(0, 5); // code 37 "%"
        CharInsertPending = false;
        w.sgallMouseUp();
        QCOMPARE(w.editCell(2, 1), QString("%"));
        QVERIFY(!CharInsertPending);

        QLineEdit answer;
        answer.setText("ab");
        answer.setCursorPosition(1);
        w.hooks.quizVisible = [] { return true; };
        w.hooks.quizInsert = [&] { InsertStoredText(&answer, CharToInsert, 1); };
        w.dat->setChecked(true);
        w.sgallMouseUp(); // "%" into the field, window closed, table written
        QCOMPARE(answer.text(), QString("a%b"));
        QVERIFY(!w.isVisible());
        TGeneralOptionsRec back;
        QVERIFY(back.load(CharTableOptionsPath));
        QCOMPARE(back.UserCharTable[2][1], QString("%"));

        w.HufigeSonderzeichen1Click();
        QCOMPARE(w.userCell(2, 1), QString("%"));
        w.SG->setCurrentCell(0, 0);
        w.SGMouseUp();
        QCOMPARE(answer.text(), QString("a%") + QChar(0xE9) + "b");
        saveShot(w, "specialchars-user");
        w.Sonderzeicheneinfgen1Click();
        saveShot(w, "specialchars-full");
        w.close();
    }

    // A cell edited on the complete page is written to its table before the
    // window loads another one (a database of another language opened), and
    // never into that other table.
    void editsWrittenBeforeAnotherTableLoads() {
        const QString greek = CharTableOptionsPath;
        const QString latin = dir.filePath("data/LateinSz.dat");
        TGeneralOptionsRec latinTable;
        latinTable.UserCharTable[3][0] = "L";
        QVERIFY(latinTable.save(latin));
        Teinf w;
        w.Sonderzeicheneinfgen1Click();
        w.ben->setChecked(true);
        w.sg2->setCurrentCell(0, 3);
        w.sgall->setCurrentCell(0, 2); // code 34 '"'
        w.sgallMouseUp();
        QCOMPARE(w.editCell(3, 0), QString("\""));

        CharTableOptionsPath = latin;
        w.FormCreate();
        QCOMPARE(w.editCell(3, 0), QString("L"));
        w.close();
        TGeneralOptionsRec back;
        QVERIFY(back.load(greek));
        QCOMPARE(back.UserCharTable[3][0], QString("\""));
        QVERIFY(back.load(latin));
        QCOMPARE(back.UserCharTable[3][0], QString("L"));
        CharTableOptionsPath = greek;
    }

    void charsetChangeShowsCellsAgain() {
        DatabaseOptions.CharsetPosition = 2;
        Teinf w;
        const int code = 0xE1, n = code - 32;
        QTableWidgetItem* cell = w.sgall->item(n / 19, n % 19);
        QCOMPARE(cell->text(), QString(QChar(0xE1))); // á
        DatabaseOptions.CharsetPosition = 10;         // Greek
        w.SetWordFontCharset();
        QCOMPARE(cell->text(), QString::fromUtf8("α"));
        QCOMPARE(cell->data(Qt::UserRole).toString(), QString(QChar(0xE1)));
        DatabaseOptions.CharsetPosition = 2;
    }

    void sizes() {
        GeneralOptions.setCharTableSize(3);
        GeneralOptions.cbMehrZeichen = true;
        Teinf w;
        QCOMPARE(w.SG->rowCount(), 9);
        w.Sonderzeicheneinfgen1Click();
        checkPageTwoLayout(w, 508);
        w.HufigeSonderzeichen1Click();
        QCOMPARE(w.height(), int(std::nearbyint(3 * 1.205 * 5 * 9)) + 75);
        checkTabsReadable(w);
        w.close();
        GeneralOptions.setCharTableSize(0);
        Teinf standard;
        standard.HufigeSonderzeichen1Click();
        checkTabsReadable(standard);
        standard.close();
        GeneralOptions.cbMehrZeichen = false;
    }
};

QTEST_MAIN(TstSpecialChars)
#include "tst_specialchars.moc"
