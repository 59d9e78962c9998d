#include "database/generaloptions.h"
#include "platform/folders.h"
#include "platform/messagebox.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

void putString(QByteArray& image, int offset, const QByteArray& bytes) {
    image[offset] = static_cast<char>(bytes.size());
    for (int i = 0; i < bytes.size(); ++i)
        image[offset + 1 + i] = bytes[i];
}

void putInt(QByteArray& image, int offset, qint32 value) {
    qToLittleEndian<qint32>(value, image.data() + offset);
}

qint32 intAt(const QByteArray& image, int offset) {
    return qFromLittleEndian<qint32>(image.constData() + offset);
}

// A record as another copy of the program leaves it: flags, table cells, a
// size, two recent databases, a custom folder, and bytes in the unused ranges
// and behind the strings that nobody owns but must survive a rewrite.
QByteArray handBuiltRecord(qint32 count = 2) {
    QByteArray image(TGeneralOptionsRec::RecordSize, '\0');
    image[3] = 1;                                   // sza
    image[10] = 1;                                  // cbShortcutz
    image[13] = 1;                                  // rbVVCustom
    image[15] = '\x5A';                             // unused
    putString(image, 20 + 40 * 2 + 2 * 3, "\xE4");  // column 2, row 3: "ä"
    putString(image, 20 + 40 * 6 + 2 * 19, "\x80"); // column 6, row 19: "€"
    image[500] = '\x77';                            // unused
    putString(image, 818, "\x06");                  // size 6
    putString(image, 820, "reserviert");            // written back as read
    image[900] = '\x11';
    putString(image, 1076, "/home/anna/Latein/Caesar.ol");
    image[1076 + 200] = '\x33'; // behind the path's characters
    putString(image, 1076 + 256, "Caesar [Latein]");
    image[1076 + 600] = '\x44'; // unused part of slot 1
    putString(image, 1076 + 768,
              "C:\\\xDC"
              "bungen\\Grund.ol"); // older copy: Windows-1252
    putString(image, 1076 + 768 + 256, "Grund [Englisch]");
    putString(image, 7220, "/daten/Vokabeln");
    putInt(image, 8756, count);
    return image;
}

