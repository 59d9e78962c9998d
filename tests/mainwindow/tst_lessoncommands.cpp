// The lesson commands, the marked-word commands and the counter reset as a
// user meets them in the main window: menus, tree, the two dialogs (answered
// through the modal seam) and the boxes (answered through the message seam).
// With ORVILEX_SHOTS set to a folder the two dialogs are saved there as PNGs.
#include "database/currentdatabase.h"
#include "database/databaseoptions.h"
#include "database/lessondialogs.h"
#include "database/lessons.h"
#include "database/lessontree.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "mainwindow/mainwindow.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/paths.h"
#include "support/mainwindowstart.h"

#include <QAction>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

namespace {

QStringList wordsOf(const QString& lesson) {
    engine::Query q;
    q.setRequestLive(false);
    q.setSql({"SELECT * FROM " + engine::quoteLiteral(CurrentTablePath),
              "WHERE Lektion = " + engine::quoteLiteral(lesson)});
    q.open();
    QStringList words;
    for (q.first(); !q.eof(); q.next())
        words << q.asString("Fremdwort");
    return words;
}

QStringList topTexts(const QTreeWidget* tree) {
    QStringList texts;
    for (int t = 0; t < tree->topLevelItemCount(); ++t)
        texts << tree->topLevelItem(t)->text(0);
    return texts;
}

QTreeWidgetItem* topNode(const QTreeWidget* tree, const QString& text) {
    for (int t = 0; t < tree->topLevelItemCount(); ++t)
        if (tree->topLevelItem(t)->text(0) == text) return tree->topLevelItem(t);
    return nullptr;
}

QTreeWidgetItem* sectionNode(const QTreeWidget* tree, const QString& code) {
    for (int t = 0; t < tree->topLevelItemCount(); ++t)
        for (int c = 0; c < tree->topLevelItem(t)->childCount(); ++c)
            if (LessonCodeOfItem(tree->topLevelItem(t)->child(c)) == code)
                return tree->topLevelItem(t)->child(c);
    return nullptr;
}

void select(QTreeWidget* tree, QTreeWidgetItem* item) {
    QVERIFY(item);
    tree->clearSelection();
    tree->setCurrentItem(item);
    item->setSelected(true);
}

// Picks a node in the target dialog and presses OK.
int choose(Tkopieren& dialog, QTreeWidgetItem* item) {
    dialog.setResult(0);
    if (!item) return 0;
    dialog.baumtree->setCurrentItem(item);
    item->setSelected(true);
    dialog.btnKopierenClick();
    return dialog.result();
}

} // namespace

class TestLessonCommands : public QObject {
    Q_OBJECT
    QTemporaryDir program;
    QList<platform::MessageBoxRequest> boxes;
    platform::Answer answer = platform::Answer::Yes;
    std::function<int(Tumbe&)> onUmbe;
    std::function<int(Tkopieren&)> onKopieren;
    std::unique_ptr<TForm1> window;
    int databases = 0;

    // A database with the given list lines and `count` words w1.. in each of
    // the given lessons, open in a fresh main window.
    void openDatabase(const QStringList& lines, const QMap<QString, int>& words) {
        window.reset();
        const QString table = program.filePath(QString("Latein/Db%1.ol").arg(++databases));
        {
            engine::Query q;
            CreateVocabularyTable(q, table);
            q.setSql({"SELECT * FROM " + engine::quoteLiteral(table), "WHERE ID = 0"});
            q.open();
            for (auto it = words.begin(); it != words.end(); ++it) {
                for (int i = 1; i <= it.value(); ++i) {
                    q.append();
                    WriteNewRecordValues(q, it.key());
                    q.setValue("Fremdwort", "w" + QString::number(i));
                    q.setValue("Uebersetzung", "de");
                    q.setValue("Anzahl_Abfragen", 4);
                    q.setValue("Schwierigkeit", 1);
                    q.post();
                }
            }
        }
        TDatabaseOptionsRec::forNewDatabase("Latein").save(
            program.filePath(QString("Latein/Db%1.opt").arg(databases)));
        LessonList(lines).save(program.filePath(QString("Latein/Db%1.lst").arg(databases)));
        window = StartMainWindow(program.path());
        window->wireLessonCommands();
        window->OpenVocabularyDatabase(table);
        QCOMPARE(CurrentTablePath, table);
    }

