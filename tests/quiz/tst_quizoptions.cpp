#include "database/currentdatabase.h"
#include "database/generaloptions.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "quiz/quizoptions.h"
#include "quiz/quizoptionspage.h"
#include "support/testfiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
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
// A length-prefixed string of the image.
QByteArray stringAt(const QByteArray& image, int offset) {
    return image.mid(offset + 1, static_cast<unsigned char>(image[offset]));
}
void putString(QByteArray& image, int offset, const QByteArray& text) {
    image[offset] = static_cast<char>(text.size());
    image.replace(offset + 1, text.size(), text);
}

// Every Boolean of the record with its file offset, as the file layout has it.
const QList<QPair<int, bool TQuizOptionsRec::*>> BoolOffsets = {
    {20200, &TQuizOptionsRec::CheckBox1},  {20201, &TQuizOptionsRec::CheckBox3},
    {20202, &TQuizOptionsRec::CheckBox4},  {20203, &TQuizOptionsRec::CheckBox5},
    {20207, &TQuizOptionsRec::CheckBox10}, {20209, &TQuizOptionsRec::CheckBox2},
    {20210, &TQuizOptionsRec::ak1},        {20211, &TQuizOptionsRec::ak2},
    {20212, &TQuizOptionsRec::ak3},        {20213, &TQuizOptionsRec::ak4},
    {20214, &TQuizOptionsRec::cbfa},       {20215, &TQuizOptionsRec::cbkw},
    {20216, &TQuizOptionsRec::cbuk},       {20219, &TQuizOptionsRec::cbss},
    {20220, &TQuizOptionsRec::cbrf},       {20221, &TQuizOptionsRec::cbklamm},
    {20222, &TQuizOptionsRec::cbaue},      {20223, &TQuizOptionsRec::cbast},
    {20224, &TQuizOptionsRec::cbage},      {20225, &TQuizOptionsRec::cbendung},
    {20226, &TQuizOptionsRec::cbpraep},    {20227, &TQuizOptionsRec::cbautosch},
    {20228, &TQuizOptionsRec::cbstamm},    {20229, &TQuizOptionsRec::cbgw},
    {20230, &TQuizOptionsRec::cbschnell},  {20231, &TQuizOptionsRec::rborder},
    {20232, &TQuizOptionsRec::rbrandom},   {20233, &TQuizOptionsRec::rbabnorm},
    {20234, &TQuizOptionsRec::rbabmult},   {20235, &TQuizOptionsRec::rbabvor},
    {20236, &TQuizOptionsRec::cbms},       {20237, &TQuizOptionsRec::CheckBox6},
    {20238, &TQuizOptionsRec::cbnach},     {20239, &TQuizOptionsRec::cbxmal},
    {20240, &TQuizOptionsRec::cbsyn},      {20241, &TQuizOptionsRec::cbbemerkung},
    {20292, &TQuizOptionsRec::labf},       {20293, &TQuizOptionsRec::geabf},
    {20294, &TQuizOptionsRec::seabf},      {20295, &TQuizOptionsRec::lanz},
    {20296, &TQuizOptionsRec::ganz},       {20297, &TQuizOptionsRec::sanz},
    {20298, &TQuizOptionsRec::aktign},
};

// A record in which every field differs from the defaults.
TQuizOptionsRec sampleRecord() {
    TQuizOptionsRec record;
    for (const auto& [offset, member] : BoolOffsets)
        record.*member = true;
    record.rborder = false;
    record.rbabnorm = record.rbabmult = false; // one button per group
    record.ak12 = 9;
    record.ems = 1500;
    record.edurch = 3;
    record.exmal = -2;
    record.esyn = ',';
    record.ComboBox1 = QStringLiteral("15");
    record.Memo4 = QStringLiteral(".,;\r\n!?");
    record.ArticleList = {QStringLiteral("der"), QStringLiteral("die"), QStringLiteral("das")};
    record.NeverCorrectedWords = {QStringLiteral("an"), QStringLiteral("ab")};
    record.tb1 = 4;
    record.CompatibleWordPairs[0] = {QStringLiteral("jmd"), QStringLiteral("jemand")};
    record.CompatibleWordPairs[99] = {QStringLiteral("Faß"), QStringLiteral("Fass")};
    return record;
}

} // namespace

