#include "database/generaloptions.h"
#include "database/recentdatabases.h"
#include "mainwindow/recentmenu.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/paths.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

QStringList paths(const TGeneralOptionsRec& options) {
    QStringList list;
    for (int i = 0; i < options.RecentCount; ++i)
        list << options.Recent[i].Path;
    return list;
}

void touch(const QString& path) {
    platform::ensureFolder(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

class TestRecentDatabases : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QStringList boxes;

    QString table(const QString& name) { return dir->filePath("Latein/" + name + ".ol"); }
    void open(const QString& name) { QVERIFY(AddRecentDatabase(table(name), name, "Latein")); }

  private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        WorkDir = dir->path();
        platform::ensureFolder(dir->filePath("data"));
        GeneralOptions = TGeneralOptionsRec();
        RecentDatabasesChanged = nullptr;
        boxes.clear();
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& request) {
            boxes << request.text;
            return platform::Answer::Ok;
        });
    }
    void cleanup() { platform::setMessageBoxHandler({}); }

    void texts() {
        QCOMPARE(RecentDisplayText("Caesar", "Latein"), QStringLiteral("Caesar [Latein]"));
        QCOMPARE(RecentMenuCaption(1, "Caesar [Latein]"), QStringLiteral("&1 Caesar [Latein]"));
        QCOMPARE(RecentMenuCaption(4, "R&D [Englisch]"), QStringLiteral("&4 R&&D [Englisch]"));
    }

    void lastFourDistinctMostRecentFirst() {
        int changes = 0;
        RecentDatabasesChanged = [&] { ++changes; };
        for (const char* name : {"A", "B", "C", "D", "E"})
            open(name);
        QCOMPARE(paths(GeneralOptions),
                 QStringList({table("E"), table("D"), table("C"), table("B")}));
        open("C");
        QCOMPARE(paths(GeneralOptions),
                 QStringList({table("C"), table("E"), table("D"), table("B")}));
        open("C");
        QCOMPARE(paths(GeneralOptions),
                 QStringList({table("C"), table("E"), table("D"), table("B")}));
        QCOMPARE(GeneralOptions.Recent[0].DisplayText, QStringLiteral("C [Latein]"));
        QCOMPARE(changes, 7);

        // The file holds what memory holds.
        TGeneralOptionsRec stored;
        QVERIFY(stored.load(GeneralOptionsFile()));
        QCOMPARE(paths(stored), paths(GeneralOptions));
        QCOMPARE(stored.Recent[1].DisplayText, QStringLiteral("E [Latein]"));
    }

    // Slots beyond the count may hold old paths; they neither match nor let the
    // count drop below zero.
    void unusedSlotsAreNotCompared() {
        TGeneralOptionsRec options;
        options.Recent[0] = {table("A"), "A [Latein]"};
        options.Recent[1] = {table("B"), "B [Latein]"};
        options.RecentCount = 0;
        AddRecentEntry(options, table("A"), "A", "Latein");
        QCOMPARE(options.RecentCount, 1);
        QCOMPARE(paths(options), QStringList({table("A")}));

        options.RecentCount = 1;
        AddRecentEntry(options, table("B"), "B", "Latein");
        QCOMPARE(paths(options), QStringList({table("B"), table("A")}));

        options.RecentCount = -3; // a damaged count in memory
        AddRecentEntry(options, table("C"), "C", "Latein");
        QCOMPARE(paths(options), QStringList({table("C")}));
    }

    // What another window wrote to "gruopt.dat" survives, and the other
    // settings in memory stay as they are.
    void fileIsReadAgainBeforeWriting() {
        TGeneralOptionsRec elsewhere;
        elsewhere.AkzAkt = true;
        elsewhere.Recent[0] = {table("X"), "X [Latein]"};
        elsewhere.RecentCount = 1;
        QVERIFY(elsewhere.save(GeneralOptionsFile()));
        GeneralOptions.cbdopp = true;

        open("A");
        TGeneralOptionsRec stored;
        QVERIFY(stored.load(GeneralOptionsFile()));
        QVERIFY(stored.AkzAkt);
        QVERIFY(!stored.cbdopp);
        QCOMPARE(paths(stored), QStringList({table("A"), table("X")}));
        QCOMPARE(paths(GeneralOptions), paths(stored));
        QVERIFY(GeneralOptions.cbdopp);
    }

    void menuShowsExistingDatabasesOnly() {
        for (const char* name : {"A", "B", "C", "D"}) {
            touch(table(name));
            open(name);
        }
        QFile::remove(table("C"));
        QAction mit1(nullptr), mit2(nullptr), mit3(nullptr), mit4(nullptr), separator(nullptr);
        const std::array<QAction*, 4> items{&mit1, &mit2, &mit3, &mit4};
        RebuildRecentFilesMenu(items, &separator);
        QCOMPARE(mit1.text(), QStringLiteral("&1 D [Latein]"));
        QCOMPARE(mit2.text(), QStringLiteral("&2 B [Latein]"));
        QCOMPARE(mit3.text(), QStringLiteral("&3 A [Latein]"));
        QVERIFY(mit1.isVisible() && mit3.isVisible());
        QVERIFY(!mit4.isVisible());
        QVERIFY(separator.isVisible());
        QCOMPARE(mit2.objectName(), QStringLiteral("mit2"));
        QCOMPARE(RecentItemSlot(items, &mit3), 3);
        QCOMPARE(RecentItemSlot(items, &separator), 0);
        QCOMPARE(RecentDatabasePath(2), table("B"));
        QCOMPARE(RecentDatabasePath(4), QString());

        // The file still lists C until the next database is recorded.
        TGeneralOptionsRec stored;
        QVERIFY(stored.load(GeneralOptionsFile()));
        QCOMPARE(stored.RecentCount, 4);

        for (const char* name : {"A", "B", "D"})
            QFile::remove(table(name));
        RebuildRecentFilesMenu(items, &separator);
        QVERIFY(!mit1.isVisible());
        QVERIFY(!separator.isVisible());
    }

    void failedWriteIsReported() {
        QFile::remove(dir->filePath("data"));
        QDir(dir->filePath("data")).removeRecursively();
        touch(dir->filePath("data")); // a file where the folder should be
        QVERIFY(!AddRecentDatabase(table("A"), "A", "Latein"));
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(paths(GeneralOptions), QStringList({table("A")}));
    }
};

QTEST_MAIN(TestRecentDatabases)
#include "tst_recentdatabases.moc"