QString writeFile(const QString& folder, const QString& name, const QByteArray& bytes) {
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return QString();
    return path;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestGeneralOptions : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        QVERIFY(dir.isValid());
        messages.clear();
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
            messages << r;
            return platform::Answer::Ok;
        });
    }
    void cleanup() { platform::setMessageBoxHandler({}); }

    void readsEveryFieldAtItsOffset() {
        TGeneralOptionsRec rec;
        QVERIFY(rec.load(writeFile(dir.path(), "gruopt.dat", handBuiltRecord())));
        QVERIFY(rec.sza && rec.cbShortcutz && rec.rbVVCustom);
        QVERIFY(!rec.AkzAkt && !rec.szs && !rec.cbMehrZeichen && !rec.rbVVStandard);
        QCOMPARE(rec.UserCharTable[2][3], QStringLiteral("ä"));
        QCOMPARE(rec.UserCharTable[6][19], QStringLiteral("€"));
        QCOMPARE(rec.UserCharTable[0][0], QString());
        QCOMPARE(rec.charTableSize(), 6);
        QCOMPARE(rec.RecentCount, 2);
        QCOMPARE(rec.Recent[0].Path, QStringLiteral("/home/anna/Latein/Caesar.ol"));
        QCOMPARE(rec.Recent[0].DisplayText, QStringLiteral("Caesar [Latein]"));
        QCOMPARE(rec.Recent[1].Path, QStringLiteral("C:\\Übungen\\Grund.ol"));
        QCOMPARE(rec.CustomFolder, QStringLiteral("/daten/Vokabeln"));
    }

    void writesAnUnchangedRecordByteIdentical() {
        const QByteArray original = handBuiltRecord();
        TGeneralOptionsRec rec;
        QVERIFY(rec.load(writeFile(dir.path(), "in.dat", original)));
        const QString out = dir.filePath("out.dat");
        QVERIFY(rec.save(out));
        QCOMPARE(readFile(out), original);
        QVERIFY(messages.isEmpty());
    }

    void rewritingTheRecentSlotsKeepsEverythingElse() {
        const QByteArray original = handBuiltRecord();
        TGeneralOptionsRec rec;
        QVERIFY(rec.fromBytes(original));
        rec.Recent[0] = {QStringLiteral("/x/A.ol"), QStringLiteral("A [Latein]")};
        rec.Recent[2] = {QStringLiteral("/x/Ιλιάδα.ol"), QStringLiteral("Ιλιάδα [Griechisch]")};
        rec.RecentCount = 3;
        const QByteArray written = rec.toBytes();
        QCOMPARE(written.size(), TGeneralOptionsRec::RecordSize);

        // The shorter path leaves nothing of the old one behind.
        QCOMPARE(written.mid(1076, 9), QByteArray("\x07/x/A.ol\0", 9));
        QCOMPARE(written.mid(1076 + 8, 248), QByteArray(248, '\0'));
        QCOMPARE(intAt(written, 8756), 3);
        // Everything outside slots 1 to 3 and the count is as it was.
        for (int i = 0; i < TGeneralOptionsRec::RecordSize; ++i) {
            const bool owned = (i >= 1076 && i < 1076 + 512) ||
                               (i >= 1076 + 2 * 768 && i < 1076 + 2 * 768 + 512) || (i >= 8756);
            if (!owned && written[i] != original[i])
                QFAIL(qPrintable(QStringLiteral("byte %1 changed").arg(i)));
        }
        QCOMPARE(written[1076 + 600], '\x44');
        QCOMPARE(written.mid(7220, 16), QByteArray("\x0f/daten/Vokabeln"));

        // A name outside the 8-bit code page survives the round trip.
        TGeneralOptionsRec back;
        QVERIFY(back.fromBytes(written));
        QCOMPARE(back.Recent[2], rec.Recent[2]);
        QCOMPARE(back.Recent[1].Path, QStringLiteral("C:\\Übungen\\Grund.ol"));
    }

    void countIsClampedToTheFourSlots() {
        TGeneralOptionsRec rec;
        QVERIFY(rec.fromBytes(handBuiltRecord(9)));
        QCOMPARE(rec.RecentCount, 4);
        QCOMPARE(intAt(rec.toBytes(), 8756), 4);
        QVERIFY(rec.fromBytes(handBuiltRecord(-3)));
        QCOMPARE(rec.RecentCount, 0);
    }

    void missingOrShortFileLeavesTheRecordAsItWas() {
        TGeneralOptionsRec rec;
        rec.sza = true;
        rec.CustomFolder = QStringLiteral("/bleibt");
        QVERIFY(!rec.load(dir.filePath("fehlt.dat")));
        QVERIFY(!rec.load(writeFile(dir.path(), "kurz.dat", handBuiltRecord().left(8000))));
        QVERIFY(rec.sza);
        QCOMPARE(rec.CustomFolder, QStringLiteral("/bleibt"));
        QCOMPARE(rec.RecentCount, 0);
        QVERIFY(messages.isEmpty());

        // A fresh record is all off and writes zeros where nothing was set.
        const QByteArray fresh = TGeneralOptionsRec().toBytes();
        QCOMPARE(fresh, QByteArray(TGeneralOptionsRec::RecordSize, '\0'));
    }

    void badValuesAreReadSafely() {
        QByteArray image = handBuiltRecord();
        putString(image, 818, "\x08");
        image[20] = 5; // a cell claiming five characters
        image[21] = 'a';
        image[22] = 'b';
        TGeneralOptionsRec rec;
        QVERIFY(rec.fromBytes(image));
        QCOMPARE(rec.charTableSize(), 0);
        QCOMPARE(rec.UserCharTable[0][0], QStringLiteral("a"));
        putString(image, 818, "\x02");
        QVERIFY(rec.fromBytes(image));
        QCOMPARE(rec.charTableSize(), 0);
        rec.setCharTableSize(3);
        QCOMPARE(rec.toBytes().mid(818, 2), QByteArray("\x01\x03"));
    }

    void longPathsAreCutAtWholeCharacters() {
        TGeneralOptionsRec rec;
        const QString path = QStringLiteral("/") + QString(200, QChar(0x03B1)); // 401 bytes
        QVERIFY(!TGeneralOptionsRec::fitsPathField(path));
        rec.Recent[0].Path = path;
        TGeneralOptionsRec back;
        QVERIFY(back.fromBytes(rec.toBytes()));
        QCOMPARE(back.Recent[0].Path, path.left(128)); // 1 + 127 · 2 = 255 bytes
    }

    void failedWriteIsReported() {
        // "data" is a file, so the record cannot be written below it.
        QDir(dir.path()).mkdir("kaputt");
        writeFile(dir.path() + "/kaputt", "data", "kein Ordner");
        WorkDir = dir.path() + "/kaputt";
        GeneralOptions = TGeneralOptionsRec();
        GeneralOptions.sza = true;
        QVERIFY(!saveGeneralOptions());
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].caption, QStringLiteral("Fehler"));
        QVERIFY(messages[0].text.contains(QStringLiteral("gruopt.dat")));
    }

    void globalReadsAndWritesTheDataFolder() {
        QVERIFY(QDir(dir.path()).mkpath("gut/data"));
        WorkDir = dir.path() + "/gut";
        // An existing file in another spelling is the one used.
        const QString existing = writeFile(WorkDir + "/data", "GruOpt.DAT", handBuiltRecord());
        QCOMPARE(GeneralOptionsFile(), existing);
        QVERIFY(loadGeneralOptions());
        QVERIFY(GeneralOptions.cbShortcutz);
        GeneralOptions.cbShortcutz = false;
        QVERIFY(saveGeneralOptions());
        QCOMPARE(readFile(existing)[10], '\0');
        QCOMPARE(QDir(WorkDir + "/data").entryList(QDir::Files).size(), 1);
    }

  private:
    QTemporaryDir dir;
    QList<platform::MessageBoxRequest> messages;
};

QTEST_MAIN(TestGeneralOptions)
#include "tst_generaloptions.moc"