    QStringList boxTexts() const {
        QStringList texts;
        for (const auto& box : boxes)
            texts << box.caption + ": " + box.text;
        return texts;
    }

    // Marks rows of the grid on the table page.
    void mark(const QList<int>& rows) {
        window->Tab1->setCurrentIndex(2);
        QItemSelectionModel* selection = window->DBGitter->selectionModel();
        selection->clearSelection();
        for (int row : rows)
            selection->select(window->DBGitter->model()->index(row, 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

  private slots:
    void initTestCase() {
        QVERIFY(program.isValid());
        platform::ensureFolder(program.filePath("data"));
        platform::ensureFolder(program.filePath("Latein"));
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
            boxes << r;
            return answer;
        });
        platform::setModalHandler([this](QDialog& d) -> int {
            if (auto* u = qobject_cast<Tumbe*>(&d)) return onUmbe ? onUmbe(*u) : 2;
            if (auto* k = qobject_cast<Tkopieren*>(&d)) return onKopieren ? onKopieren(*k) : 99;
            return 0;
        });
    }
    void cleanupTestCase() {
        window.reset();
        delete umbe;
        umbe = nullptr;
        delete kopieren;
        kopieren = nullptr;
        platform::setMessageBoxHandler({});
        platform::setModalHandler({});
    }
    void init() {
        boxes.clear();
        answer = platform::Answer::Yes;
        onUmbe = nullptr;
        onKopieren = nullptr;
    }

    void numberFieldTakesDigitsOnly() {
        Tumbe dialog;
        QCOMPARE(dialog.enummer->text(), QStringLiteral("1"));
        dialog.enummer->setText("4");
        dialog.enummer->setCursorPosition(1);
        QTest::keyClick(dialog.enummer, Qt::Key_X);
        QCOMPARE(boxTexts(), QStringList{"Fehler: Ungültiges Zeichen"});
        QCOMPARE(dialog.enummer->text(), QStringLiteral("1"));
        QTest::keyClick(dialog.enummer, Qt::Key_2);
        QTest::keyClick(dialog.enummer, Qt::Key_Backspace);
        QTest::keyClick(dialog.enummer, Qt::Key_7);
        QCOMPARE(dialog.enummer->text(), QStringLiteral("17"));
        dialog.enummer->insert("a"); // pasted text is held to digits too
        QCOMPARE(dialog.enummer->text(), QStringLiteral("17"));
        QCOMPARE(boxes.size(), 1);

        dialog.enummer->clear();
        dialog.BitBtn1Click();
        QCOMPARE(dialog.result(), 99);
        QCOMPARE(boxes.last().text, QStringLiteral("Es wurde keine Lektion Nr. eingegeben !"));
        dialog.enummer->setText("3");
        dialog.BitBtn1Click();
        QCOMPARE(dialog.result(), 1);
        dialog.BitBtn2Click();
        QCOMPARE(dialog.result(), 2);
    }

    void newLessonFromTheMenu() {
        openDatabase({"001A1Verben"}, {{"001A1", 2}});
        QString caption, presetLetter;
        onUmbe = [&](Tumbe& d) {
            caption = d.windowTitle();
            presetLetter = d.buchsbox->currentText();
            d.enummer->setText("7");
            d.buchsbox->setCurrentText("B");
            d.zahlbox->setCurrentText("2");
            d.mthema->setText("Zahlen");
            d.BitBtn1Click();
            return d.result();
        };
        window->NeueLektion1->trigger();
        QCOMPARE(caption, QStringLiteral("Neue Lektion"));
        QCOMPARE(presetLetter, QStringLiteral("A"));
        QCOMPARE(topTexts(window->lekbaum), (QStringList{"Lektion 1", "Lektion 7"}));
        QCOMPARE(SelectedLessonCode(window->lekbaum), QStringLiteral("007B2"));
        QCOMPARE(window->lekbaum->selectedItems().first()->text(0), QStringLiteral("B 2 [Zahlen]"));
        QCOMPARE(CurrentLessonCode, QStringLiteral("007B2"));
        QCOMPARE(window->Query->recordCount(), 1);
        QCOMPARE(window->wortart->currentIndex(), 13);
        QVERIFY(boxes.isEmpty());

        window->NeueLektion1Click();
        QCOMPARE(boxTexts(), QStringList{"Fehler: Lektion schon vorhanden"});
        onUmbe = [](Tumbe& d) {
            d.enummer->setText("0");
            d.BitBtn1Click();
            return d.result();
        };
        window->NeueLektion2Click();
        QCOMPARE(boxTexts().last(), QStringLiteral("Fehler: Ungültige Lektion"));
        QCOMPARE(baumlist.count(), 2);

        // Cancelled: nothing happens.
        onUmbe = [](Tumbe& d) {
            d.enummer->setText("9");
            d.BitBtn2Click();
            return d.result();
        };
        window->NeueLektion1Click();
        QCOMPARE(baumlist.count(), 2);
    }

    void renameNumberAndSection() {
        openDatabase({"001A1Verben", "001B1", "002A1"}, {{"001A1", 3}, {"001B1", 1}, {"002A1", 1}});
        select(window->lekbaum, topNode(window->lekbaum, "Lektion 1"));
        bool sectionFieldsDisabled = false;
        QString shownNumber;
        onUmbe = [&](Tumbe& d) {
            shownNumber = d.enummer->text();
            sectionFieldsDisabled = !d.buchsbox->isEnabled() && !d.mthema->isEnabled();
            d.enummer->setText("12");
            d.BitBtn1Click();
            return d.result();
        };
        window->Umbenennen1->trigger();
        QCOMPARE(shownNumber, QStringLiteral("1"));
        QVERIFY(sectionFieldsDisabled);
        QVERIFY(umbe->buchsbox->isEnabled());
        QCOMPARE(umbe->buchsbox->currentText(), QStringLiteral("A"));
        QCOMPARE(topTexts(window->lekbaum), (QStringList{"Lektion 2", "Lektion 12"}));
        QCOMPARE(wordsOf("012A1").size(), 3);
        QCOMPARE(wordsOf("012B1").size(), 1);
        QVERIFY(baumlist.lines().contains("012A1Verben"));

        // A section: only its title.
        select(window->lekbaum, sectionNode(window->lekbaum, "012A1"));
        window->lekbaumClick();
        QString shownTitle;
        onUmbe = [&](Tumbe& d) {
            shownTitle = d.mthema->text();
            d.mthema->setText("Tätigkeiten");
            d.BitBtn1Click();
            return d.result();
        };
        window->Lektionunbenennen1Click();
        QCOMPARE(shownTitle, QStringLiteral("Verben"));
        QCOMPARE(sectionNode(window->lekbaum, "012A1")->text(0),
                 QStringLiteral("A 1 [Tätigkeiten]"));
        QCOMPARE(wordsOf("012A1").size(), 3);
        QVERIFY(boxes.isEmpty());

        // Onto a section that exists: refused.
        onUmbe = [](Tumbe& d) {
            d.enummer->setText("2");
            d.BitBtn1Click();
            return d.result();
        };
        window->Lektionunbenennen1Click();
        QCOMPARE(boxTexts(), QStringList{"Fehler: Lektion schon vorhanden"});
        QCOMPARE(wordsOf("012A1").size(), 3);
    }

    void deleteAsksAndKeepsTheLastLesson() {
        openDatabase({"001A1", "001B1", "002A1"}, {{"001A1", 2}, {"001B1", 2}, {"002A1", 1}});
        select(window->lekbaum, sectionNode(window->lekbaum, "001B1"));
        window->lekbaumClick();
        answer = platform::Answer::No;
        window->LektionLoeschen1->trigger();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, QStringLiteral("Soll Lektion 1 B 1 wirklich gelöscht werden ?"));
        QCOMPARE(boxes[0].caption, QStringLiteral("Nachfrage"));
        QCOMPARE(wordsOf("001B1").size(), 2);

        answer = platform::Answer::Yes;
        window->Lektionlschen1Click();
        QCOMPARE(wordsOf("001B1").size(), 0);
        QCOMPARE(CurrentLessonCode, QStringLiteral("001A1"));
        QCOMPARE(SelectedLessonCode(window->lekbaum), QStringLiteral("001A1"));
        QCOMPARE(window->Query->recordCount(), 2);

        boxes.clear();
        select(window->lekbaum, topNode(window->lekbaum, "Lektion 1"));
        window->Lektionlschen1Click();
        QCOMPARE(boxes[0].text, QStringLiteral("Soll Lektion 1   wirklich gelöscht werden ?"));
        QCOMPARE(topTexts(window->lekbaum), QStringList{"Lektion 2"});
        QCOMPARE(CurrentLessonCode, QStringLiteral("002A1"));

        boxes.clear();
        select(window->lekbaum, sectionNode(window->lekbaum, "002A1"));
        window->Lektionlschen1Click();
        QCOMPARE(boxTexts().last(),
                 QStringLiteral("Fehler: Einzige Lektion kann nicht gelöscht werden"));
        QCOMPARE(wordsOf("002A1").size(), 1);
        QCOMPARE(baumlist.count(), 1);
    }

