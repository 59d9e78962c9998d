// The main window's menu keys win over the keys of its text fields, for every
// key of the menu table; without menu shortcuts the fields keep their keys.
#include "database/databaseoptions.h"
#include "database/generaloptions.h"
#include "database/lessons.h"
#include "database/newdatabasedialog.h"
#include "database/opendialog.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "mainwindow/mainwindow.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/paths.h"
#include "support/mainwindowstart.h"
#include "support/testfiles.h"
#include "support/wordtable.h"

#include <QAction>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The menu table: entry and key.
const QList<QPair<QString, QKeySequence>> MenuKeys{
    {"&Neu", QKeySequence(Qt::CTRL | Qt::Key_N)},
    {"&Laden", QKeySequence(Qt::CTRL | Qt::Key_O)},
    {"&Drucken", QKeySequence(Qt::CTRL | Qt::Key_P)},
    {"&Sichern (In Datei packen)", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S)},
    {"&Zurücksichern (Aus Datei entpacken)", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z)},
    {"E&xport in Textdatei", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_E)},
    {"Im&port aus Textdatei", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_I)},
    {"Zusa&mmenführen von Datenbanken", QKeySequence(Qt::CTRL | Qt::Key_Z)},
    {"&Neu", QKeySequence(Qt::CTRL | Qt::Key_L)},
    {"&Neu", QKeySequence(Qt::Key_F3)},
    {"&Löschen", QKeySequence(Qt::Key_F4)},
    {"&Speichern", QKeySequence(Qt::Key_F2)},
    {"Verb", QKeySequence(Qt::Key_F5)},
    {"Nomen", QKeySequence(Qt::Key_F6)},
    {"Adjektiv", QKeySequence(Qt::Key_F7)},
    {"Ausdruck", QKeySequence(Qt::Key_F8)},
    {"&Suchen", QKeySequence(Qt::CTRL | Qt::Key_F)},
    {"&Erste Vokabel", QKeySequence(Qt::Key_F9)},
    {"&Vorherige Vokabel", QKeySequence(Qt::Key_F10)},
    {"&Nächste Vokabel", QKeySequence(Qt::Key_F11)},
    {"&Letzte Vokabel", QKeySequence(Qt::Key_F12)},
    {"&Einfügen (vollständige Tabelle)", QKeySequence(Qt::CTRL | Qt::Key_E)},
    {"&Benutzertabelle anzeigen", QKeySequence(Qt::CTRL | Qt::Key_B)},
    {"&Start", QKeySequence(Qt::CTRL | Qt::Key_A)},
    {"Unterbrochene Abfrage &fortsetzen", QKeySequence(Qt::CTRL | Qt::Key_U)},
    {"&Allgemeine", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_A)},
    {"&Datenbank (Name/Schriftart/..)", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_D)},
    {"S&ondereinstellungen", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_O)},
    {"Ab&frage (Modus/..)", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_F)},
    {"&Inhalt", QKeySequence(Qt::Key_F1)},
};

QAction* findAction(QMenu* menu, const QString& text, const QKeySequence& keys) {
    for (QAction* action : menu->actions()) {
        if (action->menu()) {
            if (QAction* found = findAction(action->menu(), text, keys)) return found;
        } else if (action->text() == text && action->shortcut() == keys) {
            return action;
        }
    }
    return nullptr;
}

// Whether the focused field claims the keys for itself.
bool fieldClaims(QWidget* field, const QKeySequence& keys) {
    const QKeyCombination combination = keys[0];
    QKeyEvent event(QEvent::ShortcutOverride, combination.key(), combination.keyboardModifiers());
    event.ignore();
    QApplication::sendEvent(field, &event);
    return event.isAccepted();
}

} // namespace

class TestMenuShortcuts : public QObject {
    Q_OBJECT
    QTemporaryDir program;
    std::unique_ptr<TForm1> window;

    // A database of one word in the Latin folder, made once.
    QString latinDatabase(const QString& name) {
        const QString table = program.filePath("Latein/" + name + ".ol");
        if (QFile::exists(table)) return table;
        WriteWordTable(table, {{"amare", "lieben"}});
        TDatabaseOptionsRec::forNewDatabase("Latein").save(
            program.filePath("Latein/" + name + ".opt"));
        LessonList({"001A1Verben"}).save(program.filePath("Latein/" + name + ".lst"));
        return table;
    }

    QList<QWidget*> fields() const {
        return {window->DBFremdwort, window->DBuebersetzung, window->DBGenetiv,
                window->DBGenus,     window->DBPraeFut,      window->DBExtra};
    }

