#include "database/charsets.h"
#include "database/currentdatabase.h"
#include "database/databaseoptions.h"
#include "database/generaloptions.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/paths.h"
#include "support/testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <memory>

namespace {

void putString(QByteArray& image, int offset, const QByteArray& text) {
    image[offset] = static_cast<char>(text.size());
    for (int i = 0; i < text.size(); ++i)
        image[offset + 1 + i] = text[i];
}

void putInt(QByteArray& image, int offset, qint32 value) {
    qToLittleEndian<qint32>(value, image.data() + offset);
}

qint32 intAt(const QByteArray& image, int offset) {
    return qFromLittleEndian<qint32>(image.constData() + offset);
}

// The image a new database of the program writes, built field by field.
QByteArray newDatabaseImage(const QByteArray& language, const QByteArray& wordFont, int position,
                            qint32 wordSize, qint32 tableWordSize) {
    QByteArray image(176, '\0');
    putString(image, 0, language);
    putString(image, 31, "#" + QByteArray::number(position) + "#" + wordFont);
    putString(image, 62, "Times New Roman");
    putString(image, 93, wordFont);
    putString(image, 124, "Times New Roman");
    putInt(image, 156, wordSize);
    putInt(image, 160, 11);
    putInt(image, 164, tableWordSize);
    putInt(image, 168, 11);
    image[172] = 0;
    image[173] = 0;
    image[174] = 1;
    image[175] = 1;
    return image;
}

} // namespace

