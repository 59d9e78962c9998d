// The search window in the script of the database: a term typed in Greek or
// Hebrew letters finds its words and the hits are shown in those letters; the
// typing aids in the search field; what the window does with a term that is
// too long, a search without hits, and "in neue Lektion".
#include "database/currentdatabase.h"
#include "database/databaseoptions.h"
#include "database/generaloptions.h"
#include "database/lessondialogs.h"
#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/progresswindows.h"
#include "platform/codec.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/paths.h"
#include "search/searchwindow.h"
#include "support/mainwindowstart.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Word {
    QString lesson, foreign, translation, remark;
};

// A database in `language` whose foreign words are stored in `charsetPosition`
// with an ordinary font; `words` are given as they are shown.
QString makeDatabase(const QString& root, const QString& language, const QString& name,
                     int charsetPosition, const QList<Word>& words) {
    platform::ensureFolder(root + "/" + language);
    const QString base = root + "/" + language + "/" + name;
    TDatabaseOptionsRec options = TDatabaseOptionsRec::forNewDatabase(language);
    options.WordFont = options.TableWordFont = "DejaVu Sans";
    options.CharsetPosition = charsetPosition;
    options.save(base + ".opt");
    const int charset = options.wordCharset();
    {
        engine::Query q;
        CreateVocabularyTable(q, base + ".ol");
        q.setSql({"SELECT * FROM " + engine::quoteLiteral(base + ".ol"), "WHERE ID = 0"});
        q.open();
        for (const Word& w : words)
            q.insertRecord({QVariant(),
                            w.lesson,
                            platform::codec::fromDisplay(w.foreign, charset),
                            w.translation,
                            "",
                            "",
                            "",
                            "",
                            "",
                            "",
                            "",
                            "",
                            14,
                            platform::codec::fromDisplay(w.remark, charset),
                            3,
                            0,
                            0,
                            0,
                            false,
                            false});
    }
    LessonList({"001A1", "002A1"}).save(base + ".lst");
    engine::releaseTable(base + ".ol");
    return base + ".ol";
}

// Key presses carrying each character, as a keyboard in that script sends them.
void typeText(QWidget* widget, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QStringList gridColumn(const QTableView* grid, int column) {
    QStringList shown;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        shown << grid->model()->index(row, column).data().toString();
    return shown;
}

} // namespace

class TestSearchScripts : public QObject {
    Q_OBJECT
    QTemporaryDir program;
    std::unique_ptr<TForm1> window;
    QList<platform::MessageBoxRequest> boxes;
    std::function<void(const platform::MessageBoxRequest&)> onBox;

    void open(const QString& table) {
        window->OpenVocabularyDatabase(table);
        QCOMPARE(CurrentTablePath, table);
        suchen->show();
        boxes.clear();
    }
    void search(const QString& typed, bool foreignScript) {
        suchen->Edit1->clear();
        suchen->chkGriechisch->setChecked(foreignScript);
        suchen->chkGriechischClick();
        typeText(suchen->Edit1, typed);
        suchen->BuildSearchQuery();
    }