  private slots:
    void init() {
        platform::setMessageBoxHandler(
            [](const platform::MessageBoxRequest&) { return platform::Answer::No; });
        platform::setModalHandler([](QDialog&) { return int(QDialog::Rejected); });
        platform::ensureFolder(program.filePath("data"));
        platform::ensureFolder(program.filePath("Latein"));
        window = StartMainWindow(program.path());
        window->OpenVocabularyDatabase(latinDatabase("Caesar"));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup() {
        window.reset();
        Form1 = nullptr;
        platform::setMessageBoxHandler({});
        platform::setModalHandler({});
    }

    void everyKeyOfTheMenuTableIsTheMenus() {
        for (const auto& [text, keys] : MenuKeys) {
            QVERIFY2(findAction(window->DatenbankMenu, text, keys) ||
                         findAction(window->Bearbeiten, text, keys) ||
                         findAction(window->Eingabe1, text, keys) ||
                         findAction(window->Vokabeln, text, keys) ||
                         findAction(window->EinstellungenMenu, text, keys) ||
                         findAction(window->HilfeMenu, text, keys),
                     qPrintable(text + " " + keys.toString()));
            for (QWidget* field : fields()) {
                field->setFocus();
                QVERIFY2(!fieldClaims(field, keys),
                         qPrintable(field->objectName() + " " + keys.toString()));
            }
        }
    }

    void ctrlAInAWordFieldStartsTheQuiz() {
        QSignalSpy started(window->Abfragen, &QAction::triggered);
        window->DBFremdwort->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window->DBFremdwort, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(started.size(), 1);
        QVERIFY(!window->DBFremdwort->textCursor().hasSelection());
    }

    // However a database was opened, each menu key is enabled as its menu
    // item shows when the menu opens: Ctrl+U resumes the quiz interrupted in
    // the database just opened, also when no window was activated since (the
    // recent list is a menu of the window itself).
    void menuKeysActAfterEveryWayOfOpening() {
        const QString caesar = latinDatabase("Caesar");
        writeFile(program.filePath("data/CaesarLatein.lab"), QByteArray(1288, 0));
        QSignalSpy resumed(window->uaf, &QAction::triggered);
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto expectMenuKeys = [&](bool interrupted) {
            QList<QPair<QAction*, bool>> keys;
            std::function<void(QMenu*)> collect = [&](QMenu* menu) {
                for (QAction* action : menu->actions())
                    if (action->menu())
                        collect(action->menu());
                    else if (!action->shortcut().isEmpty())
                        keys.append({action, action->isEnabled()});
            };
            for (QAction* top : window->menuBar()->actions())
                if (top->menu()) collect(top->menu());
            for (QAction* top : window->menuBar()->actions())
                if (top->menu()) emit top->menu()->aboutToShow();
            for (const auto& [action, enabled] : keys)
                QVERIFY2(action->isEnabled() == enabled, qPrintable(action->text()));
            QCOMPARE(window->uaf->isEnabled(), interrupted);
            const qsizetype before = resumed.size();
            QTest::keyClick(window->DBFremdwort, Qt::Key_U, Qt::ControlModifier);
            QCOMPARE(resumed.size(), before + (interrupted ? 1 : 0));
        };
        const QString gallia = latinDatabase("Gallia");

        window->OpenVocabularyDatabase(gallia); // as from the command line
        expectMenuKeys(false);
        window->mit2->trigger(); // Caesar, from the recent list
        expectMenuKeys(true);

        window->OpenVocabularyDatabase(gallia);
        dateiladen = new Tdateiladen(window.get());
        DialogNeu = new TDialogNeu(window.get());
        platform::setModalHandler([&](QDialog& d) {
            if (&d == dateiladen) dateiladen->Label2->setText(caesar);
            if (&d == DialogNeu) DialogNeu->EditName->setText("Neu");
            return 1;
        });
        window->oeffnen->trigger();
        expectMenuKeys(true);
        window->Neu->trigger();
        expectMenuKeys(false);
        dateiladen = nullptr;
        DialogNeu = nullptr;
    }

    void withoutMenuShortcutsTheFieldsKeepTheirKeys() {
        // What "Shortcuts deaktivieren" leaves: F3 alone.
        std::function<void(QMenu*)> strip = [&](QMenu* menu) {
            for (QAction* action : menu->actions())
                if (action->menu())
                    strip(action->menu());
                else if (action != window->VokabelNeu1)
                    action->setShortcut(QKeySequence());
        };
        for (QAction* top : window->menuBar()->actions())
            if (top->menu()) strip(top->menu());
        window->DBFremdwort->setFocus();
        QVERIFY(fieldClaims(window->DBFremdwort, QKeySequence(Qt::CTRL | Qt::Key_A)));
        QVERIFY(fieldClaims(window->DBGenetiv, QKeySequence(Qt::CTRL | Qt::Key_Z)));
        QVERIFY(!fieldClaims(window->DBFremdwort, QKeySequence(Qt::Key_F3)));
    }
};

QTEST_MAIN(TestMenuShortcuts)
#include "tst_menushortcuts.moc"
