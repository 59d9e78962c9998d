#include "database/currentdatabase.h"
#include "database/generaloptions.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "quiz/selectionoptions.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <memory>

namespace {

qint32 intAt(const QByteArray& image, int offset) {
    return qFromLittleEndian<qint32>(image.constData() + offset);
}
void putInt(QByteArray& image, int offset, qint32 value) {
    qToLittleEndian<qint32>(value, image.data() + offset);
}

// A record whose every byte is different and not a plain 0 or 1.
QByteArray patternRecord() {
    QByteArray image(272, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>(0x40 + i % 50);
    return image;
}

LessonTreeNode node(const QString& number, const QString& text, const QStringList& children) {
    LessonTreeNode result{number, text, {}};
    for (const QString& child : children)
        result.children << LessonTreeChild{QString(), QString(), child};
    return result;
}

} // namespace

class TestSelectionOptions : public QObject {
    Q_OBJECT

    QStringList boxes;
    std::unique_ptr<QTemporaryDir> folder;
    QString path;

  private slots:
    void init() {
        boxes.clear();
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& request) {
            boxes << request.caption + QStringLiteral(": ") + request.text;
            return platform::Answer::Ok;
        });
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        WorkDir = folder->path();
        QDir(WorkDir).mkpath(QStringLiteral("data"));
        path = WorkDir + "/data/AuswOpt.dat";
        SelectionOptionsPath.clear();
        CurrentLanguage.clear();
        GeneralOptions = TGeneralOptionsRec();
    }
    void cleanup() { platform::setMessageBoxHandler({}); }

    void quizPartAtItsOffsets() {
        QByteArray image(272, '\0');
        image[237] = 1; // native → foreign
        image[239] = 1;
        image[241] = 1;
        image[244] = 1;
        image[246] = 1;
        putInt(image, 256, 2);
        putInt(image, 260, 20);
        putInt(image, 264, 80);
        putInt(image, 268, 55);
        writeFile(path, image);

        TSelectionOptionsRec record;
        QVERIFY(record.load(path));
        QCOMPARE(record.direction(), 2);
        QVERIFY(record.CheckBox1 && record.l && record.ss && record.cbgeni);
        QVERIFY(!record.sl && !record.n && !record.s && !record.cbgenus && !record.cbsf);
        QCOMPARE(record.ComboBox1, 2);
        QCOMPARE(record.SelStart, 20);
        QCOMPARE(record.SelEnd, 80);

        record.setDirection(3);
        record.cbsf = true;
        record.Position = 30;
        QVERIFY(record.save(path));
        const QByteArray written = readFile(path);
        QCOMPARE(written.size(), 272);
        QCOMPARE(written.mid(236, 12), QByteArray::fromHex("000001010001000001000101"));
        QCOMPARE(intAt(written, 268), 30);
        QCOMPARE(intAt(written, 264), 80);
    }

    void writingKeepsThePrintWindowsBytes() {
        writeFile(path, patternRecord());
        TSelectionOptionsRec record;
        QVERIFY(record.load(path)); // non-zero bytes read as ticked
        record.sl = false;
        record.ComboBox1 = 4;
        QVERIFY(record.save(path));
        const QByteArray written = readFile(path);
        QCOMPARE(written.left(236), patternRecord().left(236));
        QCOMPARE(written.mid(248, 8), patternRecord().mid(248, 8)); // unused, kept
        QCOMPARE(written[240], char(0));
        QCOMPARE(intAt(written, 256), 4);

        // A print-window write in between leaves the quiz filters as they are.
        QVERIFY(updateSelectionOptionsFile(path, [](QByteArray& image) {
            for (int i = 0; i < 236; ++i)
                image[i] = 0;
        }));
        TSelectionOptionsRec again;
        QVERIFY(again.load(path));
        QCOMPARE(again.ComboBox1, 4);
        QVERIFY(!again.sl);
        QCOMPARE(readFile(path).mid(236), written.mid(236));
        QVERIFY(boxes.isEmpty());
    }

    void missingOrShortFile() {
        TSelectionOptionsRec record;
        record.ComboBox1 = 5;
        record.sl = false;
        QVERIFY(!record.load(path));
        // Defaults: something can be asked at once.
        QCOMPARE(record.direction(), 1);
        QVERIFY(record.sl && record.l && record.n && record.s && record.ss);
        QVERIFY(!record.CheckBox1 && !record.cbgenus);
        QCOMPARE(record.ComboBox1, 0);
        QCOMPARE(record.SelStart, 0);
        QCOMPARE(record.SelEnd, 100);

        // Saving into a short file keeps what is there and fills the rest.
        writeFile(path, QByteArray(100, 'p'));
        QVERIFY(!record.load(path));
        QVERIFY(record.save(path));
        const QByteArray written = readFile(path);
        QCOMPARE(written.size(), 272);
        QCOMPARE(written.left(100), QByteArray(100, 'p'));
        QCOMPARE(written.mid(100, 136), QByteArray(136, '\0'));
        QCOMPARE(written[236], char(1));

        // No file at all: zeros for the print window's part.
        QFile::remove(path);
        QVERIFY(record.save(path));
        QCOMPARE(readFile(path).left(236), QByteArray(236, '\0'));
    }

    void valuesAreKeptInRange() {
        QByteArray image(272, '\0');
        image[236] = image[238] = 1; // two directions: the later one counts
        putInt(image, 256, 15);      // beyond "Sonstiges"
        putInt(image, 260, -5);
        putInt(image, 264, 400);
        TSelectionOptionsRec record;
        QVERIFY(record.fromBytes(image));
        QVERIFY(!record.RadioButton1 && record.RadioButton3);
        QCOMPARE(record.ComboBox1, 0);
        QCOMPARE(record.SelStart, 0);
        QCOMPARE(record.SelEnd, 100);
        image.fill('\0');
        QVERIFY(record.fromBytes(image));
        QCOMPARE(record.direction(), 1); // none stored: foreign → native
        QCOMPARE(TSelectionOptionsRec::WordClassItems().size(), 15);
    }

    void failedWriteIsReported() {
        writeFile(WorkDir + "/blocker", "x");
        QVERIFY(!TSelectionOptionsRec().save(WorkDir + "/blocker/AuswOpt.dat"));
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].startsWith(QStringLiteral("Fehler: Die Auswahleinstellungen")));
    }

    void perLanguageFile() {
        QCOMPARE(SelectionOptionsFileFor("Latein", true), WorkDir + "/data/Lateina.dat");
        writeFile(path, patternRecord());
        GeneralOptions.AusJedAn = true;
        CurrentLanguage = QStringLiteral("Latein");
        chooseSelectionOptionsPath();
        QCOMPARE(SelectionOptionsPath, WorkDir + "/data/Lateina.dat");
        QCOMPARE(readFile(SelectionOptionsPath), patternRecord());
        GeneralOptions.AusJedAn = false;
        chooseSelectionOptionsPath();
        QCOMPARE(SelectionOptionsPath, path);
    }

    void lessonMarksRoundTrip() {
        QList<bool> marks(250, false);
        marks[0] = marks[5] = marks[199] = marks[200] = marks[249] = true;
        QVERIFY(!LastSelectionExists("Vokabeln", "Latein"));
        QVERIFY(!readLastSelection(250, "Vokabeln", "Latein"));
        QVERIFY(writeLastSelection(marks, "Vokabeln", "Latein"));
        QVERIFY(LastSelectionExists("Vokabeln", "Latein"));

        const QString first = WorkDir + "/data/VokabelnLateinaw.dat";
        const QString all = WorkDir + "/data/VokabelnLateinaw2.dat";
        QCOMPARE(LastSelectionFile("Vokabeln", "Latein"), first);
        QCOMPARE(LastSelection2File("Vokabeln", "Latein"), all);
        const QByteArray firstBytes = readFile(first);
        const QByteArray allBytes = readFile(all);
        QCOMPARE(firstBytes.size(), 200);
        QCOMPARE(allBytes.size(), 10000);
        QCOMPARE(firstBytes[199], char(1));
        QCOMPARE(allBytes[249], char(1));
        QCOMPARE(allBytes.count(char(1)), 5);
        QCOMPARE(allBytes.mid(250), QByteArray(10000 - 250, '\0'));

        // Restored from aw2.dat: all 250 lines; on a shorter list only its lines.
        QCOMPARE(readLastSelection(250, "Vokabeln", "Latein"), std::optional(marks));
        QCOMPARE(readLastSelection(3, "Vokabeln", "Latein"), std::optional(marks.mid(0, 3)));
        QCOMPARE(readLastSelection(0, "Vokabeln", "Latein"), std::optional(QList<bool>()));

        // Without a whole aw2.dat the first 200 come from aw.dat.
        writeFile(all, allBytes.left(500));
        QCOMPARE(readLastSelection(250, "Vokabeln", "Latein"), std::optional(marks.mid(0, 200)));
        QFile::remove(all);
        QCOMPARE(readLastSelection(250, "Vokabeln", "Latein"), std::optional(marks.mid(0, 200)));
        // A short aw.dat gives its flags and unmarked lines after them.
        writeFile(first, QByteArray("\x01\x00\x01", 3));
        QCOMPARE(readLastSelection(5, "Vokabeln", "Latein"),
                 std::optional(QList<bool>({true, false, true, false, false})));
        // Another language of the same database has marks of its own.
        QVERIFY(!LastSelectionExists("Vokabeln", "Griechisch"));
        QVERIFY(boxes.isEmpty());
    }

    void lessonMarksOfADatabaseWhoseNameDiffersOnlyInCase() {
        const QString latin = WorkDir + "/Latein";
        QDir().mkpath(latin);
        writeFile(latin + "/Caesar.ol", "");
        const QString caesar = latin + "/Caesar";
        const QString oldFirst = WorkDir + "/data/caesarLateinaw.dat";
        const QString oldAll = WorkDir + "/data/caesarLateinaw2.dat";
        writeFile(oldFirst, QByteArray(200, '\1'));
        writeFile(oldAll, QByteArray(10000, '\1'));

        // Alone in its folder, "Caesar" takes the files written in another case.
        QCOMPARE(LastSelectionFile(caesar, "Latein"), oldFirst);
        QVERIFY(LastSelectionExists(caesar, "Latein"));

        // Beside a database "caesar" they are that one's: "Caesar" has none
        // yet, and its own marks leave the other's alone.
        writeFile(latin + "/caesar.ol", "");
        QVERIFY(!LastSelectionExists(caesar, "Latein"));
        QVERIFY(!readLastSelection(5, caesar, "Latein"));
        QVERIFY(writeLastSelection(QList<bool>{true, false}, caesar, "Latein"));
        QCOMPARE(LastSelectionFile(caesar, "Latein"), WorkDir + "/data/CaesarLateinaw.dat");
        QCOMPARE(LastSelection2File(caesar, "Latein"), WorkDir + "/data/CaesarLateinaw2.dat");
        QCOMPARE(readLastSelection(3, caesar, "Latein"),
                 std::optional(QList<bool>({true, false, false})));
        QCOMPARE(readFile(oldFirst), QByteArray(200, '\1'));
        QCOMPARE(readFile(oldAll), QByteArray(10000, '\1'));
        QCOMPARE(readLastSelection(3, latin + "/caesar", "Latein"),
                 std::optional(QList<bool>({true, true, true})));
        QVERIFY(boxes.isEmpty());
    }

    void listLinesFromTheLessonTree() {
        const LessonTree tree = {
            node("001", "Lektion 1", {"A 1 [Haus]", "B 2 []"}),
            node("012", "Lektion 12", {"B 2 [Zahlen]"}),
            node("123", "Lektion 123", {"C 3 []"}),
        };
        const QStringList lines = SelectionListLines(tree);
        QCOMPARE(lines,
                 QStringList({"  1 A1  [Haus]", "  1 B2  []", " 12 B2  [Zahlen]", "123 C3  []"}));
        QStringList codes;
        for (const QString& line : lines)
            codes << LessonCodeFromSelectionLine(line);
        QCOMPARE(codes, QStringList({"001A1", "001B2", "012B2", "123C3"}));
    }

    void codesOfTheMarkedLines() {
        const QStringList lines{"  1 A1  [Haus]", "  1 B2  []", " 12 B2  [Zahlen]", "123 C3  []"};
        const QList<bool> marks{true, false, true, true, true}; // one mark past the list
        // The quiz receives them from the last marked line to the first.
        QCOMPARE(SelectionCodesFromLines(lines, marks), QStringList({"123C3", "012B2", "001A1"}));
        // A second confirmation gives the same codes, not converted twice.
        QCOMPARE(SelectionCodesFromLines(lines, marks), QStringList({"123C3", "012B2", "001A1"}));
        QVERIFY(SelectionCodesFromLines(lines, {}).isEmpty());
        QCOMPARE(LessonCodeFromSelectionLine("  9 Z9  " + QString(30, 'x')),
                 QStringLiteral("009Z9"));
        // Broken lines give what they hold, without a crash.
        QCOMPARE(LessonCodeFromSelectionLine(""), QString());
        QCOMPARE(LessonCodeFromSelectionLine(" 1"), QStringLiteral("01"));
    }
};

QTEST_MAIN(TestSelectionOptions)
#include "tst_selectionoptions.moc"
