// The print settings records: every offset, the bytes no control owns, the
// radio groups, and the quiz selection's bytes of the shared file.
#include "database/currentdatabase.h"
#include "database/generaloptions.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "printing/printsettings.h"
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

// A length-prefixed string as the record holds it.
QByteArray stringAt(const QByteArray& image, int offset) {
    return image.mid(offset + 1, static_cast<unsigned char>(image.at(offset)));
}

void putString(QByteArray& image, int offset, const QByteArray& text) {
    image[offset] = static_cast<char>(text.size());
    for (int i = 0; i < text.size(); ++i)
        image[offset + 1 + i] = text.at(i);
}

// Every byte different and none a plain 0 or 1.
QByteArray pattern(int size) {
    QByteArray image(size, '\0');
    for (int i = 0; i < size; ++i)
        image[i] = static_cast<char>(0x40 + i % 50);
    return image;
}

} // namespace

class TestPrintSettings : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    QStringList boxes;

  private slots:
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        WorkDir = folder->path();
        QDir(WorkDir).mkpath("data");
        SelectionOptionsPath.clear();
        PrintCardOptionsPath.clear();
        PrintTextOptionsPath.clear();
        boxes.clear();
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& request) {
            boxes << request.text;
            return platform::Answer::Ok;
        });
    }

    void cleanup() { platform::setMessageBoxHandler({}); }

    void cardRecordOffsets() {
        QByteArray image(72, '\0');
        image.replace(8, 24, pattern(24));
        image.replace(48, 24, pattern(24).mid(3) + "xyz");
        image[3] = 1; // "Rückseite"
        putInt(image, 32, 15);
        putInt(image, 36, 13);
        putInt(image, 40, 12);
        putInt(image, 44, 0);
        TPrintCardOptionsRec record;
        QVERIFY(record.fromBytes(image));
        QVERIFY(record.kind == CardKind::Back);
        QCOMPARE(record.wordFontSize(), 28);
        QCOMPARE(record.translationFontSize(), 24);
        QCOMPARE(record.specialFontSize(), 20);
        QCOMPARE(record.lessonFontSize(), 6);

        record.cbkartei = true;
        record.kind = CardKind::Front;
        record.rbkrahmen = false;
        record.rbklektion = true;
        record.cbkvor = true;
        record.cbKartKopfFuss = true;
        record.cbkfremdwort = 3;
        record.cbkueber = 4;
        record.cbksonder = 5;
        record.cbklektion = 6;
        const QByteArray out = record.toBytes();
        QCOMPARE(out.size(), 72);
        QCOMPARE(out.left(8), QByteArray("\x01\x00\x01\x00\x00\x01\x01\x01", 8));
        QCOMPARE(intAt(out, 32), 3);
        QCOMPARE(intAt(out, 36), 4);
        QCOMPARE(intAt(out, 40), 5);
        QCOMPARE(intAt(out, 44), 6);
        QCOMPARE(out.mid(8, 24), image.mid(8, 24));
        QCOMPARE(out.mid(48, 24), image.mid(48, 24));
    }

    void cardIndexesOutsideTheirListsReadAsDefaults() {
        QByteArray image(72, '\0');
        putInt(image, 32, 16);
        putInt(image, 36, -1);
        putInt(image, 40, 13);
        putInt(image, 44, 1000);
        TPrintCardOptionsRec record;
        QVERIFY(record.fromBytes(image));
        const TPrintCardOptionsRec defaults;
        QCOMPARE(record.cbkfremdwort, defaults.cbkfremdwort);
        QCOMPARE(record.cbkueber, defaults.cbkueber);
        QCOMPARE(record.cbksonder, defaults.cbksonder);
        QCOMPARE(record.cbklektion, defaults.cbklektion);
        // No kind ticked stays so (the window's cards then fold).
        QVERIFY(!record.kind);
    }

    void textRecordOffsets() {
        QByteArray image = pattern(7832);
        const int offsets[] = {152, 408, 664, 920, 1176, 1432, 1688, 1944, 2200, 2456};
        for (int i = 0; i < 10; ++i)
            putString(image, offsets[i], "t" + QByteArray::number(i));
        TPrintTextOptionsRec record;
        QVERIFY(record.fromBytes(image));
        QCOMPARE(record.ekz, QString("t0"));
        QCOMPARE(record.efz, QString("t1"));
        QCOMPARE(record.srr, QString("t5"));
        QCOMPARE(record.kkAbstandv, QString("t9"));

        record.ekz = QString(300, QChar('K')); // cut to 255
        record.efz = QStringLiteral("Fuß <seite>");
        record.sro = "12";
        record.kkBreite = "80,5";
        const QByteArray out = record.toBytes();
        QCOMPARE(out.size(), 7832);
        QCOMPARE(stringAt(out, 152), QByteArray(255, 'K'));
        QCOMPARE(stringAt(out, 408), QByteArray("Fu\xdf <seite>"));
        QCOMPARE(stringAt(out, 664), QByteArray("12"));
        QCOMPARE(stringAt(out, 1688), QByteArray("80,5"));
        QCOMPARE(stringAt(out, 920), QByteArray("t3"));
        // The unused head and tail stay as read.
        QCOMPARE(out.left(152), image.left(152));
        QCOMPARE(out.mid(2712), image.mid(2712));
    }

    void shortOrMissingFilesLeaveTheRecordsAsTheyWere() {
        const QString path = WorkDir + "/data/Dru3Opt.dat";
        TPrintTextOptionsRec record;
        record.ekz = "bleibt";
        QVERIFY(!record.load(path));
        writeFile(path, QByteArray(100, 'x'));
        QVERIFY(!record.load(path));
        QCOMPARE(record.ekz, QString("bleibt"));
        TPrintCardOptionsRec cards;
        cards.cbkartei = true;
        QVERIFY(!cards.load(WorkDir + "/data/Dru2Opt.dat"));
        QVERIFY(cards.cbkartei);
    }

    void recordsSurviveTheirFiles() {
        PrintCardOptionsPath = WorkDir + "/data/Dru2Opt.dat";
        PrintTextOptionsPath = WorkDir + "/data/Dru3Opt.dat";
        TPrintCardOptionsRec cards;
        cards.kind = CardKind::Back;
        cards.cbkueber = 13;
        QVERIFY(cards.save(PrintCardOptionsFile()));
        TPrintTextOptionsRec texts;
        texts.ekz = "Seite <seite>";
        QVERIFY(texts.save(PrintTextOptionsFile()));
        QCOMPARE(QFileInfo(PrintCardOptionsPath).size(), 72);
        QCOMPARE(QFileInfo(PrintTextOptionsPath).size(), 7832);
        TPrintCardOptionsRec cardsBack;
        TPrintTextOptionsRec textsBack;
        QVERIFY(cardsBack.load(PrintCardOptionsPath));
        QVERIFY(textsBack.load(PrintTextOptionsPath));
        QCOMPARE(cardsBack.kind, CardKind::Back);
        QCOMPARE(cardsBack.cbkueber, 13);
        QCOMPARE(textsBack.ekz, QString("Seite <seite>"));
    }

    void selectionOffsets() {
        TPrintSelectionOptions options;
        options.format = 4;
        options.primary = PrintOrder::Translation;
        options.sab = true;
        options.secondary = PrintSecondaryOrder::WrongAnswers;
        options.remarks = PrintPlacement::Right;
        options.specialForms = PrintPlacement::Left;
        options.cbus = false;
        options.line = true;
        options.cbra = false;
        options.nge = true;
        options.nse = false;
        options.nst = true;
        options.cbs = 6;
        options.zoomText = "75%";
        options.comw = 14;
        QByteArray image = pattern(272);
        const QByteArray before = image;
        options.writeInto(image);
        QCOMPARE(image.size(), 272);
        // rb1 rb2 rb3 rb4 rb5 sl sa sw ss sa2 sab cbus line cbra nge nse nst ssta nrb rb0
        // rbbd0 rbbd1 rbbd2 rbsd0 rbsd1 rbsd2 sa_ueber sa2_ueber
        const QByteArray ticks("\0\0\0\1\0"
                               "\0\0\0\0"
                               "\0\1\0\1\0\1\0\1\1\0\0"
                               "\0\0\1"
                               "\0\1\0"
                               "\1\0",
                               28);
        for (int i = 0; i < 28; ++i)
            QVERIFY2(bool(image.at(i)) == bool(ticks.at(i)), qPrintable(QString::number(i)));
        QCOMPARE(stringAt(image, 30), QByteArray("6"));
        QCOMPARE(stringAt(image, 131), QByteArray("75%"));
        QCOMPARE(intAt(image, 232), 14);
        QCOMPARE(image.mid(28, 2), before.mid(28, 2));
        QCOMPARE(image.mid(236), before.mid(236));

        TPrintSelectionOptions back;
        QVERIFY(back.fromBytes(image));
        QCOMPARE(back.format, 4);
        QCOMPARE(back.primary, PrintOrder::Translation);
        QCOMPARE(back.secondary, PrintSecondaryOrder::WrongAnswers);
        QCOMPARE(back.remarks, PrintPlacement::Right);
        QCOMPARE(back.specialForms, PrintPlacement::Left);
        QVERIFY(back.sab && !back.cbus && back.line && !back.cbra && back.nge && !back.nse &&
                back.nst);
        QCOMPARE(back.listFontSize(), 12);
        QCOMPARE(back.zoomText, QString("75%"));
        QCOMPARE(back.comw, 14);
    }

    void theLastTickOfARadioGroupWins() {
        QByteArray image(272, '\0');
        image[1] = 1;  // rb2
        image[19] = 1; // rb0, later in the file
        image[5] = 1;  // sl
        image[26] = 1; // sa_ueber
        image[9] = 1;  // sa2
        image[18] = 1; // nrb
        image[20] = 1; // rbbd0
        image[22] = 1; // rbbd2
        TPrintSelectionOptions options;
        QVERIFY(options.fromBytes(image));
        QCOMPARE(options.format, 0);
        QCOMPARE(options.primary, PrintOrder::Translation);
        QCOMPARE(options.secondary, PrintSecondaryOrder::Keep);
        QCOMPARE(options.remarks, PrintPlacement::Right);
        // Nothing ticked in a group: its default.
        QCOMPARE(options.specialForms, PrintPlacement::None);
    }

    void aRecordOfZerosStillGivesAPrimaryOrderAndASize() {
        TPrintSelectionOptions options;
        QVERIFY(options.fromBytes(QByteArray(272, '\0')));
        QCOMPARE(options.primary, PrintOrder::Lesson);
        QCOMPARE(options.format, 0);
        // An empty size text is no number: the first size, not a failure.
        QCOMPARE(options.listFontSize(), 6);
        QCOMPARE(options.comw, 0);

        QByteArray image(272, '\0');
        putString(image, 30, "abc");
        putInt(image, 232, 99);
        QVERIFY(options.fromBytes(image));
        QCOMPARE(options.cbs, TPrintSelectionOptions::DefaultListFontIndex);
        QCOMPARE(options.comw, 0);
        putString(image, 30, "11");
        QVERIFY(options.fromBytes(image));
        QCOMPARE(options.listFontSize(), 18);
        putString(image, 30, "12"); // one beyond the list: its first size
        QVERIFY(options.fromBytes(image));
        QCOMPARE(options.listFontSize(), 6);
    }

    void savingKeepsTheQuizSelectionsBytes() {
        SelectionOptionsPath = WorkDir + "/data/AuswOpt.dat";
        const QByteArray original = pattern(272);
        writeFile(SelectionOptionsPath, original);
        TPrintSelectionOptions options;
        options.primary = PrintOrder::WordClass;
        options.comw = 3;
        QVERIFY(options.save(PrintSelectionOptionsFile()));
        const QByteArray saved = readFile(SelectionOptionsPath);
        QCOMPARE(saved.size(), 272);
        QCOMPARE(saved.mid(236), original.mid(236));
        QCOMPARE(saved.mid(28, 2), original.mid(28, 2));
        QVERIFY(saved.at(7)); // sw
        QVERIFY(!saved.at(5));
        QCOMPARE(intAt(saved, 232), 3);
    }

    void savingWithoutAFileWritesZerosForTheQuizPart() {
        SelectionOptionsPath = WorkDir + "/data/Lateina.dat";
        TPrintSelectionOptions options;
        QVERIFY(options.save(PrintSelectionOptionsFile()));
        const QByteArray saved = readFile(SelectionOptionsPath);
        QCOMPARE(saved.size(), 272);
        QCOMPARE(saved.mid(236), QByteArray(36, '\0'));
        TPrintSelectionOptions back;
        QVERIFY(back.load(SelectionOptionsPath));
        QVERIFY(!back.cbus && !back.line && !back.cbra);
    }

    // What the window writes back after its first show without files: every
    // box unticked, every size at its first item "6", every text empty; only
    // the selection's radio groups keep their design choice, so that a list
    // always has an order.
    void theRecordsOfAFirstShowWithoutFiles() {
        const QByteArray card = TPrintCardOptionsRec().toBytes();
        QCOMPARE(card.left(8), QByteArray(8, '\0'));
        QVERIFY(!TPrintCardOptionsRec().kind);
        for (const int offset : {32, 36, 40, 44})
            QCOMPARE(intAt(card, offset), 0);
        QCOMPARE(TPrintCardOptionsRec().wordFontSize(), 6);
        QCOMPARE(TPrintCardOptionsRec().lessonFontSize(), 6);

        QCOMPARE(TPrintTextOptionsRec().toBytes(), QByteArray(7832, '\0'));

        QByteArray selection(272, '\0');
        TPrintSelectionOptions().writeInto(selection);
        QByteArray ticks(28, '\0');
        for (const int radio : {5, 18, 19, 20, 23}) // sl, nrb, rb0, rbbd0, rbsd0
            ticks[radio] = 1;
        QCOMPARE(selection.left(28), ticks);
        QCOMPARE(stringAt(selection, 30), QByteArray("0"));
        QCOMPARE(intAt(selection, 232), 0);
    }

    void aFailedWriteIsReported() {
        PrintTextOptionsPath = WorkDir + "/data/Dru3Opt.dat";
        QDir(WorkDir).mkpath("data/Dru3Opt.dat"); // a folder in the way
        TPrintTextOptionsRec texts;
        QVERIFY(!texts.save(PrintTextOptionsFile()));
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes.first().contains("Dru3Opt.dat"));
    }

    void theFilesDefaultToTheDataFolder() {
        QCOMPARE(QFileInfo(PrintCardOptionsFile()).fileName(), QString("Dru2Opt.dat"));
        QCOMPARE(QFileInfo(PrintTextOptionsFile()).fileName(), QString("Dru3Opt.dat"));
        QCOMPARE(QFileInfo(PrintSelectionOptionsFile()).fileName(), QString("AuswOpt.dat"));
        QCOMPARE(QFileInfo(PrintSelectionOptionsFile()).dir().dirName(), QString("data"));
    }
};

QTEST_MAIN(TestPrintSettings)
#include "tst_printsettings.moc"
