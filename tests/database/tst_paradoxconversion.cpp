// Paradox tables of the older engine, written with pxlib's own writer, become
// tables of this engine: every field kept, nothing half-done on refusal.
#include "database/paradoxconversion.h"
#include "database/paradoxtable.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "platform/codec.h"
#include "support/filesizelimit.h"
#include "support/limitedfilesystem.h"
#include "support/paradoxwriter.h"
#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// Room for bytes that end right before a page that cannot be read: a read
// past their end stops the test at once instead of reading what lies behind.
class GuardedBytes {
  public:
    explicit GuardedBytes(qsizetype capacity) {
        const qsizetype page = sysconf(_SC_PAGESIZE);
        span_ = (capacity / page + 2) * page;
        void* memory = mmap(nullptr, size_t(span_), PROT_READ | PROT_WRITE,
                            MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED) qFatal("no memory for the guarded bytes");
        memory_ = static_cast<char*>(memory);
        guard_ = memory_ + span_ - page;
        mprotect(guard_, size_t(page), PROT_NONE);
    }
    ~GuardedBytes() { munmap(memory_, size_t(span_)); }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;

    // The first `length` bytes, placed to end at the guard.
    QByteArray place(const QByteArray& bytes, qsizetype length) {
        char* start = guard_ - length;
        std::memcpy(start, bytes.constData(), size_t(length));
        return QByteArray::fromRawData(start, length);
    }

  private:
    char* memory_ = nullptr;
    char* guard_ = nullptr;
    qsizetype span_ = 0;
};

QByteArray bytesFrom(int first, int last) {
    QByteArray bytes;
    for (int b = first; b <= last; ++b)
        bytes.append(char(b));
    return bytes;
}

QByteArray readAll(const QString& path) {
    return readFile(path);
}

// Every entry of a folder, hidden ones too.
QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Records with keys that have gaps, every 8-bit code from 0x80 to 0xFF,
// empty fields, both Booleans and the limits of the counters.
QList<paradox::Row> sampleRows() {
    paradox::Row first = paradox::word(1, "001A1", bytesFrom(0x80, 0xe3),
                                       "Bedeutung\r\nzweite Zeile " + bytesFrom(0xe4, 0xff));
    first[4] = QByteArray("amo");
    first[9] = QByteArray("amabor");
    first[10] = QByteArray("amoris");
    first[11] = QByteArray("m.");
    first[12] = 1;
    first[13] = QByteArray("Bemerkung mit \"Anf\xfchrung\"");
    first[14] = 5;
    first[15] = 32767;
    first[16] = -3;
    first[17] = 2;
    first[18] = true;
    first[19] = true;
    paradox::Row empty = paradox::word(2, "001A1", QByteArray(), QByteArray());
    for (int f = 12; f < 20; ++f)
        empty[f] = QVariant(); // counters and flags left empty as well
    paradox::Row trailing = paradox::word(5, "002B1", "  blanks  ", "x");
    trailing[19] = true;
    const paradox::Row last = paradox::word(40, "999Z9", "vidi", "sah");
    return {first, empty, trailing, last};
}

} // namespace