class TestDatabaseOptions : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QStringList boxes;

  private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        WorkDir = dir->path();
        boxes.clear();
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& request) {
            boxes << request.text;
            return platform::Answer::Ok;
        });
        GeneralOptions = TGeneralOptionsRec();
        DatabaseOptions = TDatabaseOptionsRec();
        DatabaseOptionFileReaders = {};
        CurrentLanguage.clear();
    }
    void cleanup() { platform::setMessageBoxHandler({}); }

    void newDatabaseImages_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("Latein") << "Latein"
                                << newDatabaseImage("Latein", "Times New Roman", 2, 18, 14);
        QTest::newRow("Griechisch")
            << "Griechisch" << newDatabaseImage("Griechisch", "Greek", 2, 18, 14);
        QTest::newRow("Hebräisch")
            << QStringLiteral("Hebräisch") << newDatabaseImage("Hebr\xE4isch", "Bwhebb", 2, 26, 20);
        QTest::newRow("Russisch") << "Russisch"
                                  << newDatabaseImage("Russisch", "Times New Roman", 16, 18, 14);
        QTest::newRow("Tschechisch")
            << "Tschechisch" << newDatabaseImage("Tschechisch", "Times New Roman", 18, 18, 14);
        QTest::newRow("Türkisch") << QStringLiteral("Türkisch")
                                  << newDatabaseImage("T\xFCrkisch", "Times New Roman", 11, 18, 14);
    }
    void newDatabaseImages() {
        QFETCH(QString, language);
        QFETCH(QByteArray, expected);
        TDatabaseOptionsRec rec = TDatabaseOptionsRec::forNewDatabase(language);
        const QString path = dir->filePath("Neu.opt");
        QVERIFY(rec.save(path));
        QCOMPARE(readFile(path), expected);
        // In memory the font has no prefix and reads back the same.
        TDatabaseOptionsRec back;
        QVERIFY(back.load(path));
        QCOMPARE(back.WordFont, rec.WordFont);
        QCOMPARE(back.CharsetPosition, rec.CharsetPosition);
        QCOMPARE(back.Language, language);
    }

    void defaultCharsetPositions() {
        for (const char* name : {"Tschechisch", "polnisch", "Rumänisch", "kroatisch"})
            QCOMPARE(TDatabaseOptionsRec::defaultCharsetPosition(QString::fromUtf8(name)), 18);
        QCOMPARE(TDatabaseOptionsRec::defaultCharsetPosition("russisch"), 16);
        QCOMPARE(TDatabaseOptionsRec::defaultCharsetPosition(QStringLiteral("türkisch")), 11);
        QCOMPARE(TDatabaseOptionsRec::defaultCharsetPosition("Spanisch"), 2);
        QCOMPARE(TDatabaseOptionsRec::defaultCharsetPosition("RUSSISCH"), 2);
        QCOMPARE(TDatabaseOptionsRec::forNewDatabase("Spanisch").wordCharset(), 1);
        QCOMPARE(TDatabaseOptionsRec::forNewDatabase("Russisch").wordCharset(), 204);
    }

    // The mark of "Zeichensatz auch in Übersetzungsfeldern verwenden".
    void translationCharsetMark() {
        QByteArray image = newDatabaseImage("Latein", "Arial", 10, 18, 14);
        putInt(image, 168, 1011);
        TDatabaseOptionsRec rec;
        QVERIFY(rec.fromBytes(image));
        QVERIFY(rec.CharsetInTranslation);
        QCOMPARE(rec.TableTranslationFontSize, 11);
        QCOMPARE(rec.translationCharset(), 161);

        putInt(image, 168, 11);
        QVERIFY(rec.fromBytes(image));
        QVERIFY(!rec.CharsetInTranslation);
        QCOMPARE(rec.TableTranslationFontSize, 11);
        QCOMPARE(rec.translationCharset(), 0);

        // Saving twice adds the mark once.
        rec.CharsetInTranslation = true;
        const QString path = dir->filePath("x.opt");
        QVERIFY(rec.save(path));
        QVERIFY(rec.save(path));
        QCOMPARE(intAt(readFile(path), 168), 1011);
        QCOMPARE(rec.TableTranslationFontSize, 11);
        // A size at the mark itself cannot be taken for the mark.
        rec.TableTranslationFontSize = 1500;
        rec.CharsetInTranslation = false;
        QVERIFY(rec.save(path));
        QVERIFY(rec.load(path));
        QVERIFY(!rec.CharsetInTranslation);
    }

    void charsetPrefixOnReading_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("font");
        QTest::newRow("#18#") << QByteArray("#18#Times New Roman") << 18 << "Times New Roman";
        QTest::newRow("no prefix") << QByteArray("Times New Roman") << 2 << "Times New Roman";
        QTest::newRow("position 0") << QByteArray("#0#Arial") << 2 << "Arial";
        QTest::newRow("position 20") << QByteArray("#20#Arial") << 2 << "Arial";
        QTest::newRow("negative") << QByteArray("#-3#Arial") << 2 << "Arial";
        QTest::newRow("no number") << QByteArray("#x#Arial") << 2 << "Arial";
        QTest::newRow("huge number") << QByteArray("#99999999999#Arial") << 2 << "Arial";
        QTest::newRow("one #") << QByteArray("#Arial") << 2 << "#Arial";
        QTest::newRow("only #") << QByteArray("#") << 2 << "#";
        QTest::newRow("twice") << QByteArray("#10##10#Greek") << 10 << "Greek";
        QTest::newRow("hexadecimal") << QByteArray("#$A#Greek") << 10 << "Greek";
        QTest::newRow("hexadecimal, no position") << QByteArray("#$A1#Font") << 2 << "Font";
        QTest::newRow("$ without digits") << QByteArray("#$#Arial") << 2 << "Arial";
    }
    void charsetPrefixOnReading() {
        QFETCH(QByteArray, stored);
        QFETCH(int, position);
        QFETCH(QString, font);
        QByteArray image = newDatabaseImage("Latein", "", 2, 18, 14);
        putString(image, 31, stored);
        TDatabaseOptionsRec rec;
        QVERIFY(rec.fromBytes(image));
        QCOMPARE(rec.CharsetPosition, position);
        QCOMPARE(rec.WordFont, font);
    }

    void charsetLists() {
        QCOMPARE(CharsetName(18), QStringLiteral("EASTEUROPE_CHARSET"));
        QCOMPARE(CharsetNumber(18), 238);
        QCOMPARE(CharsetNumber(10), 161);
        QCOMPARE(CharsetNumber(0), 1);
        QCOMPARE(CharsetNumber(20), 1);
        QCOMPARE(CharsetPositionOfNumber(177), 13);
        QCOMPARE(CharsetPositionOfNumber(5), 0);
        const QStringList names = CharsetNames();
        const QStringList numbers = CharsetNumberItems();
        QCOMPARE(names.size(), 19);
        QCOMPARE(numbers.size(), 20);
        QCOMPARE(numbers.first(), QStringLiteral("1"));
        // The visible list shows position p at p - 1, the hidden one at p.
        for (int p = 1; p <= 19; ++p) {
            QCOMPARE(names[p - 1], CharsetName(p));
            QCOMPARE(numbers[p].toInt(), CharsetNumber(p));
        }
        QCOMPARE(names[1], QStringLiteral("Standard (DEFAULT_CHARSET)"));
    }

    void splitOptionString() {
        QString s = "#18#Times New Roman";
        QCOMPARE(SplitOptionString(s, 30), 18);
        QCOMPARE(s, QStringLiteral("Times New Roman"));
        s = "Times New Roman";
        QCOMPARE(SplitOptionString(s, 30), 0);
        QCOMPARE(s, QStringLiteral("Times New Roman"));
        s = "#Times";
        QCOMPARE(SplitOptionString(s, 30), 0);
        QCOMPARE(s, QStringLiteral("#Times"));
        s = "#x#Times";
        QCOMPARE(SplitOptionString(s, 30), 0);
        QCOMPARE(s, QStringLiteral("Times"));
        s = "#$A1#Font";
        QCOMPARE(SplitOptionString(s, 30), 161);
        QCOMPARE(s, QStringLiteral("Font"));
        s = "#-$b#Font";
        QCOMPARE(SplitOptionString(s, 30), -11);
        s = "#$G#Font";
        QCOMPARE(SplitOptionString(s, 30), 0);
        QCOMPARE(s, QStringLiteral("Font"));
        s = "#2#Times New Roman";
        QCOMPARE(SplitOptionString(s, 5), 2);
        QCOMPARE(s, QStringLiteral("Times"));

        // A lone "#" ends the stripping instead of looping on it.
        s = "#Times";
        StripCharsetPrefixes(s);
        QCOMPARE(s, QStringLiteral("#Times"));
        s = "#2##18#Arial";
        StripCharsetPrefixes(s);
        QCOMPARE(s, QStringLiteral("Arial"));
        s = "#2";
        StripCharsetPrefixes(s);
        QCOMPARE(s, QStringLiteral("#2"));
    }

    // A long font name is cut so that prefix and name fit, in the file as in memory.
    void longFontNameFitsWithItsPrefix() {
        TDatabaseOptionsRec rec = TDatabaseOptionsRec::forNewDatabase("Polnisch");
        rec.WordFont = QString(40, QLatin1Char('F'));
        const QString path = dir->filePath("long.opt");
        QVERIFY(rec.save(path));
        QCOMPARE(rec.WordFont.size(), 26);
        TDatabaseOptionsRec back;
        QVERIFY(back.load(path));
        QCOMPARE(back.WordFont, rec.WordFont);
        QCOMPARE(back.CharsetPosition, 18);
    }

    void readingSetsTheCurrentDatabase() {
        const QString base = dir->filePath("Latein/Caesar");
        TDatabaseOptionsRec rec = TDatabaseOptionsRec::forNewDatabase("Latein");
        rec.CharsetPosition = 18;
        platform::ensureFolder(dir->filePath("Latein"));
        QVERIFY(rec.save(base + ".opt"));
        QVERIFY(ReadDatabaseOptions(base));
        QCOMPARE(CurrentLanguage, QStringLiteral("Latein"));
        QCOMPARE(CharsetIndex(), 18);
        QCOMPARE(WordFontCharset(), 238);

        CurrentDatabaseBase = base;
        DatabaseOptions.WordFontSize = 22;
        QVERIFY(WriteDatabaseOptions());
        QCOMPARE(intAt(readFile(base + ".opt"), 156), 22);
    }

    // Without an options file a database gets the values of a new database of
    // its folder's language, never those of the database open before.
    void missingOrShortOptionsFile() {
        DatabaseOptions = TDatabaseOptionsRec::forNewDatabase("Griechisch");
        CurrentLanguage = "Griechisch";
        const QString base = dir->filePath("Russisch/Tolstoi");
        platform::ensureFolder(dir->filePath("Russisch"));
        QVERIFY(!ReadDatabaseOptions(base));
        QCOMPARE(CurrentLanguage, QStringLiteral("Russisch"));
        QCOMPARE(DatabaseOptions.WordFont, QStringLiteral("Times New Roman"));
        QCOMPARE(CharsetIndex(), 16);

        writeFile(base + ".opt", QByteArray(100, 'x'));
        DatabaseOptions = TDatabaseOptionsRec::forNewDatabase("Griechisch");
        QVERIFY(!ReadDatabaseOptions(base));
        QCOMPARE(CurrentLanguage, QStringLiteral("Russisch"));
        QCOMPARE(CharsetIndex(), 16);
    }

    void failedWriteIsReported() {
        TDatabaseOptionsRec rec;
        QVERIFY(!rec.save(dir->filePath("no/such/folder/x.opt")));
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes.first().contains(QStringLiteral("nicht")));
    }

    void perLanguageSettingsFiles() {
        const QString data = dir->filePath("data");
        writeFile(data + "/Option.dat", "shared quiz");
        writeFile(data + "/AuswOpt.dat", "shared selection");
        int quizReads = 0, tableReads = 0;
        DatabaseOptionFileReaders.reloadQuizOptions = [&] { ++quizReads; };
        DatabaseOptionFileReaders.reloadCharTable = [&] { ++tableReads; };

        GeneralOptions.AbfJedAn = true;
        CurrentLanguage = "Latein";
        LoadDatabaseOptionFiles();
        QCOMPARE(QuizOptionsPath, data + "/Lateino.dat");
        QCOMPARE(readFile(QuizOptionsPath), QByteArray("shared quiz"));
        QCOMPARE(SelectionOptionsPath, data + "/AuswOpt.dat");
        QCOMPARE(CharTableOptionsPath, data + "/gruopt.dat");
        QCOMPARE(quizReads, 1);
        QCOMPARE(tableReads, 1);

        // An existing per-language file is never overwritten; two databases of
        // one language share it.
        writeFile(data + "/Lateino.dat", "own quiz");
        writeFile(data + "/Option.dat", "changed shared quiz");
        LoadDatabaseOptionFiles();
        QCOMPARE(readFile(data + "/Lateino.dat"), QByteArray("own quiz"));

        // All three per language; a missing shared file leaves the copy missing.
        GeneralOptions.AusJedAn = true;
        GeneralOptions.szs = true;
        LoadDatabaseOptionFiles();
        QCOMPARE(SelectionOptionsPath, data + "/Lateina.dat");
        QCOMPARE(readFile(SelectionOptionsPath), QByteArray("shared selection"));
        QCOMPARE(CharTableOptionsPath, data + "/LateinSz.dat");
        QVERIFY(!QFile::exists(CharTableOptionsPath));

        // A language never leads out of the data folder.
        CurrentLanguage = "../../Latein";
        LoadDatabaseOptionFiles();
        QCOMPARE(QFileInfo(QuizOptionsPath).absolutePath(), QFileInfo(data).absoluteFilePath());
    }

    void hebrewTest() {
        for (const char* language : {"Hebräisch", "hebräisch", "Hebraeisch", "hebraeisch"})
            QVERIFY(IsHebrewDatabase(QString::fromUtf8(language), "Arial"));
        QVERIFY(!IsHebrewDatabase(QStringLiteral("HEBRÄISCH"), "Arial"));
        QVERIFY(IsHebrewDatabase("Sonstige", "Bwhebb"));
        QVERIFY(!IsHebrewDatabase("Sonstige", "bwhebb"));

        CurrentLanguage = QStringLiteral("Hebräisch");
        QVERIFY(IsHebrewLanguage(false, true, true));
        QVERIFY(!IsHebrewLanguage(true, true, true));   // bulk change running
        QVERIFY(!IsHebrewLanguage(false, false, true)); // no lesson open
        QVERIFY(!IsHebrewLanguage(false, true, false)); // read-only result
    }
};

QTEST_MAIN(TestDatabaseOptions)
#include "tst_databaseoptions.moc"
