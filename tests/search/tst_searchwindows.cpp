// The search and sort windows on the main window's query: a search from the
// controls, the bulk delete of its hits, the return to the lesson view, and an
// internal sort through the sort window.
#include "database/currentdatabase.h"
#include "database/lessondialogs.h"
#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/progresswindows.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/paths.h"
#include "search/searchwindow.h"
#include "search/sortwindow.h"
#include "support/mainwindowstart.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// With ORVILEX_SHOTS set to a folder the windows are saved there as PNGs.
void shot(QWidget* window, const QString& name) {
    const QString folder = qEnvironmentVariable("ORVILEX_SHOTS");
    if (!folder.isEmpty()) QVERIFY(window->grab().save(folder + "/" + name + ".png"));
}
} // namespace

class TestSearchWindows : public QObject {
    Q_OBJECT
    QTemporaryDir program;
    std::unique_ptr<TForm1> window;
    QList<platform::MessageBoxRequest> boxes;
    QString table;

    QStringList words() {
        engine::Query q;
        q.setRequestLive(false);
        q.setSql({"SELECT * FROM " + engine::quoteLiteral(table)});
        q.open();
        QStringList out;
        for (q.first(); !q.eof(); q.next())
            out << q.asString("Lektion") + ":" + q.asString("Fremdwort");
        return out;
    }

  private slots:
    void initTestCase() {
        platform::ensureFolder(program.filePath("data"));
        platform::ensureFolder(program.filePath("Latein"));
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
            boxes << r;
            return platform::Answer::Yes;
        });
        table = program.filePath("Latein/Caesar.ol");
        {
            engine::Query q;
            CreateVocabularyTable(q, table);
            q.setSql({"SELECT * FROM " + engine::quoteLiteral(table), "WHERE ID = 0"});
            q.open();
            const QStringList data{"001A1:domus", "001A1:murus", "001A1:arbor", "002A1:dominus",
                                   "002A1:aqua"};
            for (const QString& word : data)
                q.insertRecord({QVariant(), word.left(5), word.mid(6), "x", "", "", "", "", "",
                                "", "", "", 2, "", 3, 0, 0, 0, false, false});
        }
        LessonList({"001A1Haus", "002A1Herr"}).save(program.filePath("Latein/Caesar.lst"));
        engine::releaseTable(table);

        window = StartMainWindow(program.path());
        Fortschritt = new TFortschritt;
        umbe = new Tumbe;
        kopieren = new Tkopieren;
        suchen = new Tsuchen;
        fsort = new Tfsort;
        window->OpenVocabularyDatabase(table);
        QCOMPARE(CurrentLessonCode, QString("001A1"));
    }
    void cleanupTestCase() {
        delete suchen;
        delete fsort;
        delete kopieren;
        delete umbe;
        delete Fortschritt;
        window.reset();
        platform::setMessageBoxHandler({});
        platform::setModalHandler({});
    }

    void searchShowsHitsAndClosesToLesson() {
        suchen->show();
        QCOMPARE(suchen->PageControl1->currentIndex(), 0);
        QCOMPARE(suchen->wortartBox->currentText(), QString("Alle"));
        QVERIFY(suchen->cFremdwort->isChecked() && suchen->cUebersetzung->isChecked());
        shot(suchen, "search_window_criteria");
        QTest::keyClicks(suchen->Edit1, "DOM\"");
        QCOMPARE(suchen->Edit1->text(), QString("DOM"));
        QTest::keyClick(suchen->Edit1, Qt::Key_Return);
        QCOMPARE(suchen->Labelanzahl->text(), QString("2"));
        QCOMPARE(suchen->PageControl1->currentIndex(), 1);
        QCOMPARE(suchen->DBGrid1->model()->rowCount(), 2);
        shot(suchen, "search_window");

        // Choose the second hit, then close: its lesson is shown on it.
        suchen->DBGrid1CellClick(1);
        suchen->close();
        QVERIFY(!suchen->searchResultActive());
        QCOMPARE(CurrentLessonCode, QString("002A1"));
        QCOMPARE(window->Query->asString("Fremdwort"), QString("dominus"));
        QVERIFY(window->Query->canModify());

        // No hit: a box, the lesson view stays.
        suchen->show();
        suchen->Edit1->setText("zzz");
        boxes.clear();
        suchen->BuildSearchQuery();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.at(0).text, QString("Kein Eintrag gefunden"));
        QCOMPARE(boxes.at(0).owner, suchen); // in front of the window, not behind it
        QVERIFY(!suchen->searchResultActive());
        suchen->close();

        // A hit whose lesson value is no lesson code (left by an older
        // import) does not become the current lesson, neither while the main
        // window shows the hits nor after: a word started there would belong
        // to no lesson.
        engine::Query add;
        add.setSql({"SELECT * FROM " + engine::quoteLiteral(table), "WHERE ID = 0"});
        add.open();
        add.insertRecord({QVariant(), "0011A", "lupus", "x", "", "", "", "", "", "", "", "", 2, "",
                          3, 0, 0, 0, false, false});
        const qint64 lupus = add.currentId();
        suchen->show();
        suchen->Edit1->setText("LUPUS");
        suchen->BuildSearchQuery();
        QCOMPARE(suchen->Labelanzahl->text(), QString("1"));
        suchen->FormDeactivate();
        QCOMPARE(CurrentLessonCode, QString("002A1"));
        suchen->FormActivate();
        suchen->close();
        QCOMPARE(CurrentLessonCode, QString("002A1"));
        QVERIFY(add.locate(lupus));
        add.deleteRecord();
    }

    void deleteHitsThroughWindow() {
        suchen->show();
        suchen->Edit1->setText("us");
        suchen->eLektion->setText("1");
        suchen->BuildSearchQuery();
        QCOMPARE(suchen->Labelanzahl->text(), QString("2"));
        suchen->cmboperation->setCurrentIndex(3);
        boxes.clear();
        suchen->btnopClick();
        QCOMPARE(boxes.at(0).text,
                 QString::fromUtf8("Sollen die 2 gefundenen Vokabeln wirklich gelöscht werden ?"));
        QCOMPARE(boxes.at(0).owner, suchen);
        QVERIFY(!suchen->isVisible());
        QCOMPARE(words(), QStringList({"001A1:arbor", "002A1:dominus", "002A1:aqua"}));
    }

    void sortWindowSortsWithinLessons() {
        int shown = 0;
        QString backupName;
        bool internalMode = false;
        platform::setModalHandler([&](QDialog& dialog) -> int {
            ++shown;
            auto* sort = qobject_cast<Tfsort*>(&dialog);
            if (!sort) return 2;
            sort->show();
            backupName = sort->Edit1->text();
            internalMode = sort->rbsek->isChecked() && !sort->cbprim->isEnabled();
            shot(sort, "sort_window");
            sort->cbsicher->setChecked(false);
            sort->Button1Click();
            return sort->result();
        });
        QCOMPARE(platform::execModal(*fsort), 1);
        QCOMPARE(shown, 1);
        // The database itself lies in the language folder: the name moves on.
        QCOMPARE(backupName, QString("Caesar_"));
        QVERIFY(internalMode);
        QCOMPARE(words(), QStringList({"002A1:aqua", "001A1:arbor", "002A1:dominus"}));
        QCOMPARE(CurrentLessonCode, QString("001A1"));
        QCOMPARE(window->anzeintrag->text(), QString("1"));
    }
};

QTEST_MAIN(TestSearchWindows)
#include "tst_searchwindows.moc"