    void copyAndMoveSections() {
        openDatabase({"001A1Verben", "002A1", "003B1"},
                     {{"001A1", 10}, {"002A1", 1}, {"003B1", 1}});
        select(window->lekbaum, topNode(window->lekbaum, "Lektion 1"));
        window->LektionKopieren1->trigger();
        QCOMPARE(boxTexts(),
                 QStringList{"Fehler: Es können nur untergeordnete Abschnitte kopiert werden"});
        boxes.clear();
        window->LektionVerschieben1->trigger();
        QCOMPARE(boxTexts(),
                 QStringList{"Fehler: Es können nur untergeordnete Abschnitte verschoben werden"});
        boxes.clear();

        select(window->lekbaum, sectionNode(window->lekbaum, "001A1"));
        window->lekbaumClick();
        QString source;
        onKopieren = [&](Tkopieren& d) {
            source = d.windowTitle() + ": " + d.labellek->text() + " / " + d.labelab->text();
            return choose(d, sectionNode(d.baumtree, "002A1"));
        };
        window->Kopieren1Click();
        QCOMPARE(source, QStringLiteral("Lektion auswählen: Lektion 1 / A 1 [Verben]"));
        QCOMPARE(wordsOf("002A1").size(), 11);
        QCOMPARE(wordsOf("001A1").size(), 10);
        QCOMPARE(CurrentLessonCode, QStringLiteral("001A1"));
        QVERIFY(!window->SuppressFieldChange);

        // Onto lesson number 2: section 002A1 exists already.
        onKopieren = [](Tkopieren& d) { return choose(d, topNode(d.baumtree, "Lektion 2")); };
        window->Kopieren1Click();
        QCOMPARE(boxTexts(), QStringList{": Ziellektion schon vorhanden !"});
        window->Verschieben1Click();
        QCOMPARE(boxTexts().last(), QStringLiteral(": Ziellektion schon vorhanden !"));
        QCOMPARE(wordsOf("002A1").size(), 11);

        // Nothing chosen keeps the dialog open; a move onto the source is refused.
        onKopieren = [](Tkopieren& d) {
            d.setResult(0);
            d.btnKopierenClick();
            if (d.result() != 0) return -1;
            return choose(d, sectionNode(d.baumtree, "001A1"));
        };
        boxes.clear();
        window->Verschieben1Click();
        QCOMPARE(boxTexts(),
                 QStringList{"Fehler: Es kann nicht in Quellektion verschoben werden !"});

        // Moved onto lesson number 3: a new section with the title.
        onKopieren = [](Tkopieren& d) { return choose(d, topNode(d.baumtree, "Lektion 3")); };
        window->Verschieben1Click();
        QCOMPARE(topTexts(window->lekbaum), (QStringList{"Lektion 2", "Lektion 3"}));
        QCOMPARE(sectionNode(window->lekbaum, "003A1")->text(0), QStringLiteral("A 1 [Verben]"));
        QCOMPARE(CurrentLessonCode, QStringLiteral("003A1"));
        QCOMPARE(window->Query->recordCount(), 10);

        // Onto an existing section: both lessons' words stay, in the target.
        onKopieren = [](Tkopieren& d) { return choose(d, sectionNode(d.baumtree, "002A1")); };
        window->Verschieben1Click();
        QCOMPARE(wordsOf("002A1").size(), 21);
        QCOMPARE(baumlist.lines(), (QStringList{"002A1", "003B1"}));
        QCOMPARE(window->anzeintrag->text(), QStringLiteral("21"));
    }