class TestParadoxConversion : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QString folder;

    QString writeVocabulary(const QString& name, const QList<paradox::Row>& rows,
                            qint32 autoIncrement = 0) {
        const QString table = folder + "/" + name + ".ol";
        if (!paradox::writeTable(table, paradox::vocabularyFields(), rows,
                                 folder + "/" + name + ".px", autoIncrement))
            return QString();
        return table;
    }

    // Refused: the files stay byte for byte, and nothing else is left.
    void verifyRefused(const QString& table, const QString& messagePart) {
        const QStringList before = filesIn(folder);
        const QByteArray bytes = readAll(table);
        const ParadoxConversion result = ConvertParadoxTableInPlace(table);
        QVERIFY(!result.converted);
        QVERIFY2(result.error.contains(messagePart), qPrintable(result.error));
        QCOMPARE(readAll(table), bytes);
        QCOMPARE(filesIn(folder), before);
    }

  private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        folder = dir->filePath("Latein");
        QVERIFY(QDir().mkpath(folder));
    }

    void theWriterUsesTheEngineFieldWidths() {
        const QString table = folder + "/Engine.ol";
        engine::Query q;
        CreateVocabularyTable(q, table);
        q.clearSql();
        q.addSql("SELECT * FROM " + engine::quoteLiteral(table));
        q.open();
        const QVector<paradox::Field> fields = paradox::vocabularyFields();
        QCOMPARE(q.fieldNames().size(), fields.size());
        for (int f = 0; f < fields.size(); ++f) {
            QCOMPARE(q.fieldNames().at(f), QString::fromLatin1(fields[f].name));
            if (fields[f].type == pxfAlpha)
                QCOMPARE(q.fieldWidth(fields[f].name), fields[f].length);
        }
        q.close();
        engine::releaseTable(table);
        QVERIFY(!IsParadoxTableFile(table));
    }

    // Where the file system has no hard links (a FUSE or FAT disk), the
    // original is kept by a whole copy before the converted table takes its
    // name.
    void everyFieldIsConvertedAndTheOriginalKept_data() {
        QTest::addColumn<bool>("withoutLinks");
        QTest::addRow("usual file system") << false;
        QTest::addRow("no hard links") << true;
    }
    void everyFieldIsConvertedAndTheOriginalKept() {
        QFETCH(bool, withoutLinks);
        const QList<paradox::Row> rows = sampleRows();
        const QString table = writeVocabulary("Caesar", rows, 57);
        QVERIFY(!table.isEmpty());
        QVERIFY(IsParadoxTableFile(table));
        const QByteArray original = readAll(table);
        const QByteArray index = readAll(folder + "/Caesar.px");
        QVERIFY(!index.isEmpty());

        ParadoxConversion result;
        {
            LimitedFileSystem fuse(withoutLinks ? LimitedFileSystem::NoLinks : 0);
            result = ConvertParadoxTableInPlace(table);
        }
        QVERIFY2(result.converted, qPrintable(result.error));
        QVERIFY(result.notice.contains("\"Caesar.ol.paradox\" (mit \"Caesar.px.paradox\")"));
        QCOMPARE(filesIn(folder),
                 QStringList({"Caesar.ol", "Caesar.ol.paradox", "Caesar.px.paradox"}));
        QCOMPARE(readAll(folder + "/Caesar.ol.paradox"), original);
        QCOMPARE(readAll(folder + "/Caesar.px.paradox"), index);

        engine::Query q;
        q.addSql("SELECT * FROM " + engine::quoteLiteral(table));
        q.open();
        QCOMPARE(q.recordCount(), rows.size());
        for (int r = 0; r < rows.size(); ++r, q.next())
            for (int f = 0; f < VokabelFieldCount; ++f)
                QCOMPARE(q.value(VokabelFieldNames().at(f)),
                         paradox::convertedValue(f, rows[r].value(f)));
        // The bytes of every text come back unchanged.
        q.first();
        QCOMPARE(platform::codec::toBytes(q.asString("Fremdwort")), bytesFrom(0x80, 0xe3));

        // Keys are never given twice: the counter of the old table goes on.
        q.append();
        q.setValue("Fremdwort", "neu");
        q.post();
        QCOMPARE(q.currentId(), qint64(58));
        q.close();
        engine::releaseTable(table);

        // Converted once: a second run finds nothing to do.
        const ParadoxConversion again = ConvertParadoxTableInPlace(table);
        QVERIFY(!again.converted);
        QVERIFY(again.error.isEmpty());
    }

    void aLargerTableOverManyBlocks() {
        QList<paradox::Row> rows;
        for (int i = 0; i < 3000; ++i)
            rows << paradox::word(i * 2 + 1, "001A1", "wort" + QByteArray::number(i), "x");
        const QString table = writeVocabulary("Gross", rows);
        QVERIFY(ConvertParadoxTableInPlace(table).converted);
        engine::Query q;
        q.addSql("SELECT * FROM " + engine::quoteLiteral(table) + " WHERE ID = 5999");
        q.open();
        QCOMPARE(q.asString("Fremdwort"), QStringLiteral("wort2999"));
        q.close();
        q.clearSql();
        q.addSql("SELECT * FROM " + engine::quoteLiteral(table));
        q.open();
        QCOMPARE(q.recordCount(), 3000);
        q.close();
        engine::releaseTable(table);
    }

    // The engine writes the new table under a hidden name; a full disk is
    // reported with the table's own name, and nothing is left behind. A file
    // without a name is never "named" by the table's name.
    void fullDiskNamesTheTable() {
        QList<paradox::Row> rows;
        for (int i = 0; i < 3000; ++i)
            rows << paradox::word(i + 1, "001A1", "wort" + QByteArray::number(i), "x");
        const QString table = writeVocabulary("Caesar", rows);
        const QStringList before = filesIn(folder);
        const QByteArray bytes = readAll(table);
        ParadoxConversion result;
        {
            FileSizeLimit full(32 * 1024);
            result = ConvertParadoxTableInPlace(table);
        }
        QVERIFY(!result.converted);
        QVERIFY2(result.error.endsWith(": Caesar.ol"), qPrintable(result.error));
        QVERIFY2(!result.error.contains(".tmp"), qPrintable(result.error));
        QCOMPARE(readAll(table), bytes);
        QCOMPARE(filesIn(folder), before);
        QString message;
        try {
            WriteConvertedTable(table, QString(), "Caesar.ol");
        } catch (const std::exception& error) {
            message = QString::fromUtf8(error.what());
        }
        QVERIFY(!message.isEmpty());
        QVERIFY2(!message.contains("Caesar.ol"), qPrintable(message));
    }

    void keptNamesNeverReplaceEarlierOriginals() {
        const QString table = writeVocabulary("Caesar", sampleRows());
        QVERIFY(ConvertParadoxTableInPlace(table).converted);
        engine::releaseTable(table);
        // A Paradox table of the same name comes again (an old backup restored).
        QVERIFY(QFile::remove(table));
        QVERIFY(!writeVocabulary("Caesar", sampleRows().mid(0, 1)).isEmpty());
        const ParadoxConversion second = ConvertParadoxTableInPlace(table);
        QVERIFY(second.converted);
        QVERIFY(second.notice.contains("\"Caesar.ol.paradox-2\" (mit \"Caesar.px.paradox-2\")"));
        QCOMPARE(filesIn(folder),
                 QStringList({"Caesar.ol", "Caesar.ol.paradox", "Caesar.ol.paradox-2",
                              "Caesar.px.paradox", "Caesar.px.paradox-2"}));
        engine::releaseTable(table);
    }

    // The index of a database named in other case is not this table's.
    void anotherDatabasesIndexStays() {
        const QString other = writeVocabulary("caesar", sampleRows());
        const QString table = writeVocabulary("Caesar", sampleRows());
        QVERIFY(QFile::remove(folder + "/Caesar.px"));
        const QByteArray index = readAll(folder + "/caesar.px");
        const ParadoxConversion result = ConvertParadoxTableInPlace(table);
        QVERIFY(result.converted);
        QVERIFY2(!result.notice.contains("(mit"), qPrintable(result.notice));
        QCOMPARE(readAll(folder + "/caesar.px"), index);
        QVERIFY(IsParadoxTableFile(other));
        engine::releaseTable(table);
    }

    // Text of a table stored under a DOS code page comes in the Windows code
    // page of its script, as the older engine read it; text of a Windows
    // code page stays as it is; a code page without a mapping is refused.
    void textFollowsTheCodePageOfTheHeader_data() {
        QTest::addColumn<int>("codePage");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QByteArray>("stored"); // null: refused
        QTest::newRow("437") << 437 << QByteArray("M\x84nner T\x81r \xE1\xC4")
                             << QByteArray("M\xE4nner T\xFCr \xDF?");
        QTest::newRow("850") << 850 << QByteArray("\x8E\x99\x9A \x9D\xB7\xD0")
                             << QByteArray("\xC4\xD6\xDC \xD8\xC0\xF0");
        QTest::newRow("1252") << 1252 << QByteArray("M\xE4nner \x80\x84")
                              << QByteArray("M\xE4nner \x80\x84");
        QTest::newRow("737 Greek")
            << 737 << QByteArray("\x98\x99\xE1") << QByteArray("\xE1\xE2\xDC");
        QTest::newRow("862 Hebrew")
            << 862 << QByteArray("\x80\x81\x9A") << QByteArray("\xE0\xE1\xFA");
        QTest::newRow("866 refused") << 866 << QByteArray("\x80") << QByteArray();
    }
    void textFollowsTheCodePageOfTheHeader() {
        QFETCH(int, codePage);
        QFETCH(QByteArray, written);
        QFETCH(QByteArray, stored);
        const QString table = folder + "/Wörter.ol";
        QVERIFY(paradox::writeTable(table, paradox::vocabularyFields(),
                                    {paradox::word(1, "001A1", written, "x " + written)}, QString(),
                                    0, codePage));
        if (stored.isNull()) {
            verifyRefused(table, QStringLiteral("in der Codeseite %1 gespeichert").arg(codePage));
            return;
        }
        const ParadoxConversion result = ConvertParadoxTableInPlace(table);
        QVERIFY2(result.converted, qPrintable(result.error));
        engine::Query q;
        q.addSql("SELECT * FROM " + engine::quoteLiteral(table));
        q.open();
        QCOMPARE(platform::codec::toBytes(q.asString("Fremdwort")), stored);
        QCOMPARE(platform::codec::toBytes(q.asString("Uebersetzung")), "x " + stored);
        q.close();
        engine::releaseTable(table);
    }

    void foreignSchemasAreRefused() {
        const QString other = folder + "/Adressen.ol";
        QVERIFY(paradox::writeTable(
            other, {{"ID", pxfAutoInc, 4}, {"Name", pxfAlpha, 40}, {"Ort", pxfAlpha, 40}},
            {{1, QByteArray("Anna"), QByteArray("Bonn")}}));
        verifyRefused(other, "keine Vokabeltabelle");

        // Twenty fields, but a counter held as text.
        QVector<paradox::Field> fields = paradox::vocabularyFields();
        fields[12] = {"Wortart", pxfAlpha, 2};
        const QString wrongType = folder + "/Typ.ol";
        paradox::Row row = paradox::word(1, "001A1", "a", "b");
        row[12] = QByteArray("14");
        QVERIFY(paradox::writeTable(wrongType, fields, {row}));
        verifyRefused(wrongType, "keine Vokabeltabelle");
    }

    void widerTextFieldsConvertWhileTheirTextsFit() {
        QVector<paradox::Field> fields = paradox::vocabularyFields();
        fields[2] = {"Fremdwort", pxfAlpha, 120};
        const QString fits = folder + "/Breit.ol";
        QVERIFY(paradox::writeTable(fits, fields, {paradox::word(1, "001A1", "kurz", "b")}));
        QVERIFY(ConvertParadoxTableInPlace(fits).converted);
        engine::releaseTable(fits);

        const QString tooLong = folder + "/Lang.ol";
        QVERIFY(paradox::writeTable(tooLong, fields,
                                    {paradox::word(1, "001A1", QByteArray(110, 'a'), "b")}));
        verifyRefused(tooLong, "länger ist als das Feld erlaubt");
    }

    void damagedTablesAreRefused() {
        QList<paradox::Row> rows;
        for (int i = 0; i < 50; ++i)
            rows << paradox::word(i + 1, "001A1", "w", "x");
        const QString table = writeVocabulary("Kaputt", rows);
        const QByteArray good = readAll(table);

        const auto refusedWith = [&](const QByteArray& bytes) {
            QFile file(table);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
            file.close();
            verifyRefused(table, "beschädigt");
        };
        refusedWith(good.left(good.size() / 2)); // cut short
        refusedWith(good.left(100));             // inside the header
        // Cut at any length, the table is refused without a byte read past
        // the end of the file.
        GuardedBytes guarded(good.size());
        for (int length = 0; length < good.size(); ++length) {
            QString error;
            try {
                ReadParadoxVocabulary(guarded.place(good, length), "Kaputt.ol",
                                      [](const QVariantList&) {});
            } catch (const ParadoxTableError& e) {
                error = e.message();
            }
            QVERIFY2(error.contains("beschädigt"), qPrintable(QString::number(length)));
        }
        QByteArray count = good;
        count[0x08] = char(0x7f); // far more records than blocks
        refusedWith(count);
        QByteArray loop = good;
        const int headerSize = quint8(good[2]) | quint8(good[3]) << 8;
        loop[headerSize] = 1; // the first block names itself as the next one
        loop[headerSize + 1] = 0;
        refusedWith(loop);
        QByteArray fieldCount = good;
        fieldCount[0x21] = char(0xff); // a field list beyond the header
        refusedWith(fieldCount);
        QByteArray duplicate = good;
        // The second record's key becomes the first one's.
        const int recordSize = quint8(good[0]) | quint8(good[1]) << 8;
        const int firstRecord = headerSize + 6;
        duplicate.replace(firstRecord + recordSize, 4, good.mid(firstRecord, 4));
        refusedWith(duplicate);
        // A table of version 4 whose name fills its 79 bytes without a
        // closing zero, the field names right behind it. The name follows the
        // field list (2 bytes a field), its pointer and one pointer (4 bytes)
        // a field; pxlib's table gives it the 261 bytes of version 7.
        QByteArray unterminated = good;
        unterminated[0x39] = 0x09;
        const int nameAt = 0x78 + 6 * VokabelFieldCount + 4;
        unterminated.remove(nameAt, 261);
        unterminated.insert(nameAt, QByteArray(79, 'x'));
        unterminated.insert(headerSize - (261 - 79), QByteArray(261 - 79, '\0'));
        refusedWith(unterminated);
    }
};

QTEST_GUILESS_MAIN(TestParadoxConversion)
#include "tst_paradoxconversion.moc"
