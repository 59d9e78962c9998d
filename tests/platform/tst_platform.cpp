#include "platform/buttonkeys.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/mounts.h"
#include "platform/ownerwindow.h"
#include "platform/paths.h"
#include "platform/registry.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>
#include <atomic>
#include <cerrno>
#include <future>
#include <sys/vfs.h>

using namespace platform;

class TestPlatform : public QObject {
    Q_OBJECT
  private slots:
    void messageBoxesReachTheInstalledHandler() {
        QList<MessageBoxRequest> seen;
        setMessageBoxHandler([&](const MessageBoxRequest& r) {
            seen << r;
            return Answer::No;
        });
        QCOMPARE(showMessage("Wirklich?", "Frage", Icon::Question, Buttons::YesNo), Answer::No);
        setMessageBoxHandler({});
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].caption, QStringLiteral("Frage"));
        QCOMPARE(seen[0].buttons, Buttons::YesNo);
    }

    // A message broken into lines by its author keeps those lines: the box
    // would otherwise break the long ones again and leave "versuchen," and
    // "Sichern" alone on a line.
    void messageLinesAreKeptWhole() {
        const QString offer = QStringLiteral(
            "Die ausgewählte Datei ist ungültig. Wenn es sich hierbei um eine\r"
            "Vokabeldatei handelt, die nicht mit Orvilex erstellt wurde, können Sie versuchen,\r"
            "die Vokabeln mit Hilfe des Universalimports von Orvilex zu importieren.\r"
            "Achtung!! Hierbei kann es u.U. vorkommen, dass Ihr System abstürzt. Sichern\r"
            "Sie daher zuerst alle geöffneten Daten ab.\r"
            "\r"
            "Wollen Sie den Universalimport starten?");
        const auto box = createMessageBox({offer, "Fehler", Icon::Error, Buttons::YesNo});
        auto* label = box->findChild<QLabel*>("qt_msgbox_label");
        QVERIFY(label);
        QCOMPARE(label->textFormat(), Qt::RichText);
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        const int line = label->fontMetrics().lineSpacing();
        QVERIFY2(label->height() < int(7.6 * line),
                 qPrintable(QString::number(label->height() / double(line))));
        box->hide();

        // The same text as a plain box shows it: lines broken again.
        QMessageBox plain(QMessageBox::Critical, "Fehler", QString(offer).replace('\r', '\n'));
        plain.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plain));
        auto* plainLabel = plain.findChild<QLabel*>("qt_msgbox_label");
        QVERIFY(plainLabel->height() > label->height());
        plain.hide();

        // One long line without breaks is left to the box's own wrapping, and
        // line breaks of every kind count once.
        QCOMPARE(boxText(QString(300, 'x'), label->fontMetrics(), 900).format, Qt::PlainText);
        const BoxText mixed = boxText("a\r\nb\n\rc\rd", label->fontMetrics(), 900);
        QCOMPARE(mixed.format, Qt::RichText);
        QVERIFY(mixed.text.contains(QStringLiteral("a\nb\nc\nd")));
        QCOMPARE(boxText("a\r<b>", label->fontMetrics(), 900).text,
                 QStringLiteral("<p style=\"white-space:pre\">a\n&lt;b&gt;</p>"));
    }

    void modalDialogsReachTheInstalledHandler() {
        QDialog dialog;
        setModalHandler([](QDialog& d) {
            d.setWindowTitle("gefüllt");
            return int(ResultSection);
        });
        QCOMPARE(execModal(dialog), int(ResultSection));
        setModalHandler({});
        QCOMPARE(dialog.windowTitle(), QStringLiteral("gefüllt"));
    }

    // A box opens in front of the window that asked for it: the modal window
    // that runs, else the innermost window a scope names, else the active one.
    void boxesOpenInFrontOfTheirOwnerWindow() {
        QList<QWidget*> owners;
        setMessageBoxHandler([&](const MessageBoxRequest& r) {
            owners << r.owner;
            return Answer::Ok;
        });
        QDialog outer;
        QDialog inner;
        QWidget search;
        QLabel field(&search);
        setModalHandler([&](QDialog& d) {
            d.show();
            showMessage("im Dialog");
            if (&d == &outer) {
                execModal(inner);
                showMessage("wieder außen");
            }
            d.hide();
            return 0;
        });
        search.show();
        {
            const OwnerWindowScope scope(&field); // the window of the control
            showMessage("Suche");
            execModal(outer);
            QWidget hidden;
            const OwnerWindowScope ofHidden(&hidden);
            auto* gone = new QWidget;
            gone->show();
            const OwnerWindowScope ofGone(gone);
            delete gone;
            showMessage("nach geschlossenen Fenstern");
        }
        search.hide();
        showMessage("ohne Fenster");
        setMessageBoxHandler({});
        setModalHandler({});
        QCOMPARE(owners, QList<QWidget*>({&search, &outer, &inner, &outer, &search, nullptr}));
        const auto box = createMessageBox({"x", "", Icon::None, Buttons::Ok, &outer});
        QCOMPARE(box->parentWidget(), &outer);
    }

    void pathsUseForwardSlashesAndFindFilesInAnyCase() {
        QTemporaryDir dir;
        QCOMPARE(joinPath(dir.path(), "\\data\\gruopt.dat"), dir.path() + "/data/gruopt.dat");
        QVERIFY(ensureFolder(joinPath(dir.path(), "data")));
        QFile f(joinPath(dir.path(), "data/Option.dat"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QCOMPARE(findCaseInsensitive(joinPath(dir.path(), "data"), "option.dat"), f.fileName());
        QCOMPARE(findCaseInsensitive(joinPath(dir.path(), "data"), "AuswOpt.dat"),
                 dir.path() + "/data/AuswOpt.dat");
    }

    void copyIfMissingKeepsTheUsersFile() {
        QTemporaryDir dir;
        const QString source = dir.filePath("a"), target = dir.filePath("b");
        for (auto [path, text] : {std::pair{source, "neu"}, std::pair{target, "alt"}}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text);
        }
        QVERIFY(copyIfMissing(source, target));
        QFile f(target);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("alt"));
    }

    // Return and the keypad's Enter press the focused push button of any
    // window, also one that is not a dialog's default; a memo keeps Enter for
    // its line break.
    void enterPressesTheFocusedButton_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    }
    void enterPressesTheFocusedButton() {
        QFETCH(int, key);
        const auto modifiers = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        installEnterPressesFocusedButton();
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* next = new QPushButton("&Weiter");
        auto* memo = new QPlainTextEdit;
        layout->addWidget(next);
        layout->addWidget(memo);
        QSignalSpy nextClicked(next, &QPushButton::clicked);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        next->setFocus();
        QTest::keyClick(next, Qt::Key(key), modifiers);
        QCOMPARE(nextClicked.count(), 1);
        memo->setFocus();
        QTest::keyClick(memo, Qt::Key(key), modifiers);
        QCOMPARE(memo->toPlainText(), QStringLiteral("\n"));
        // Held down, as the X server repeats it (release/press pairs of one
        // time, which Qt may not flag): the button is pressed once, a memo
        // takes a line break for each repeat.
        quint64 time = 5000;
        auto hold = [&](QWidget* target, bool flagged) {
            for (int k = 0; k < 6; ++k, time += 40)
                for (auto type : {QEvent::KeyRelease, QEvent::KeyPress}) {
                    if (k == 0 && type == QEvent::KeyRelease) continue;
                    QKeyEvent event(type, key, modifiers, "\r", k > 0 && flagged);
                    event.setTimestamp(time);
                    QApplication::sendEvent(target, &event);
                }
            QKeyEvent release(QEvent::KeyRelease, key, modifiers, "\r");
            release.setTimestamp(time);
            QApplication::sendEvent(target, &release);
            time += 150;
        };
        for (bool flagged : {false, true}) {
            next->setFocus();
            hold(next, flagged);
            hold(next, flagged);
            QCOMPARE(nextClicked.count(), flagged ? 5 : 3);
        }
        memo->setFocus();
        hold(memo, false);
        QCOMPARE(memo->toPlainText(), QStringLiteral("\n").repeated(7));
        next->setEnabled(false);
        QTest::keyClick(next, Qt::Key(key), modifiers);
        QCOMPARE(nextClicked.count(), 5);

        QDialog dialog;
        auto* buttons = new QHBoxLayout(&dialog);
        auto* field = new QLineEdit;
        auto* ok = new QPushButton("&OK");
        auto* cancel = new QPushButton("&Abbruch");
        ok->setDefault(true);
        cancel->setAutoDefault(false);
        buttons->addWidget(field);
        buttons->addWidget(ok);
        buttons->addWidget(cancel);
        QSignalSpy okClicked(ok, &QPushButton::clicked);
        QSignalSpy cancelClicked(cancel, &QPushButton::clicked);
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        cancel->setFocus();
        QTest::keyClick(cancel, Qt::Key(key), modifiers);
        QCOMPARE(cancelClicked.count(), 1);
        QCOMPARE(okClicked.count(), 0);
        // Held in a field, Enter presses the dialog's default button once.
        field->setFocus();
        hold(field, false);
        QCOMPARE(okClicked.count(), 1);
    }

    // A held key acts once, in the window it was pressed in. Space held on a
    // button that hands the focus on when clicked (as "OK" of the quiz hands
    // it to "&Weiter"): the repeats that Qt does not flag press neither button
    // again. Enter held on a button that closes its window (the last word of
    // a quiz): its repeats type nothing into the memo of the window that comes
    // to the front. Deliberate presses still act.
    void heldKeyActsOnceInItsWindow() {
        installEnterPressesFocusedButton();
        QWidget window, behind;
        auto* layout = new QVBoxLayout(&window);
        auto* ok = new QPushButton("&OK");
        auto* next = new QPushButton("&Weiter");
        layout->addWidget(ok);
        layout->addWidget(next);
        auto* memo = new QPlainTextEdit(&behind);
        // Where the window system sends the keys: the focus as it moves.
        QWidget* focus = ok;
        connect(ok, &QPushButton::clicked, next, [&focus, next] {
            next->setFocus();
            focus = next;
        });
        connect(next, &QPushButton::clicked, memo, [&focus, &window, memo] {
            window.hide();
            focus = memo;
        });
        QSignalSpy okClicked(ok, &QPushButton::clicked);
        QSignalSpy nextClicked(next, &QPushButton::clicked);
        behind.show();
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        quint64 time = 9000;
        auto send = [&](QEvent::Type type, Qt::Key key, bool flagged = false) {
            QKeyEvent event(type, key, Qt::NoModifier, key == Qt::Key_Space ? " " : "\r", flagged);
            event.setTimestamp(time);
            QApplication::sendEvent(focus, &event);
        };
        auto hold = [&](Qt::Key key, bool flagged) {
            send(QEvent::KeyPress, key);
            const quint64 up = time + 2000;
            for (time += 660; time < up; time += 40) {
                send(QEvent::KeyRelease, key, flagged);
                send(QEvent::KeyPress, key, flagged);
            }
            send(QEvent::KeyRelease, key);
            time += 300;
        };
        hold(Qt::Key_Space, false);
        QCOMPARE(okClicked.count(), 1);
        QCOMPARE(nextClicked.count(), 0);
        QCOMPARE(focus, next);
        hold(Qt::Key_Return, true);
        QCOMPARE(nextClicked.count(), 1);
        QCOMPARE(focus, memo);
        QVERIFY(memo->toPlainText().isEmpty());
        send(QEvent::KeyPress, Qt::Key_Return);
        QCOMPARE(memo->toPlainText(), QStringLiteral("\n"));
        // Space pressed no button this time: the memo takes every repeat.
        send(QEvent::KeyRelease, Qt::Key_Return);
        time += 300;
        hold(Qt::Key_Space, false);
        QCOMPARE(memo->toPlainText(), QStringLiteral("\n") + QString(35, QLatin1Char(' ')));
    }

    // The mounts come from the kernel's table without touching them; a file
    // system that never answers costs a caller one deadline, once.
    void mountsAreListedAndAskedWithoutWaiting() {
        const QList<MountEntry> table =
            parseMountTable("proc /proc proc rw 0 0\n"
                            "/dev/vda / ext4 rw 0 0\n"
                            "/dev/sdb1 /media/anna/USB\\040Stick vfat rw 0 0\n"
                            "server:/share /mnt/Netz\\011Ordner\\134x nfs4 rw 0 0\n"
                            "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
                            "tmpfs /run/user/1000 tmpfs rw 0 0\n"
                            "/dev/sdc1 /run/media/anna/Platte ext4 rw 0 0\n"
                            "systemd-1 /mnt/auto autofs rw 0 0\n"
                            "/dev/sdb1 /media/anna/USB\\040Stick vfat ro 0 0\n");
        QCOMPARE(table.size(), 9);
        QCOMPARE(table[2].mountPoint, QStringLiteral("/media/anna/USB Stick"));
        QCOMPARE(table[3].mountPoint, QStringLiteral("/mnt/Netz\tOrdner\\x"));
        QCOMPARE(table[3].type, QStringLiteral("nfs4"));
        QStringList volumes;
        for (const MountEntry& entry : userVolumes(table))
            volumes << entry.mountPoint;
        QCOMPARE(volumes, QStringList({"/", "/media/anna/USB Stick", "/mnt/Netz\tOrdner\\x",
                                       "/run/media/anna/Platte"}));

        // "/silent" never answers (until the test ends), "/gone" fails.
        std::promise<void> release;
        const std::shared_future<void> released = release.get_future().share();
        // Shared: a thread may still run when the test has ended.
        const auto calls = std::make_shared<std::atomic<int>>(0);
        setStatfsFunction([calls, released](const char* path, struct statfs* info) {
            ++*calls;
            const QByteArray name(path);
            if (name.startsWith("/silent")) released.wait();
            if (name == "/gone") {
                errno = ENOENT;
                return -1;
            }
            info->f_blocks = 100;
            info->f_bavail = 25;
            info->f_frsize = 4096;
            return 0;
        });
        const int deadline = FileSystemAnswerMs;
        FileSystemAnswerMs = 600;
        QElapsedTimer clock;
        clock.start();
        const QList<FileSystemAnswer> answers = askFileSystems({"/silent", "/gone", "/data"});
        QVERIFY(clock.elapsed() >= 550 && clock.elapsed() < 3000);
        QCOMPARE(answers[0].state, FileSystemAnswer::State::NoAnswer);
        QCOMPARE(answers[1].state, FileSystemAnswer::State::Failed);
        QCOMPARE(answers[1].error, ENOENT);
        QVERIFY(answers[1].answered());
        QCOMPARE(answers[2].state, FileSystemAnswer::State::Answered);
        QCOMPARE(answers[2].bytesTotal, qint64(409600));
        QCOMPARE(answers[2].bytesFree, qint64(102400));
        // Asked again, the silent one is not waited for a second time.
        clock.restart();
        QCOMPARE(askFileSystem("/silent").state, FileSystemAnswer::State::NoAnswer);
        QVERIFY(clock.elapsed() < 300);
        QCOMPARE(calls->load(), 3);

        // Of folders below a root, only mount points are asked.
        QTemporaryDir dir;
        const QString mounts = dir.filePath("mounts");
        QFile file(mounts);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("/dev/x /silent/Latein fuse rw 0 0\n/dev/y /data/Englisch ext4 rw 0 0\n");
        file.close();
        MountTablePath = mounts;
        *calls = 0;
        QCOMPARE(foldersThatAnswer({"/silent/Latein", "/silent/Franz", "/data/Englisch"}),
                 QStringList({"/silent/Franz", "/data/Englisch"}));
        QCOMPARE(calls->load(), 2); // the two mount points
        MountTablePath = QStringLiteral("/proc/self/mounts");
        FileSystemAnswerMs = deadline;
        release.set_value();
        setStatfsFunction({});
    }

    void registryKeepsValuesUnderTheirRoot() {
        QTemporaryDir dir;
        setRegistryFile(dir.filePath("registry.ini"));
        const QString key = "HKEY_LOCAL_MACHINE\\Software\\Orvitec\\Orvilex";
        QVERIFY(writeRegistryString(key, "dir", "/opt/orvilex"));
        QCOMPARE(readRegistryString(key, "dir"), QStringLiteral("/opt/orvilex"));
        QCOMPARE(readRegistryString("hkey_local_machine\\Software\\Orvitec\\Orvilex", "dir"),
                 QStringLiteral("/opt/orvilex"));
        QCOMPARE(readRegistryString(key, "Version"), QString());
        QCOMPARE(readRegistryString("HKEY_NONSENSE\\Software", "dir"), QString());
        QCOMPARE(registryRoot("HKEY_NONSENSE\\x"), 0);
        QVERIFY(!writeRegistryString("Software\\Orvitec", "dir", "x"));
        QVERIFY(registryKeyExists(key));
        QVERIFY(!registryKeyExists("HKEY_CURRENT_USER\\Volatile Environment"));
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