class TestQuizOptions : public QObject {
    Q_OBJECT

    QStringList boxes;
    std::unique_ptr<QTemporaryDir> folder;

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
        QuizOptionsPath.clear();
        CurrentLanguage.clear();
        GeneralOptions = TGeneralOptionsRec();
        QuizOptions = TQuizOptionsRec();
    }
    void cleanup() { platform::setMessageBoxHandler({}); }

    void fieldsAtTheirOffsets() {
        const QByteArray image = sampleRecord().toBytes();
        QCOMPARE(image.size(), 60980);
        QCOMPARE(intAt(image, 20256), 9);
        QCOMPARE(intAt(image, 20260), 1500);
        QCOMPARE(intAt(image, 20264), 3);
        QCOMPARE(intAt(image, 20268), -2);
        QCOMPARE(intAt(image, 20272), int(','));
        QCOMPARE(stringAt(image, 20308), QByteArray("15"));
        QCOMPARE(stringAt(image, 20437), QByteArray(".,;\r\n!?"));
        QCOMPARE(stringAt(image, 20566), QByteArray("der"));
        QCOMPARE(stringAt(image, 20566 + 2 * 101), QByteArray("das"));
        QCOMPARE(stringAt(image, 40766 + 101), QByteArray("ab"));
        QCOMPARE(intAt(image, 60968), 3);
        QCOMPARE(intAt(image, 60972), 2);
        QCOMPARE(intAt(image, 60976), 4);
        QCOMPARE(stringAt(image, 0), QByteArray("jmd"));
        QCOMPARE(stringAt(image, 10100), QByteArray("jemand"));
        QCOMPARE(stringAt(image, 99 * 101), QByteArray("Fa\xdf"));
        QCOMPARE(stringAt(image, 10100 + 99 * 101), QByteArray("Fass"));

        // Each Boolean sets exactly its own byte.
        for (const auto& [offset, member] : BoolOffsets) {
            TQuizOptionsRec record;
            record.rborder = record.rbabnorm = false;
            record.*member = true;
            const QByteArray bytes = record.toBytes();
            for (int i = 20200; i < 20308; ++i)
                if (i < 20256 || i >= 20292) // the integers lie between
                    QVERIFY2(bytes[i] == (i == offset ? 1 : 0),
                             qPrintable(QString::number(offset)));
        }

        // The display time alone, as a hand-made file would hold it.
        QByteArray file = TQuizOptionsRec().toBytes();
        putInt(file, 20260, 4321);
        TQuizOptionsRec read;
        QVERIFY(read.fromBytes(file));
        QCOMPARE(read.ems, 4321);
    }

    void roundTripThroughTheFile() {
        const QString path = WorkDir + "/data/Option.dat";
        const TQuizOptionsRec written = sampleRecord();
        QVERIFY(written.save(path));
        QCOMPARE(QFileInfo(path).size(), 60980);
        TQuizOptionsRec read;
        QVERIFY(read.load(path));
        QCOMPARE(read.toBytes(), written.toBytes());
        QCOMPARE(read.ArticleList, written.ArticleList);
        QCOMPARE(read.CompatibleWordPairs[99], written.CompatibleWordPairs[99]);
        QCOMPARE(read.rbabvor, true);
        QCOMPARE(read.rbabnorm, false);
        QVERIFY(boxes.isEmpty());
    }

    void missingOrShortFileGivesTheDesignValues() {
        for (const QByteArray& content : {QByteArray(), QByteArray(60979, '\1')}) {
            const QString path = WorkDir + "/data/Option.dat";
            QFile::remove(path);
            if (!content.isNull()) writeFile(path, content);
            TQuizOptionsRec record = sampleRecord();
            QVERIFY(!record.load(path));
            QCOMPARE(record.ems, 3000);
            QVERIFY(record.rbabnorm && !record.rbabmult && !record.rbabvor);
            QVERIFY(record.rborder && !record.rbrandom);
            QCOMPARE(record.ak12, 5);
            QCOMPARE(record.tb1, 0);
            QCOMPARE(record.edurch, 1);
            QCOMPARE(record.exmal, 5);
            QCOMPARE(record.synonymSeparator(), QChar(';'));
            QCOMPARE(record.ComboBox1, QStringLiteral("1"));
            QVERIFY(!record.CheckBox3 && !record.cbsyn && !record.aktign);
            QVERIFY(record.ArticleList.isEmpty() && record.Memo4.isEmpty());
            QCOMPARE(record.CompatibleWordPairs[0], CompatibleWordPair());
        }
        QVERIFY(boxes.isEmpty());
    }

    void displayTimeOutOfRangeFallsBackToNormalMode() {
        for (const qint32 time : {100000, -1}) {
            QByteArray image = TQuizOptionsRec().toBytes();
            putInt(image, 20260, time);
            image[20233] = 0; // rbabnorm
            image[20235] = 1; // rbabvor
            TQuizOptionsRec record;
            QVERIFY(record.fromBytes(image));
            QCOMPARE(record.ems, 3000);
            QVERIFY(record.rbabnorm && !record.rbabvor && !record.rbabmult);
        }
        QByteArray image = TQuizOptionsRec().toBytes();
        putInt(image, 20260, 99999);
        image[20233] = 0;
        image[20235] = 1;
        TQuizOptionsRec record;
        QVERIFY(record.fromBytes(image));
        QCOMPARE(record.ems, 99999);
        QVERIFY(record.rbabvor && !record.rbabnorm);
    }

    void valuesFromTheFileAreClamped() {
        QByteArray image = TQuizOptionsRec().toBytes();
        putInt(image, 20256, 99);      // ak12
        putInt(image, 60976, -4);      // tb1
        putInt(image, 60968, 5000);    // article count
        putInt(image, 60972, -1);      // never-corrected count
        putInt(image, 20264, 1234567); // edurch: more than five digits
        putInt(image, 20268, -99999);  // exmal
        putInt(image, 20272, 0x1203B); // esyn: only the low byte counts
        image[20308] = char(200);      // a length beyond string[128]
        image[0] = char(255);          // a length beyond string[100]
        image[20566] = char(101);
        TQuizOptionsRec record;
        QVERIFY(record.fromBytes(image));
        QCOMPARE(record.ak12, 14);
        QCOMPARE(record.tb1, 0);
        QCOMPARE(record.ArticleList.size(), 200);
        QCOMPARE(record.ArticleList[0].size(), 100);
        QVERIFY(record.NeverCorrectedWords.isEmpty());
        QCOMPARE(record.edurch, 99999);
        QCOMPARE(record.exmal, -9999);
        QCOMPARE(record.synonymSeparator(), QChar(';'));
        QCOMPARE(record.ComboBox1.size(), 128);
        QCOMPARE(record.CompatibleWordPairs[0].left.size(), 100);

        // A zero separator code cannot be typed: it reads as ";".
        putInt(image, 20272, 0);
        QVERIFY(record.fromBytes(image));
        QCOMPARE(record.esyn, 59);
    }

    void listsAndTextsAreCutWhenStored() {
        TQuizOptionsRec record;
        for (int i = 0; i < 201; ++i)
            record.ArticleList << QStringLiteral("a%1").arg(i);
        record.NeverCorrectedWords = {QString(150, QLatin1Char('x'))};
        record.ComboBox1 = QString(130, QLatin1Char('7'));
        record.CompatibleWordPairs[5].right = QString(120, QLatin1Char('r'));
        const QByteArray image = record.toBytes();
        QCOMPARE(intAt(image, 60968), 200);
        QCOMPARE(stringAt(image, 20566 + 199 * 101), QByteArray("a199"));
        QCOMPARE(stringAt(image, 40766), QByteArray(100, 'x'));
        QCOMPARE(stringAt(image, 20308), QByteArray(128, '7'));
        QCOMPARE(stringAt(image, 10100 + 5 * 101), QByteArray(100, 'r'));
        // The bytes that follow the lists are untouched by the cut.
        QCOMPARE(intAt(image, 60972), 1);
    }

    void reservedBytesAreWrittenAsZeroAndTrueAsOne() {
        const QString path = WorkDir + "/data/Option.dat";
        QByteArray image = TQuizOptionsRec().toBytes();
        const int reserved[] = {20204, 20205, 20206, 20208, 20217, 20218, 20242,
                                20255, 20276, 20291, 20299, 20307, 60966, 60967};
        for (const int offset : reserved)
            image[offset] = char(0x5A);
        putString(image, 20566 + 7 * 101, "alt"); // a line beyond the stored count
        putString(image, 20308, "3");
        image[20308 + 1 + 1] = 'Q';       // a stale byte after the attempts text
        image[20229] = 2;                 // a "true" written as 2 by another copy
        putInt(image, 20272, 0x1234003B); // ";" with high bytes another copy left
        writeFile(path, image);

        TQuizOptionsRec record;
        QVERIFY(record.load(path));
        QVERIFY(record.cbgw);
        QCOMPARE(record.synonymSeparator(), QChar(';'));
        record.cbss = true;
        record.ArticleList = {QStringLiteral("le")};
        QVERIFY(record.save(path));

        const QByteArray written = readFile(path);
        for (const int offset : reserved)
            QCOMPARE(written[offset], char(0));
        QCOMPARE(written[20229], char(1));
        QCOMPARE(intAt(written, 20272), 59);
        // String tails and list entries beyond the count are no reserved bytes.
        QCOMPARE(stringAt(written, 20566 + 7 * 101), QByteArray("alt"));
        QCOMPARE(written[20308 + 2], 'Q');
        QCOMPARE(written[20219], char(1));
        QCOMPARE(stringAt(written, 20566), QByteArray("le"));
        QCOMPARE(intAt(written, 60968), 1);
    }

    void failedWriteIsReported() {
        writeFile(WorkDir + "/blocker", "x");
        QVERIFY(!TQuizOptionsRec().save(WorkDir + "/blocker/Option.dat"));
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].startsWith(QStringLiteral("Fehler: Die Abfrageeinstellungen konnten "
                                                   "nicht in der Datei")));
    }

    void perLanguageFile() {
        QCOMPARE(QuizOptionsFileFor("Latein", false), WorkDir + "/data/Option.dat");
        QCOMPARE(QuizOptionsFileFor("Latein", true), WorkDir + "/data/Lateino.dat");
        // An existing file is found whatever its case; a language cannot lead
        // out of the data folder.
        writeFile(WorkDir + "/data/GRIECHISCHO.DAT", "x");
        QCOMPARE(QuizOptionsFileFor("Griechisch", true), WorkDir + "/data/GRIECHISCHO.DAT");
        QCOMPARE(QuizOptionsFileFor("../x", true), WorkDir + "/data/.._xo.dat");

        // The per-language file starts as a copy of the shared one and is
        // never overwritten afterwards.
        QuizOptions = sampleRecord();
        QuizOptionsPath = WorkDir + "/data/Option.dat";
        QVERIFY(saveQuizOptions());
        GeneralOptions.AbfJedAn = true;
        CurrentLanguage = QStringLiteral("Latein");
        chooseQuizOptionsPath();
        QCOMPARE(QuizOptionsPath, WorkDir + "/data/Lateino.dat");
        QCOMPARE(readFile(QuizOptionsPath), readFile(WorkDir + "/data/Option.dat"));
        QuizOptions.ems = 777;
        QVERIFY(saveQuizOptions());
        chooseQuizOptionsPath();
        QVERIFY(loadQuizOptions());
        QCOMPARE(QuizOptions.ems, 777);
        GeneralOptions.AbfJedAn = false;
        chooseQuizOptionsPath();
        QVERIFY(loadQuizOptions());
        QCOMPARE(QuizOptions.ems, 1500);
    }

    void wholeNumbers() {
        QCOMPARE(parseWholeNumber("3000"), std::optional<qint32>(3000));
        QCOMPARE(parseWholeNumber("-12"), std::optional<qint32>(-12));
        QCOMPARE(parseWholeNumber("+7"), std::optional<qint32>(7));
        QCOMPARE(parseWholeNumber("$1F"), std::optional<qint32>(31));
        QCOMPARE(parseWholeNumber("-$10"), std::optional<qint32>(-16));
        QCOMPARE(parseWholeNumber("2147483647"), std::optional<qint32>(2147483647));
        QCOMPARE(parseWholeNumber("-2147483648"), std::optional<qint32>(-2147483647 - 1));
        for (const char* bad : {"", "-", "$", "abc", "1.5", " 1", "1 ", "12a", "$G", "2147483648",
                                "99999999999999999999", "١٢"})
            QVERIFY2(!parseWholeNumber(QString::fromUtf8(bad)), bad);
    }

    void numberFieldCheck() {
        QString text = QStringLiteral("fünf");
        QVERIFY(!checkNumberField(text, QStringLiteral("5")));
        QCOMPARE(text, QStringLiteral("5"));
        QCOMPARE(boxes, QStringList{QStringLiteral(
                            ": In dieses Feld dürfen nur Zahlen eingegeben werden.")});
        boxes.clear();
        text = QStringLiteral("-3"); // a negative whole number is accepted
        QVERIFY(checkNumberField(text, QStringLiteral("5")));
        QCOMPARE(text, QStringLiteral("-3"));
        text.clear();
        QVERIFY(!checkNumberField(text, QStringLiteral("1")));
        QCOMPARE(text, QStringLiteral("1"));
        QCOMPARE(boxes.size(), 1);

        // Attempts: empty is quietly one, letters become 1000 with the message.
        boxes.clear();
        text.clear();
        QVERIFY(!checkAttemptsField(text));
        QCOMPARE(text, QStringLiteral("1"));
        QVERIFY(boxes.isEmpty());
        text = QStringLiteral("viele");
        QVERIFY(!checkAttemptsField(text));
        QCOMPARE(text, QStringLiteral("1000"));
        QCOMPARE(boxes.size(), 1);

        text.clear();
        checkSeparatorField(text);
        QCOMPARE(text, QStringLiteral(";"));
        text = QStringLiteral("→");
        checkSeparatorField(text);
        QCOMPARE(text, QStringLiteral(";"));
        QCOMPARE(separatorCode(QString()), 59);
        QCOMPARE(separatorCode(QStringLiteral("/")), int('/'));
    }

    void attemptLimit() {
        TQuizOptionsRec record;
        QCOMPARE(record.attemptLimit(), 1);
        record.ComboBox1 = QStringLiteral("1000");
        QCOMPARE(record.attemptLimit(), 1000);
        record.ComboBox1 = QStringLiteral("kaputt");
        QCOMPARE(record.attemptLimit(), 1);
        record.ComboBox1 = QString();
        QCOMPARE(record.attemptLimit(), 1);
        record.rbabvor = true;
        record.edurch = 4;
        QCOMPARE(record.attemptLimit(), 4);
        record.edurch = 0; // no pass would end the quiz
        QCOMPARE(record.attemptLimit(), 1);
    }

    void pageShowsAndStoresEveryOption() {
        TQuizOptionsRec record = sampleRecord();
        QuizOptionsPage page(&record);
        QVERIFY(page.rbabvor->isChecked() && !page.rbabnorm->isChecked());
        QVERIFY(!page.rborder->isChecked() && page.rbrandom->isChecked());
        QCOMPARE(page.ems->text(), QStringLiteral("1500"));
        QCOMPARE(page.exmal->text(), QStringLiteral("-2"));
        QCOMPARE(page.esyn->text(), QStringLiteral(","));
        QCOMPARE(page.ComboBox1->currentText(), QStringLiteral("15"));
        QCOMPARE(page.ak12->value(), 9);
        QCOMPARE(page.tb1->value(), 4);
        QCOMPARE(page.Memo4->toPlainText(), QStringLiteral(".,;\n!?"));
        QCOMPARE(page.Memo3->toPlainText(), QStringLiteral("der\ndie\ndas"));
        QCOMPARE(page.lkw->item(99, 0)->text(), QStringLiteral("Faß"));
        QVERIFY(page.CheckBox10->isChecked() && page.aktign->isChecked() && page.cbms->isChecked());

        // Back from the controls into a record of defaults: the same image.
        const QByteArray expected = record.toBytes();
        record = TQuizOptionsRec();
        page.storeControls();
        QCOMPARE(record.toBytes(), expected);
        QCOMPARE(record.Memo4, QStringLiteral(".,;\r\n!?"));

        // And the defaults the other way round.
        record = TQuizOptionsRec();
        page.loadControls();
        const QByteArray defaults = record.toBytes();
        record = sampleRecord();
        page.storeControls();
        QCOMPARE(record.toBytes(), defaults);
        QVERIFY(page.rborder->isChecked() && page.rbabnorm->isChecked());
    }

    void pageChangesCountAtOnce() {
        TQuizOptionsRec record;
        QuizOptionsPage page(&record);
        page.CheckBox3->setChecked(true);
        QVERIFY(record.CheckBox3);
        page.rbabmult->setChecked(true);
        QVERIFY(record.rbabmult && !record.rbabnorm);
        page.ukb->setPlainText(QStringLiteral("an\nab\n"));
        QCOMPARE(record.NeverCorrectedWords, QStringList({"an", "ab"}));
        page.lkw->item(3, 1)->setText(QStringLiteral("jemand"));
        QCOMPARE(record.CompatibleWordPairs[3].right, QStringLiteral("jemand"));
        // A memo of 201 lines stores 200, a long line its first 100 characters.
        QStringList lines;
        for (int i = 0; i < 201; ++i)
            lines << (i == 0 ? QString(150, QLatin1Char('w')) : QStringLiteral("x"));
        page.Memo3->setPlainText(lines.join('\n'));
        QCOMPARE(record.ArticleList.size(), 200);
        QCOMPARE(record.ArticleList[0].size(), 100);
        QVERIFY(boxes.isEmpty());
    }

    void modeEnablesItsFields() {
        TQuizOptionsRec record;
        QuizOptionsPage page(&record);
        QVERIFY(!page.ems->isEnabled() && !page.edurch->isEnabled() && !page.cbnach->isEnabled());
        QVERIFY(!page.Label6->isEnabled() && !page.label21->isEnabled());
        QVERIFY(!page.cbms->isEnabled());
        page.rbabvor->setChecked(true);
        QVERIFY(page.ems->isEnabled() && page.edurch->isEnabled() && page.Label7->isEnabled());
        QVERIFY(!page.cbms->isEnabled());
        page.rbabmult->setChecked(true);
        QVERIFY(!page.ems->isEnabled() && page.cbms->isEnabled());
    }

    void pageExitChecks() {
        TQuizOptionsRec record;
        QuizOptionsPage page(&record);
        page.exmal->setText(QStringLiteral("abc"));
        page.exmalChange();
        QCOMPARE(page.exmal->text(), QStringLiteral("5"));
        QCOMPARE(record.exmal, 5);
        QCOMPARE(boxes.size(), 1);
        page.ems->setText(QStringLiteral("x"));
        page.emsExit();
        QCOMPARE(page.ems->text(), QStringLiteral("3000"));
        page.edurch->setText(QStringLiteral("-"));
        page.edurchExit();
        QCOMPARE(page.edurch->text(), QStringLiteral("1"));
        page.ComboBox1->setEditText(QString());
        page.ComboBox1Exit();
        QCOMPARE(page.ComboBox1->currentText(), QStringLiteral("1"));
        page.esyn->clear();
        page.esynExit();
        QCOMPARE(page.esyn->text(), QStringLiteral(";"));
        QCOMPARE(boxes.size(), 3);
    }

    void pageReadsAndWritesTheFile() {
        QuizOptionsPath = WorkDir + "/data/Option.dat";
        TQuizOptionsRec stored = sampleRecord();
        QVERIFY(stored.save(QuizOptionsPath));

        QuizOptionsPage page;
        QCOMPARE(page.options(), &QuizOptions);
        page.FormCreate();
        QCOMPARE(QuizOptions.toBytes(), stored.toBytes());
        QCOMPARE(page.ems->text(), QStringLiteral("1500"));

        // Leaving with an empty separator and letters in a number field.
        page.esyn->clear();
        page.ems->setText(QStringLiteral("zehn"));
        QVERIFY(page.schlie());
        const QByteArray written = readFile(QuizOptionsPath);
        QCOMPARE(intAt(written, 20272), 59);
        QCOMPARE(intAt(written, 20260), 3000);
        QCOMPARE(boxes.size(), 1);
    }
};

QTEST_MAIN(TestQuizOptions)
#include "tst_quizoptions.moc"
