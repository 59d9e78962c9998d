// Reading words back: the descriptor, the record reader, the storing rules,
// the universal import's column map, and the whole road from the main
// window's export to a new database filled by the import.
#include "database/currentdatabase.h"
#include "database/generaloptions.h"
#include "database/lessons.h"
#include "database/newdatabasedialog.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "exchange/exportformat.h"
#include "exchange/exportwindow.h"
#include "exchange/importformat.h"
#include "exchange/importstore.h"
#include "exchange/importwindow.h"
#include "mainwindow/mainwindow.h"
#include "platform/codec.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "support/testfiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

namespace {

// A table as a new database has it: one empty word in lesson 001A1.
void newTable(const QString& path) {
    engine::Query q;
    CreateVocabularyTable(q, path);
    q.clearSql();
    q.addSql("SELECT * FROM " + engine::quoteLiteral(path));
    q.open();
    InsertNewWordRecord(q, "001A1");
}

// "Lektion:Fremdwort=Uebersetzung|Wortart|Schwierigkeit|Extra" per word, by ID.
QStringList wordsOf(const QString& path) {
    engine::Query q;
    q.addSql("SELECT * FROM " + engine::quoteLiteral(path));
    q.open();
    QStringList words;
    for (q.first(); !q.eof(); q.next())
        words << q.asString("Lektion") + ":" + q.asString("Fremdwort") + "=" +
                     q.asString("Uebersetzung") + "|" + QString::number(q.asInteger("Wortart")) +
                     "|" + QString::number(q.asInteger("Schwierigkeit")) + "|" +
                     q.asString("Extra");
    return words;
}

QStringList readAllFields(const QString& content, const QString& field, const QString& record,
                          bool anyLineBreak = false) {
    RecordReader reader(content, 0, field, record, anyLineBreak);
    QStringList out;
    while (!reader.atEnd())
        out << reader.readRecord().join("|");
    return out;
}

ImportPlan exportPlan(const QString& file) {
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    const ExportDescriptor d = ReadExportDescriptor(platform::codec::fromBytes(f.readAll()));
    ImportPlan plan;
    plan.exportFile = true;
    plan.files = {file};
    plan.recordsStart = d.recordsStart;
    plan.rules.codes = FieldCodesFromMask(d.mask);
    plan.rules.mask = d.mask;
    plan.rules.separators = d.separators;
    return plan;
}

ImportPlan universalPlan(const QStringList& files, FieldCodes codes) {
    ImportPlan plan;
    plan.files = files;
    plan.rules.codes = codes;
    for (int code : codes)
        if (code >= 1 && code <= 14) plan.rules.mask[code] = true;
    plan.rules.separators.recordReplacement.clear();
    plan.rules.separators.fieldReplacement.clear();
    plan.rules.separators.translationReplacement.clear();
    plan.rules.anyLineBreak = true;
    return plan;
}

} // namespace

