#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/paths.h"
#include "platform/registry.h"

#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

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