    void markedWordsOnTheTablePage() {
        openDatabase({"001A1", "002A1"}, {{"001A1", 10}, {"002A1", 1}});
        // Not on the table page: only the marking message.
        window->Vokabelnlschen1Click();
        window->Vokabelnkopieren1Click();
        QCOMPARE(boxTexts(),
                 (QStringList{"Fehler: Es müssen zuerst in der Tabelle Vokabeln markiert werden !",
                              "Fehler: Es müssen zuerst in der Tabelle Vokabeln mit der linken "
                              "Maustaste markiert werden !"}));
        boxes.clear();

        mark({0, 2, 4});
        window->Vokabelnlschen1->trigger();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text,
                 QStringLiteral("Sollen die 3 markierten Vokabeln wirklich gelöscht werden ?"));
        QCOMPARE(wordsOf("001A1"), (QStringList{"w2", "w4", "w6", "w7", "w8", "w9", "w10"}));
        QCOMPARE(window->anzeintrag->text(), QStringLiteral("7"));
        QCOMPARE(window->Query->recordCount(), 7);

        // All marked: delete and move refused, copy allowed.
        boxes.clear();
        mark({0, 1, 2, 3, 4, 5, 6});
        window->Vokabelnlschen1Click();
        window->Vokabelnverschieben1Click();
        QCOMPARE(boxTexts(),
                 (QStringList{"Fehler: Wenn alle Vokabeln gelöscht werden sollen,\rbitte gesamte "
                              "Lektion über Menüpunkt \"Lektion\" löschen!",
                              "Fehler: Wenn alle Vokabeln verschoben werden sollen,\rbitte gesamte "
                              "Lektion über Menüpunkt \"Lektion\" verschieben!"}));
        onKopieren = [](Tkopieren& d) { return choose(d, sectionNode(d.baumtree, "002A1")); };
        window->Vokabelnkopieren1Click();
        QCOMPARE(wordsOf("002A1").size(), 8);
        QCOMPARE(wordsOf("001A1").size(), 7);
        QVERIFY(!window->SuppressFieldChange);