class TestImport : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QList<platform::MessageBoxRequest> boxes;
    platform::Answer nextAnswer = platform::Answer::Ok;
    int tables = 0;

    QString freshTable() {
        const QString path = dir.filePath(QString("t%1.ol").arg(++tables));
        newTable(path);
        return path;
    }

  private slots:
    void initTestCase() {
        // Nothing of the user's own settings is read or written.
        QStandardPaths::setTestModeEnabled(true);
        platform::setRegistryFile(dir.filePath("registry.ini"));
        platform::setDocumentsFolderOverride(dir.path());
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
            boxes << r;
            return nextAnswer;
        });
    }
    void cleanupTestCase() {
        platform::setMessageBoxHandler({});
        platform::setModalHandler({});
    }
    void init() {
        boxes.clear();
        nextAnswer = platform::Answer::Ok;
        ExportSeparators().publish();
    }

    void descriptor() {
        ExportSettings s = ExportSettings::defaults();
        const QString header = ExportTextHeader(s, "/v/a.ol", "1.1.2024");
        ExportDescriptor d = ReadExportDescriptor(header + "amo\tlieben\t001A1\r\n");
        QVERIFY(d.valid);
        QCOMPARE(d.separators.all(), s.separators.all());
        QCOMPARE(FieldCodesFromMask(d.mask), (FieldCodes{1, 2, 3}));
        QCOMPARE(d.recordsStart, int(header.size()));
        // A file that ends right after the header holds no words, but is an export.
        d = ReadExportDescriptor(header);
        QCOMPARE(d.recordsStart, int(header.size()));

        // An empty replacement is kept as such.
        s.separators.fieldReplacement.clear();
        d = ReadExportDescriptor(ExportTextHeader(s, "x", "d"));
        QVERIFY(d.valid);
        QCOMPARE(d.separators.fieldReplacement, QString());
        QCOMPARE(d.separators.translationReplacement, QString("##"));

        // Not exports: no translation field, an RTF file, a cut descriptor,
        // a list that happens to hold an "å".
        s = ExportSettings::defaults();
        s.fields[FieldUebersetzung] = false;
        QVERIFY(!ReadExportDescriptor(ExportTextHeader(s, "x", "d")).valid);
        s = ExportSettings::defaults();
        s.rtf = true;
        QVERIFY(!ReadExportDescriptor(RtfProlog(s) + "\\f0\\fs20 amo}\r\n").valid);
        QVERIFY(!ReadExportDescriptor("11100000000000\r\nB\tå\r\n\r\n").valid);
        QVERIFY(!ReadExportDescriptor("år\tJahr\r\nsås\tSoße\r\n").valid);
    }

    void recordReader() {
        // A two-character separator ends a field only when both are read in a row.
        QCOMPARE(readAllFields("a,b, c, d\r\ne", ", ", "\r\n"), (QStringList{"a,b|c|d", "e"}));
        // The last record may lack its separator; nothing is cut from it.
        QCOMPARE(readAllFields("a\tb\r\nc\td", "\t", "\r\n"), (QStringList{"a|b", "c|d"}));
        // Empty fields stay in their places.
        QCOMPARE(readAllFields("\tb\t\r\n", "\t", "\r\n"), (QStringList{"|b|"}));
        // LF line ends of a word list count as line breaks when allowed.
        QCOMPARE(readAllFields("a\tb\nc\td\r\n", "\t", "\r\n", true), (QStringList{"a|b", "c|d"}));
        QCOMPARE(readAllFields("a\tb\nc\td\r\n", "\t", "\r\n"), (QStringList{"a|b\nc|d"}));
        // So do lone CRs, also at the very end, and LF CR pairs; a CR LF pair
        // stays one line end, also as the field separator.
        QCOMPARE(readAllFields("a\tb\rc\td\r\ne\tf\r", "\t", "\r\n", true),
                 (QStringList{"a|b", "c|d", "e|f"}));
        QCOMPARE(readAllFields("a\tb\n\rc\td\n\r", "\t", "\r\n", true),
                 (QStringList{"a|b", "c|d"}));
        QCOMPARE(readAllFields("a\rb;c\r\nd;", "\r\n", ";", true), (QStringList{"a|b", "c|d"}));
        QCOMPARE(readAllFields("a\tb\r\n\r\nc", "\t", "\r\n", true), (QStringList{"a|b", "", "c"}));
        QCOMPARE(readAllFields("a\tb\rc\td\r", "\t", "\r\n"), (QStringList{"a|b\rc|d\r"}));
        QCOMPARE(FirstLines("eins\r\nzwei\ndrei\rvier\n\rfünf\r\nsechs", 5),
                 (QStringList{"eins", "zwei", "drei", "vier", "fünf"}));
    }

    void storingRules() {
        ImportRules rules;
        rules.codes = {1, 2, 3, 4, 5};
        for (int c : rules.codes)
            rules.mask[c] = true;
        ExchangeWord w;
        bool replaced = false;
        QCOMPARE(WordFromRecord({"a~+b", "x##y, z, ", "002B1xyz", "Verb", "Leicht", "extra"}, rules,
                                w, &replaced),
                 RecordVerdict::Word);
        QCOMPARE(w[FieldFremdwort], QString("a\tb"));
        QCOMPARE(w[FieldUebersetzung], QString("x, y\r\nz\r\n"));
        QCOMPARE(w[FieldLektion], QString("002B1"));
        QCOMPARE(w.wortart, 1);
        QCOMPARE(w.schwierigkeit, 2);
        QVERIFY(!replaced);
        // Unknown names give the defaults; an empty foreign word keeps the record.
        QCOMPARE(WordFromRecord({"", "t", "001A1", "verb", "schwer"}, rules, w),
                 RecordVerdict::Word);
        QCOMPARE(w.wortart, 14);
        QCOMPARE(w.schwierigkeit, 3);
        // A record without foreign word and translation is no word.
        QCOMPARE(WordFromRecord({"", "", "001A1"}, rules, w), RecordVerdict::Incomplete);
        // A lesson that is no code would hide the word: the default lesson.
        QCOMPARE(WordFromRecord({"a", "b", "3a"}, rules, w, &replaced), RecordVerdict::Word);
        QCOMPARE(w[FieldLektion], QString("001A1"));
        QVERIFY(replaced);
        QCOMPARE(WordFromRecord({"a", "b"}, rules, w, &replaced), RecordVerdict::Word);
        QCOMPARE(w[FieldLektion], QString("001A1"));
        // Without a lesson field every word goes to the default lesson.
        rules.mask[FieldLektion] = false;
        rules.codes = {1, 2};
        rules.defaultLessonCode = "007A1";
        QCOMPARE(WordFromRecord({"a", "b", "ignored"}, rules, w, &replaced), RecordVerdict::Word);
        QCOMPARE(w[FieldLektion], QString("007A1"));
        QVERIFY(!replaced);
        // Meanings on lines of their own: any system's line ends part them.
        rules.anyLineBreak = true;
        rules.separators.translation = "\r\n";
        QCOMPARE(WordFromRecord({"a", "x\ry\nz\n\rv\r\nw"}, rules, w), RecordVerdict::Word);
        QCOMPARE(w[FieldUebersetzung], QString("x\r\ny\r\nz\r\nv\r\nw"));
        // A column left blank is skipped entirely.
        rules.codes = {0, 1, 2};
        QCOMPARE(WordFromRecord({"x", "a", "b"}, rules, w), RecordVerdict::Word);
        QCOMPARE(w[FieldFremdwort], QString("a"));
        QCOMPARE(WordFromRecord({"x"}, rules, w), RecordVerdict::Nothing);
    }

    void lessonNumbers() {
        QCOMPARE(ConvertLessonNumber("1"), QString("001A1"));
        QCOMPARE(ConvertLessonNumber("Lektion 7"), QString("007A1"));
        QCOMPARE(ConvertLessonNumber("12"), QString("012A1"));
        QCOMPARE(ConvertLessonNumber("123"), QString("123A1"));
        QCOMPARE(ConvertLessonNumber("007 "), QString("007A1"));
        QCOMPARE(ConvertLessonNumber("12345678"), QString("12345"));
        QCOMPARE(ConvertLessonNumber("3a"), QString("3a"));
        QCOMPARE(ConvertLessonNumber("Lektionen"), QString("Lekti"));
        QCOMPARE(FileLessonCode(2), QString("002A1"));
        QCOMPARE(FileLessonCode(1200), QString("999A1"));
        QCOMPARE(FileLessonTitle("/x/y/Verben.neu.txt"), QString("Verben.neu"));
    }

    void roundTripThroughFile() {
        // Words with umlauts, several meanings, separators and replacement
        // characters' neighbours inside values, all fields exported.
        const QString source = freshTable();
        {
            engine::Query q;
            q.addSql("SELECT * FROM " + engine::quoteLiteral(source));
            q.open();
            q.first();
            q.edit();
            q.setValue("Fremdwort", "sch\u00F6n, gut");
            q.setValue("Uebersetzung", "h\u00FCbsch\r\nfein, edel");
            q.setValue("Extra", "Zeile 1\r\nZeile\t2");
            q.setValue("Wortart", 3);
            q.setValue("Schwierigkeit", 5);
            q.post();
            q.insertRecord({QVariant(), "002A1", "rex", "K\u00F6nig", "", "", "", "", "",   "",
                            "regis",    "m.",    2,     "",           1,  7,  3,  0,  true, false});
            q.insertRecord({QVariant(), "002A1", "videre", "sehen", "video", "",   "",
                            "",         "",      "",       "",      "",      0,    "",
                            0,          0,       0,        0,       false,   false});
        }
        ExportSettings s = ExportSettings::defaults();
        s.fields.fill(true);
        s.fields[0] = false;
        for (bool emptyReplacement : {false, true}) {
            s.separators = ExportSeparators();
            if (emptyReplacement) s.separators.fieldReplacement.clear();
            const QString file = dir.filePath("round.txt");
            engine::Query rows;
            rows.setRequestLive(false);
            rows.addSql("SELECT * FROM " + engine::quoteLiteral(source));
            rows.open();
            QString text = ExportTextHeader(s, source, "heute");
            for (int r = 0; r < rows.recordCount(); ++r) {
                rows.setRecNo(r);
                ExchangeWord w;
                for (int p = 1; p <= 14; ++p)
                    w[p] = rows.asString(ExportFieldName(p));
                w.wortart = rows.asInteger("Wortart");
                w.schwierigkeit = rows.asInteger("Schwierigkeit");
                AppendExportRecord(text, w, s);
            }
            writeFile(file, platform::codec::toBytes(text));

            const QString target = freshTable();
            const ImportSummary summary = RunImport(target, exportPlan(file));
            QVERIFY2(summary.ok, qPrintable(summary.error));
            QCOMPARE(summary.words, 3);
            QCOMPARE(summary.lessonLines, (QStringList{"001A1", "002A1"}));
            QCOMPARE(summary.firstLesson, QString("001A1"));
            // The list is in place with the words: written before they were
            // committed, tied to the table, put in place after.
            QVERIFY(summary.listSaved);
            QCOMPARE(readFile(target.chopped(3) + ".lst"), QByteArray("001A1\r\n002A1\r\n"));
            QVERIFY(
                QDir(dir.path()).entryList({"*.pending"}, QDir::Files | QDir::Hidden).isEmpty());
            const QStringList words = wordsOf(target);
            // An unset word class and difficulty come back as "Sonstiges" and
            // "Normal"; an empty replacement splits the remark at its TAB.
            QCOMPARE(
                words.value(0),
                emptyReplacement
                    ? QString(
                          "001A1:sch\u00F6n, gut=h\u00FCbsch\r\nfein, edel|3|5|Zeile 1\r\nZeile")
                    : QString("001A1:sch\u00F6n, gut=h\u00FCbsch\r\nfein, edel|3|5|Zeile "
                              "1\r\nZeile\t2"));
            QCOMPARE(words.value(1), QString("002A1:rex=K\u00F6nig|2|1|"));
            QCOMPARE(words.value(2), QString("002A1:videre=sehen|14|3|"));
            QCOMPARE(words.size(), 3);
            // Quiz counters start afresh; the other fields come back too.
            engine::Query q;
            q.addSql("SELECT * FROM " + engine::quoteLiteral(target) +
                     " WHERE Fremdwort = \"rex\"");
            q.open();
            QCOMPARE(q.asString("Genitiv"), QString("regis"));
            QCOMPARE(q.asString("Genus"), QString("m."));
            QCOMPARE(q.asInteger("Anzahl_Abfragen"), 0);
            QCOMPARE(q.asBoolean("Letzte_gewusst"), false);
        }
    }

    void malformedFiles() {
        // A header cut short holds no words; the new table keeps its one record.
        const ExportSettings s = ExportSettings::defaults();
        const QString header = ExportTextHeader(s, "x", "d");
        QString file = dir.filePath("cut.txt");
        writeFile(file, platform::codec::toBytes(header.left(header.size() - 30)));
        QString target = freshTable();
        ImportSummary summary = RunImport(target, exportPlan(file));
        QVERIFY(summary.ok);
        QCOMPARE(summary.words, 0);
        QCOMPARE(wordsOf(target).size(), 1);

        // Blank lines, records with too many fields, a missing last separator.
        file = dir.filePath("odd.txt");
        writeFile(file, platform::codec::toBytes(header + "\r\na\tb\t002A1\textra\tmore\r\n\r\n"
                                                          "\tnur\t001A1\r\nc\td\t003A1"));
        target = freshTable();
        summary = RunImport(target, exportPlan(file));
        QVERIFY(summary.ok);
        QCOMPARE(summary.words, 3);
        QCOMPARE(summary.incomplete, 2);
        QCOMPARE(wordsOf(target),
                 (QStringList{"002A1:a=b|14|3|", "001A1:=nur|14|3|", "003A1:c=d|14|3|"}));

        // An export whose line ends were all turned into lone CRs names CR as
        // its record separator; its header lines end with CR as well.
        ExportSettings cr = ExportSettings::defaults();
        cr.separators.record = "\r";
        file = dir.filePath("cr.txt");
        writeFile(file, platform::codec::toBytes(
                            QString(ExportTextHeader(cr, "x", "d")).replace("\r\n", "\r") +
                            "a\tb\t002A1\rc\td\t003A1\r"));
        target = freshTable();
        summary = RunImport(target, exportPlan(file));
        QCOMPARE(wordsOf(target), (QStringList{"002A1:a=b|14|3|", "003A1:c=d|14|3|"}));

        // A file that fails part-way stores nothing at all.
        const QString good = dir.filePath("good.txt");
        writeFile(good, "eins\tone\r\nzwei\ttwo\r\n");
        target = freshTable();
        summary = RunImport(target, universalPlan({good, dir.filePath("vanished.txt")}, {1, 2}));
        QVERIFY(!summary.ok);
        QVERIFY(summary.error.contains("vanished.txt"));
        QCOMPARE(wordsOf(target), (QStringList{"001A1:=|14|3|"}));
        // So does a FIFO among the files, without waiting for a writer.
        const QString fifo = dir.filePath("rohr.txt");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        target = freshTable();
        summary = RunImport(target, universalPlan({good, fifo}, {1, 2}));
        QVERIFY(!summary.ok);
        QVERIFY(summary.error.contains("keine gewöhnliche Datei"));
        QCOMPARE(wordsOf(target), (QStringList{"001A1:=|14|3|"}));
    }

    void universalColumnMap() {
        // Foreign word, an ignored column, translation, lesson number; a
        // UTF-8 file with LF line ends.
        const QString file = dir.filePath("liste.txt");
        writeFile(file, "amo\tx\tich liebe, ich mag\t1\nvideo\tx\tich sehe\tLektion 12\n"
                        "gr\xC3\xBC\xC3\x9F Gott\tx\tHallo\t3a\n"
                        "salve\tx\tsei gegr\xC3\xBC\xC3\x9Ft\tNomen\n\n");
        ImportPlan plan = universalPlan({file}, {1, 111, 2, 3});
        plan.rules.convertLessonNumbers = true;
        ImportSummary summary = RunImport(freshTable(), plan);
        QVERIFY(summary.ok);
        QCOMPARE(summary.words, 4);
        QCOMPARE(summary.lessonsReplaced, 2);
        QCOMPARE(wordsOf(dir.filePath(QString("t%1.ol").arg(tables))),
                 (QStringList{"001A1:amo=ich liebe\r\nich mag|14|3|", "012A1:video=ich sehe|14|3|",
                              "001A1:grüß Gott=Hallo|14|3|", "001A1:salve=sei gegrüßt|14|3|"}));

        // Lone CRs end lines as LF and CR LF do: every word keeps its columns.
        const QString mac = dir.filePath("mac.txt");
        writeFile(mac, "dare\tgeben\resse\tsein\t\r\nire\tgehen\r");
        summary = RunImport(freshTable(), universalPlan({mac}, {1, 2}));
        QCOMPARE(summary.incomplete, 0);
        QCOMPARE(wordsOf(dir.filePath(QString("t%1.ol").arg(tables))),
                 (QStringList{"001A1:dare=geben|14|3|", "001A1:esse=sein|14|3|",
                              "001A1:ire=gehen|14|3|"}));

        // Columns beyond the tenth are read too.
        const QString wide = dir.filePath("wide.txt");
        writeFile(wide, "1;2;3;4;5;6;7;8;9;10;amo;lieben\r\n");
        plan = universalPlan({wide}, FieldCodes(10, SkippedColumnCode) << 1 << 2);
        plan.rules.separators.field = ";";
        summary = RunImport(freshTable(), plan);
        QCOMPARE(summary.words, 1);
        QCOMPARE(wordsOf(dir.filePath(QString("t%1.ol").arg(tables))).value(0),
                 QString("001A1:amo=lieben|14|3|"));

        // One lesson per file, titled by the file's name; a file that holds
        // no text is left out.
        QTemporaryDir folder;
        writeFile(folder.filePath("a.txt"), "eins\tone\r\n");
        writeFile(folder.filePath("b.txt"), "zwei\ttwo\r\ndrei\tthree\r\n");
        writeFile(folder.filePath("c.ol"), QByteArray("SQLite\0\tformat\r\n", 16));
        plan = universalPlan(
            {folder.filePath("a.txt"), folder.filePath("b.txt"), folder.filePath("c.ol")}, {1, 2});
        plan.lessonPerFile = true;
        summary = RunImport(freshTable(), plan);
        QCOMPARE(summary.lessonLines, (QStringList{"001A1a", "002A1b"}));
        QCOMPARE(summary.skippedFiles, QStringList{folder.filePath("c.ol")});
        QCOMPARE(wordsOf(dir.filePath(QString("t%1.ol").arg(tables))),
                 (QStringList{"001A1:eins=one|14|3|", "002A1:zwei=two|14|3|",
                              "002A1:drei=three|14|3|"}));
    }

    void universalDialog() {
        TImportForm form;
        form.FormShow();
        QCOMPARE(form.ComboBox1->currentText(), QString("Fremdwort"));
        QCOMPARE(form.ComboBox2->currentText(), QString("Übersetzung"));
        QCOMPARE(form.lblpreview->text(), QString("FremdwortTabulatorÜbersetzung"));
        QCOMPARE(form.columnCodes().mid(0, 3), (FieldCodes{1, 2, 0}));

        // Two "Leer" columns are fine, a field twice is not.
        form.ComboBox3->setCurrentIndex(15);
        form.ComboBox4->setCurrentIndex(15);
        QCOMPARE(form.columnTag(3), SkippedColumnCode);
        form.setResult(0);
        form.Button1Click();
        QCOMPARE(form.result(), 1);
        form.ComboBox5->setCurrentIndex(13);
        form.ComboBox12->setCurrentIndex(13);
        form.setResult(0);
        form.Button1Click();
        QCOMPARE(form.result(), 0);
        QCOMPARE(boxes.last().text, QString("Es darf jedes Feld nur einmal ausgewählt werden!"));
        form.ComboBox12->setCurrentIndex(0);

        // Equal separators are refused and do not become the separators in force.
        form.cmbUebersetzung->setEditText("Tabulator");
        form.Button1Click();
        QCOMPARE(form.result(), 0);
        QCOMPARE(boxes.last().text, QString("Es darf kein Trennzeichen doppelt auftreten!"));
        QCOMPARE(ExportTranslationSeparator, QString(", "));
        form.cmbUebersetzung->setEditText(";");
        QCOMPARE(form.separators().translation, QString(";"));
        QCOMPARE(form.separators().record, QString("\r\n"));

        // Without a translation column no word could be made.
        form.ComboBox2->setCurrentIndex(0);
        form.Button1Click();
        QCOMPARE(form.result(), 0);

        // The two options exclude each other.
        form.chkLektion->setChecked(true);
        form.chkAlleDateienMouseDown();
        QVERIFY(!form.chkLektion->isChecked());
        form.chkAlleDateien->setChecked(true);
        form.chkLektionClick();
        QVERIFY(!form.chkAlleDateien->isChecked());
    }

    void mainWindowRoad() {
        // A database with words in two lessons is exported from the menu and
        // imported into a new database.
        QTemporaryDir program;
        platform::ensureFolder(program.filePath("data"));
        TForm1 window;
        Form1 = &window;
        window.FormCreate({}, program.path());
        DialogNeu = new TDialogNeu;
        Exportform = new TExportform;
        ImportForm = new TImportForm;
        QString nameForNew = "Quelle";
        bool greek = false;
        platform::setModalHandler([&](QDialog& d) {
            if (auto* neu = qobject_cast<TDialogNeu*>(&d)) {
                neu->EditName->setText(nameForNew);
                (greek ? neu->RGriechisch : neu->RLatein)->setChecked(true);
                return 1;
            }
            if (auto* form = qobject_cast<TExportform*>(&d)) {
                form->chkWortart->setChecked(true);
                form->btnWeiterClick();
                return form->result();
            }
            if (auto* form = qobject_cast<TImportForm*>(&d)) {
                form->Button1Click();
                return form->result();
            }
            return 0;
        });
        ExportinTextdatei1Click();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, QString("Bitte öffnen Sie zuerst die gewünschte Datenbank"));
        boxes.clear();

        QCOMPARE(window.NeuClick2(), false);
        const QString source = CurrentTablePath;
        {
            engine::Query q;
            q.addSql("SELECT * FROM " + engine::quoteLiteral(source));
            q.open();
            window.Query->close();
            q.first();
            q.edit();
            q.setValue("Fremdwort", "amare");
            q.setValue("Uebersetzung", "lieben\r\nm\u00F6gen");
            q.setValue("Wortart", 1);
            q.post();
            q.insertRecord({QVariant(), "005B2", "rex", "K\u00F6nig", "", "", "", "",
                            "",         "",      "",    "",           2,  "", 3,  0,
                            0,          0,       false, false});
            window.EnableDatabaseControls();
        }
        const QString file = dir.filePath("export");
        ChooseExportFile = [&](int filterIndex) { return filterIndex == 1 ? file : QString(); };
        ExportinTextdatei1Click();
        QVERIFY2(boxes.isEmpty(), qPrintable(boxes.value(0).text));
        QVERIFY(QFile::exists(file + ".txt"));
        QCOMPARE(CurrentTablePath, source);
        QVERIFY(window.Query->isActive());
        // Declining to overwrite leaves the file as it was.
        writeFile(file + ".txt", "alt");
        nextAnswer = platform::Answer::No;
        ExportinTextdatei1Click();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, QString("Datei schon vorhanden. Überschreiben?"));
        {
            QFile kept(file + ".txt");
            QVERIFY(kept.open(QIODevice::ReadOnly));
            QCOMPARE(kept.readAll(), QByteArray("alt"));
        }
        boxes.clear();
        nextAnswer = platform::Answer::Yes;
        ExportinTextdatei1Click();
        QCOMPARE(boxes.size(), 1);
        boxes.clear();
        nextAnswer = platform::Answer::Ok;

        nameForNew = "Ziel";
        ChooseImportFile = [&] { return file + ".txt"; };
        ImportvonTextdatei1Click();
        QVERIFY2(boxes.isEmpty(), qPrintable(boxes.value(0).text));
        QCOMPARE(CurrentTablePath, program.filePath("Latein/Ziel.ol"));
        QCOMPARE(wordsOf(CurrentTablePath), (QStringList{"001A1:amare=lieben\r\nm\u00F6gen|1|3|",
                                                         "005B2:rex=K\u00F6nig|2|3|"}));
        QCOMPARE(baumlist.lines(), (QStringList{"001A1", "005B2"}));
        LessonList saved;
        QVERIFY(saved.load(program.filePath("Latein/Ziel.lst")));
        QCOMPARE(saved.lines(), baumlist.lines());
        QCOMPARE(CurrentLessonCode, QString("001A1"));
        QCOMPARE(window.Query->recordCount(), 1);
        // The imported database is in the recent list at once.
        QCOMPARE(GeneralOptions.Recent[0].Path, CurrentTablePath);

        // A file that is no export and that the user does not want to describe
        // creates no database.
        const QString list = dir.filePath("liste.csv");
        writeFile(list, "amo;ich liebe\r\n");
        ChooseImportFile = [&] { return list; };
        nextAnswer = platform::Answer::No;
        nameForNew = "Unerwuenscht";
        ImportvonTextdatei1Click();
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].text.startsWith("Die ausgewählte Datei ist ungültig."));
        QVERIFY(!QFile::exists(program.filePath("Latein/Unerwuenscht.ol")));
        QCOMPARE(CurrentTablePath, program.filePath("Latein/Ziel.ol"));

        // With Yes the universal import reads it.
        boxes.clear();
        nextAnswer = platform::Answer::Yes;
        ImportForm->cmbFeld->setEditText(";");
        ImportvonTextdatei1Click();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(wordsOf(program.filePath("Latein/Unerwuenscht.ol")),
                 (QStringList{"001A1:amo=ich liebe|14|3|"}));
        QCOMPARE(ImportForm->Memo1->toPlainText(), QString("amo;ich liebe"));

        // A Greek database made by it while a Latin one is open lies in the
        // Greek folder alone.
        const QStringList latin = QDir(program.filePath("Latein")).entryList(QDir::Files);
        boxes.clear();
        greek = true;
        nameForNew = "Homer";
        ImportvonTextdatei1Click();
        QCOMPARE(CurrentTablePath, program.filePath("Griechisch/Homer.ol"));
        QCOMPARE(wordsOf(CurrentTablePath), (QStringList{"001A1:amo=ich liebe|14|3|"}));
        QCOMPARE(QDir(program.filePath("Latein")).entryList(QDir::Files), latin);

        platform::setModalHandler({});
        delete DialogNeu;
        delete Exportform;
        delete ImportForm;
        DialogNeu = nullptr;
        Exportform = nullptr;
        ImportForm = nullptr;
        window.Query->close();
        Form1 = nullptr;
    }
};

QTEST_MAIN(TestImport)
#include "tst_import.moc"
