#include "platform/messagebox.h"
#include "platform/recordimage.h"
#include "platform/registry.h"
#include "platform/safefile.h"
#include "support/filesizelimit.h"
#include "support/testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace platform;

class TestRecordImage : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        boxes.clear();
        setMessageBoxHandler([this](const MessageBoxRequest& r) {
            boxes << r;
            return Answer::Ok;
        });
    }
    void cleanup() { setMessageBoxHandler({}); }

    void integersAreLittleEndian() {
        QByteArray image(8, '\xEE');
        writeInt32(image, 2, -2);
        QCOMPARE(image, QByteArray("\xEE\xEE\xFE\xFF\xFF\xFF\xEE\xEE", 8));
        QCOMPARE(readInt32(image, 2), -2);
        writeInt32(image, 2, 0x01020304);
        QCOMPARE(image.mid(2, 4), QByteArray("\x04\x03\x02\x01", 4));
    }

    void aTrueIsAlwaysWrittenAsOne() {
        QByteArray image("\x00\x07\xFF", 3);
        QVERIFY(!readBool(image, 0));
        QVERIFY(readBool(image, 1));
        QVERIFY(readBool(image, 2));
        writeBool(image, 1, true);
        QCOMPARE(image.at(1), '\x01');
        writeBool(image, 2, false);
        writeBool(image, 0, true);
        QCOMPARE(image, QByteArray("\x01\x01\x00", 3));
    }

    void lengthByteAboveTheCapacityReadsAsTheCapacity() {
        // Field of capacity 4 followed by a neighbour's bytes.
        QByteArray image("\xC8"
                         "abcdXYZ",
                         8);
        QCOMPARE(readShortBytes(image, 0, 4), QByteArray("abcd"));
        QCOMPARE(readShortString(image, 0, 4), QStringLiteral("abcd"));
        // Writing the same text back puts the length byte right and leaves
        // the neighbour alone.
        writeShortString(image, 0, 4, QStringLiteral("abcd"));
        QCOMPARE(image, QByteArray("\x04"
                                   "abcdXYZ",
                                   8));
    }

    void unchangedStringKeepsItsBytes() {
        // Leftovers behind the text of an untouched field stay as they were.
        QByteArray image("\x02"
                         "ab\x99\x98"
                         "Z",
                         6);
        const QByteArray before = image;
        writeShortString(image, 0, 4, QStringLiteral("ab"));
        QCOMPARE(image, before);
        writeShortBytes(image, 0, 4, "ab");
        QCOMPARE(image, before);
    }

    void changedStringClearsTheRestOfItsField() {
        QByteArray image("\x04"
                         "abcd"
                         "Z",
                         6);
        writeShortString(image, 0, 4, QStringLiteral("x"));
        QCOMPARE(image, QByteArray("\x01"
                                   "x\0\0\0"
                                   "Z",
                                   6));
        // Cut at the capacity, never into the next field.
        writeShortString(image, 0, 4, QStringLiteral("zu lang"));
        QCOMPARE(image, QByteArray("\x04"
                                   "zu l"
                                   "Z",
                                   6));
        writeShortString(image, 0, 4, QString());
        QCOMPARE(image, QByteArray("\x00\0\0\0\0"
                                   "Z",
                                   6));
    }

    void stringsAreEightBitStoredText() {
        QByteArray image(6, '\0');
        writeShortString(image, 0, 5, QStringLiteral("Grüße"));
        QCOMPARE(image, QByteArray("\x05Gr\xFC\xDF"
                                   "e",
                                   6));
        QCOMPARE(readShortString(image, 0, 5), QStringLiteral("Grüße"));
    }

    void readingAMissingOrShortFile() {
        QCOMPARE(readRecordFile(dir.filePath("fehlt.dat"), 10), QByteArray());
        QCOMPARE(readRecordFile(QString(), 10), QByteArray());
        QFile file(dir.filePath("kurz.dat"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("abcdef");
        file.close();
        QCOMPARE(readRecordFile(file.fileName(), 4), QByteArray("abcd"));
        QCOMPARE(readRecordFile(file.fileName(), 10), QByteArray("abcdef"));
    }

    // A FIFO, a device or a folder where a settings file or the registry is
    // expected reads as a missing file: no wait, no endless zeros.
    void settingsThatAreNoRegularFilesReadAsMissing() {
        FifoGuard fifos;
        const QString fifo = dir.filePath("pipe/rec.dat");
        fifos.make(fifo);
        const QString zeros = dir.filePath("zero.dat");
        QVERIFY(QFile::link("/dev/zero", zeros));
        writeFile(dir.filePath("echt.dat"), "abcdef");
        const QString linked = dir.filePath("verweis.dat");
        QVERIFY(QFile::link(dir.filePath("echt.dat"), linked));

        QCOMPARE(readRecordFile(fifo, 10), QByteArray());
        QCOMPARE(readRecordFile(zeros, 10), QByteArray());
        QCOMPARE(readRecordFile(dir.path(), 10), QByteArray());
        QCOMPARE(readRecordFile(linked, 10), QByteArray("abcdef"));

        // Copies (a per-language settings file made from the general one)
        // refuse them the same way and leave no target behind.
        QString error;
        {
            FileSizeLimit endless(1 << 20); // endless zeros would fill the disk
            QVERIFY(!copyWholeFile(fifo, dir.filePath("kopie.dat"), &error));
            QVERIFY(!copyWholeFile(zeros, dir.filePath("kopie.dat"), &error));
        }
        QVERIFY(error.contains("zero.dat"));
        QVERIFY(!QFileInfo::exists(dir.filePath("kopie.dat")));

        const QString before = registryFile();
        setRegistryFile(fifo);
        const QString key = "HKEY_LOCAL_MACHINE\\Software\\Orvitec\\Orvilex";
        QCOMPARE(readRegistryString(key, "dir"), QString());
        QVERIFY(!registryKeyExists(key));
        QVERIFY(!writeRegistryString(key, "dir", "/opt/orvilex"));
        setRegistryFile(before);
        QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
        QVERIFY(!fifos.waitedFor());
        QVERIFY(boxes.isEmpty());
    }

    void savingCreatesTheFolderAndReplacesTheFile() {
        const QString path = dir.filePath("neu/data/rec.dat");
        QVERIFY(saveRecordFile(path, "alt"));
        QVERIFY(saveRecordFile(path, "neu"));
        QCOMPARE(readRecordFile(path, 10), QByteArray("neu"));
        QVERIFY(boxes.isEmpty());
    }

    void failedSaveIsReportedAndReturnsFalse_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("folder");
        // A file stands where the folder should be.
        QTest::newRow("Ordner ist eine Datei")
            << QStringLiteral("blockiert/rec.dat") << int(RecordFolder::Create);
        QTest::newRow("Ordner fehlt")
            << QStringLiteral("fehlt/rec.dat") << int(RecordFolder::MustExist);
        QTest::newRow("kein Name") << QString() << int(RecordFolder::Create);
    }
    void failedSaveIsReportedAndReturnsFalse() {
        QFETCH(QString, path);
        QFETCH(int, folder);
        QFile blocker(dir.filePath("blockiert"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString full = path.isEmpty() ? QString() : dir.filePath(path);

        QVERIFY(!saveRecordFile(full, "daten", RecordFolder(folder)));
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].caption, QStringLiteral("Fehler"));
        QCOMPARE(boxes[0].icon, Icon::Error);
        QVERIFY(boxes[0].text.startsWith(QStringLiteral("Die Einstellungen konnten nicht")));
        QVERIFY(boxes[0].text.contains(QStringLiteral("„%1“").arg(full)));
        // MustExist never creates the folder.
        QVERIFY(!QFileInfo::exists(dir.filePath("fehlt")));
        QVERIFY(QFileInfo(dir.filePath("blockiert")).isFile()); // left as it was
    }

  private:
    QTemporaryDir dir;
    QList<MessageBoxRequest> boxes;
};

QTEST_MAIN(TestRecordImage)
#include "tst_recordimage.moc"