        // A lesson number as target changes nothing.
        boxes.clear();
        mark({0});
        onKopieren = [](Tkopieren& d) { return choose(d, topNode(d.baumtree, "Lektion 2")); };
        window->Vokabelnverschieben1Click();
        window->Vokabelnkopieren1Click();
        QCOMPARE(boxTexts(),
                 (QStringList{": Es muss eine untergeordnete Lektion ausgewählt werden !",
                              ": Es muss eine untergeordnete Lektion ausgewählt werden !"}));
        QCOMPARE(wordsOf("002A1").size(), 8);

        // Moved to a section.
        mark({1, 3});
        onKopieren = [](Tkopieren& d) { return choose(d, sectionNode(d.baumtree, "002A1")); };
        window->VokabelnVerschieben1->trigger();
        QCOMPARE(wordsOf("001A1"), (QStringList{"w2", "w6", "w8", "w9", "w10"}));
        QCOMPARE(wordsOf("002A1").size(), 10);
        QCOMPARE(window->anzeintrag->text(), QStringLiteral("5"));
        QCOMPARE(CurrentLessonCode, QStringLiteral("001A1"));

        // The delete key of the word commands deletes the marked words here.
        mark({0});
        window->SpeedDeleteClick();
        QCOMPARE(wordsOf("001A1"), (QStringList{"w6", "w8", "w9", "w10"}));
    }

    void resetAllWords() {
        openDatabase({"001A1", "002A1"}, {{"001A1", 2}, {"002A1", 2}});
        answer = platform::Answer::No;
        window->Schwierigkeit1->trigger();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text,
                 QStringLiteral("Soll die Schwierigkeit aller Vokabeln \rder "
                                "Datenbank wirklich auf \"normal\" gesetzt werden ?"));
        answer = platform::Answer::Yes;
        window->Tab1->setCurrentIndex(2);
        window->Schwierigkeit1->trigger();
        window->BisherigeAbfragen1->trigger();
        QCOMPARE(boxes[2].text,
                 QStringLiteral("Sollen alle gespeicherten Informationen zu den Vokabeln\r(Anzahl "
                                "der Abfragen, richtige Antworten, zu x% gewusst,...)\rwirklich "
                                "gelöscht werden ?"));
        QCOMPARE(window->Tab1->currentIndex(), 0);
        QCOMPARE(window->Schwcom->currentIndex(), 2);
        engine::Query q;
        q.setRequestLive(false);
        q.addSql("SELECT * FROM " + engine::quoteLiteral(CurrentTablePath));
        q.open();
        QCOMPARE(q.recordCount(), 4);
        for (q.first(); !q.eof(); q.next()) {
            QCOMPARE(q.asInteger("Schwierigkeit"), 3);
            QCOMPARE(q.asInteger("Anzahl_Abfragen"), 0);
        }
    }

    void rightClickOpensTheLessonAndItsMenu() {
        openDatabase({"001A1", "002A1"}, {{"001A1", 2}, {"002A1", 3}});
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTreeWidgetItem* top = topNode(window->lekbaum, "Lektion 2");
        top->setExpanded(true);
        QTreeWidgetItem* item = sectionNode(window->lekbaum, "002A1");
        const QPoint at = window->lekbaum->visualItemRect(item).center();
        window->lekbaumContextMenu(at);
        QCOMPARE(CurrentLessonCode, QStringLiteral("002A1"));
        QCOMPARE(window->Query->recordCount(), 3);
        QVERIFY(window->Lektionenpup->isVisible());
        window->Lektionenpup->hide();
        QVERIFY(window->btnvokloeschen->isVisibleTo(window->Tab1->widget(2)));
        QCOMPARE(window->btnvokkopieren->text(), QStringLiteral("&Kopieren nach"));
    }

    void dialogPictures() {
        const QString folder = qEnvironmentVariable("ORVILEX_SHOTS");
        Tumbe dialog;
        dialog.setWindowTitle("Neue Lektion");
        dialog.prepareNewLesson();
        dialog.mthema->setText("Zahlen und Mengen");
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.buchsbox->count(), 26);
        QCOMPARE(dialog.zahlbox->count(), 9);
        if (!folder.isEmpty()) QVERIFY(dialog.grab().save(folder + "/umbe.png"));
        dialog.setWindowTitle("Lektion umbenennen");
        dialog.prepareRenameNumber("012");
        QCOMPARE(dialog.enummer->text(), QStringLiteral("12"));
        if (!folder.isEmpty()) QVERIFY(dialog.grab().save(folder + "/umbe-nummer.png"));

        QTreeWidget tree;
        RebuildLessonTree(&tree, LessonList({"001A1Verben", "001B1Nomen", "002A1", "010A2Zahlen"}));
        tree.topLevelItem(0)->setExpanded(true);
        Tkopieren target;
        target.fillFrom(&tree, "Lektion 1", "A 1 [Verben]");
        QCOMPARE(target.baumtree->topLevelItemCount(), 3);
        QVERIFY(target.baumtree->topLevelItem(0)->isExpanded());
        QVERIFY(!target.baumtree->topLevelItem(1)->isExpanded());
        target.show();
        QVERIFY(QTest::qWaitForWindowExposed(&target));
        if (!folder.isEmpty()) QVERIFY(target.grab().save(folder + "/kopieren.png"));
    }
};

QTEST_MAIN(TestLessonCommands)
#include "tst_lessoncommands.moc"