  private slots:
    void initTestCase() {
        platform::ensureFolder(program.filePath("data"));
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
            boxes << r;
            if (onBox) onBox(r);
            return platform::Answer::Ok;
        });
        window = StartMainWindow(program.path());
        window->show();
        Fortschritt = new TFortschritt;
        umbe = new Tumbe;
        kopieren = new Tkopieren;
        suchen = new Tsuchen;
    }
    void cleanupTestCase() {
        delete suchen;
        delete kopieren;
        delete umbe;
        delete Fortschritt;
        window.reset();
        platform::setMessageBoxHandler({});
        platform::setModalHandler({});
    }
    void cleanup() {
        if (suchen->isVisible()) suchen->close();
        onBox = nullptr;
    }

    void greekDatabase() {
        open(makeDatabase(program.path(), "Griechisch", "Woerter", 10,
                          {{"001A1", "λόγος", "Wort", ""},
                           {"001A1", "θάλασσα", "Meer", ""},
                           {"002A1", "λογική", "Logik", "von λόγος"},
                           {"002A1", "άνθρωπος", "Mensch", ""}}));
        QCOMPARE(DatabaseOptions.wordCharset(), 161);

        // Typed in Greek: the stored 8-bit term; the umlaut masking acts on
        // its bytes (ό is 0xFC), so λόγ also finds λογ.
        search("λόγ", true);
        QVERIFY(boxes.isEmpty());
        QCOMPARE(suchen->Labelanzahl->text(), QString("2"));
        QCOMPARE(gridColumn(suchen->DBGrid1, 0), QStringList({"λόγος", "λογική"}));
        QCOMPARE(gridColumn(suchen->DBGrid1, 1), QStringList({"Wort", "Logik"}));
        QCOMPARE(suchen->Edit1->font().family(), window->DBFremdwort->font().family());
        suchen->close();

        // In the remarks only, through the upper-cased clause.
        suchen->show();
        suchen->cFremdwort->setChecked(false);
        suchen->cUebersetzung->setChecked(false);
        suchen->cBemerkungen->setChecked(true);
        search("λόγος", true);
        QCOMPARE(gridColumn(suchen->DBGrid1, 0), QStringList({"λογική"}));
        suchen->cFremdwort->setChecked(true);
        suchen->cUebersetzung->setChecked(true);
        suchen->cBemerkungen->setChecked(false);
        suchen->close();

        // In German, without the foreign script, case-insensitive.
        suchen->show();
        search("meer", false);
        QCOMPARE(gridColumn(suchen->DBGrid1, 0), QStringList({"θάλασσα"}));
        // Unticking keeps the stored term: its Greek letters show as Latin ones.
        suchen->Edit1->clear();
        suchen->chkGriechisch->setChecked(true);
        suchen->chkGriechischClick();
        typeText(suchen->Edit1, "θ");
        suchen->chkGriechisch->setChecked(false);
        suchen->chkGriechischClick();
        QCOMPARE(platform::codec::toBytes(platform::codec::fromDisplay(suchen->Edit1->text(), 1)),
                 QByteArray("\xE8"));
        suchen->close();

        // Greek letters typed with the box unticked: the translation's code
        // page cannot hold them, the foreign words' can, so the box is ticked
        // and the term searched in Greek.
        suchen->show();
        search("θάλ", false);
        QVERIFY(boxes.isEmpty());
        QVERIFY(suchen->chkGriechisch->isChecked());
        QCOMPARE(suchen->Edit1->text(), QString("θάλ"));
        QCOMPARE(gridColumn(suchen->DBGrid1, 0), QStringList({"θάλασσα"}));
        suchen->close();
        // A letter that neither code page holds is named, and nothing is searched.
        for (const bool ticked : {false, true}) {
            suchen->show();
            boxes.clear();
            search("λόγж", ticked);
            QCOMPARE(boxes.size(), 1);
            QCOMPARE(boxes[0].text, QString("Diese Zeichen des Suchbegriffs können in dieser "
                                            "Datenbank nicht vorkommen und werden daher nicht "
                                            "gesucht: „ж“. Bitte geben Sie den Suchbegriff ohne "
                                            "sie ein."));
            QVERIFY(!suchen->searchResultActive());
            suchen->close();
        }
    }

    void greekAidInSearchField() {
        open(
            makeDatabase(program.path(), "Altgriechisch", "Woerter", 2, {{"001A1", "x", "y", ""}}));
        DatabaseOptions.WordFont = "Greek";
        window->ApplyFonts();
        GeneralOptions.AkzAkt = true;
        suchen->Edit1->clear();
        suchen->chkGriechisch->setChecked(true);
        suchen->chkGriechischClick();
        typeText(suchen->Edit1, "l<a");
        QCOMPARE(suchen->criteria().term, QString("l") + platform::codec::storedChar(161));
        typeText(suchen->Edit1, "x");
        QTest::keyClick(suchen->Edit1, Qt::Key_Backspace);
        QCOMPARE(suchen->criteria().term, QString("l") + platform::codec::storedChar(161));
        // Unticked, the field is the translation's: no aid.
        suchen->Edit1->clear();
        suchen->chkGriechisch->setChecked(false);
        suchen->chkGriechischClick();
        typeText(suchen->Edit1, "<a");
        QCOMPARE(suchen->criteria().term, QString("<a"));
        GeneralOptions.AkzAkt = false;
    }

    void hebrewDatabase() {
        const QString hebrew = QString::fromUtf8("Hebräisch");
        open(makeDatabase(program.path(), hebrew, "Woerter", 13,
                          {{"001A1", "שלום", "Frieden", ""},
                           {"001A1", "ספר", "Buch", ""},
                           {"002A1", "ספרים", "Bücher", ""}}));
        QCOMPARE(DatabaseOptions.wordCharset(), 177);
        // The field lays the Hebrew letters out itself: they are kept in the
        // order typed, and the search finds its words.
        search("ספר", true);
        QCOMPARE(suchen->Edit1->text(), QString("ספר"));
        QCOMPARE(gridColumn(suchen->DBGrid1, 0), QStringList({"ספר", "ספרים"}));
        QCOMPARE(gridColumn(suchen->DBGrid1, 1), QStringList({"Buch", "Bücher"}));
        suchen->close();

        // A Hebrew font on the Latin codes: the entry aid runs right to left
        // in the search field while the foreign script is ticked.
        suchen->show();
        DatabaseOptions.CharsetPosition = 2;
        suchen->chkGriechisch->setChecked(true);
        suchen->chkGriechischClick();
        suchen->Edit1->clear();
        typeText(suchen->Edit1, "ab");
        QCOMPARE(suchen->Edit1->text(), QString("ba"));
        suchen->chkGriechisch->setChecked(false);
        suchen->chkGriechischClick();
        suchen->Edit1->clear();
        typeText(suchen->Edit1, "ab");
        QCOMPARE(suchen->Edit1->text(), QString("ab"));
    }

    void searchWindowTexts() {
        QCOMPARE(suchen->schwierigkeitBox->count(), 6);
        QStringList items;
        for (int i = 0; i < suchen->schwierigkeitBox->count(); ++i)
            items << suchen->schwierigkeitBox->itemText(i);
        QCOMPARE(items, QStringList({"Sehr Leicht", "Leicht", "Normal", "Schwierig",
                                     "Sehr Schwierig", "Alle"}));
    }

    void termLongerThanAnyField() {
        open(makeDatabase(program.path(), "Latein", "Lang", 2,
                          {{"001A1", "domus", "Haus", ""}, {"001A1", "dominus", "Herr", ""}}));
        suchen->Edit1->setText(QString(50000, QLatin1Char('a')));
        suchen->BuildSearchQuery();
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes.at(0).text.startsWith("Der Suchbegriff ist zu lang"));
        QVERIFY(!suchen->searchResultActive());
        QCOMPARE(window->Query->recordCount(), 2);
        QVERIFY(window->Query->canModify());
        // The longest field takes 150 characters: such a term is searched.
        boxes.clear();
        suchen->Edit1->setText(QString(150, QLatin1Char('a')));
        suchen->BuildSearchQuery();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.at(0).text, QString("Kein Eintrag gefunden"));
    }

    // While "Kein Eintrag gefunden" is shown, the main window shows the lesson
    // again and stays on it, whatever the window activation does meanwhile.
    void noHitRestoresLessonAtOnce() {
        open(makeDatabase(program.path(), "Latein", "Leer", 2,
                          {{"001A1", "domus", "Haus", ""}, {"001A1", "dominus", "Herr", ""}}));
        int shownDuringBox = -1;
        bool liveDuringBox = false;
        onBox = [&](const platform::MessageBoxRequest&) {
            suchen->FormDeactivate();
            shownDuringBox = window->Query->recordCount();
            liveDuringBox = window->Query->canModify();
            suchen->FormActivate();
        };
        suchen->Edit1->setText("zzz");
        suchen->BuildSearchQuery();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(shownDuringBox, 2);
        QVERIFY(liveDuringBox);
        QCOMPARE(window->Query->recordCount(), 2);
        QCOMPARE(window->DBFremdwort->toPlainText(), QString("domus"));
        QVERIFY(suchen->DBGrid1->model() == nullptr);
    }

    // "in neue Lektion" ends on the search run again: the hits beside their copies.
    void copyIntoNewLessonShowsHitsAndCopies() {
        const QString table = makeDatabase(program.path(), "Latein", "Kopie", 2,
                                           {{"001A1", "domus", "Haus", ""},
                                            {"001A1", "arbor", "Baum", ""},
                                            {"002A1", "dominus", "Herr", ""}});
        open(table);
        suchen->Edit1->setText("dom");
        suchen->BuildSearchQuery();
        QCOMPARE(suchen->Labelanzahl->text(), QString("2"));
        platform::setModalHandler([](QDialog& dialog) {
            auto* lesson = qobject_cast<Tumbe*>(&dialog);
            lesson->enummer->setText("7");
            lesson->mthema->setText("Gefunden");
            return 1;
        });
        suchen->cmboperation->setCurrentIndex(0);
        suchen->btnopClick();
        platform::setModalHandler({});
        QVERIFY(!suchen->isVisible());
        QStringList shown;
        for (window->Query->first(); !window->Query->eof(); window->Query->next())
            shown << window->Query->asString("Lektion") + ":" +
                         window->Query->asString("Fremdwort");
        QCOMPARE(shown,
                 QStringList({"001A1:domus", "002A1:dominus", "007A1:domus", "007A1:dominus"}));
        QVERIFY(window->Query->canModify());
        QVERIFY(baumlist.lines().contains("007A1Gefunden"));
    }
};

QTEST_MAIN(TestSearchScripts)
#include "tst_searchscripts.moc"
