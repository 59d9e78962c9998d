// The export file byte by byte: header, records, escaping of separators and
// the RTF form; the check of the separators the dialog confirms; files written
// from a real table.
#include "database/currentdatabase.h"
#include "database/databaseoptions.h"
#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "exchange/exportfile.h"
#include "exchange/exportformat.h"
#include "exchange/exportwindow.h"
#include "mainwindow/mainwindow.h"
#include "platform/codec.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/paths.h"
#include "support/filesizelimit.h"
#include "support/testfiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray bytes(const QString& stored) {
    return platform::codec::toBytes(stored);
}

ExchangeWord word(const QString& fremdwort, const QString& uebersetzung, const QString& lektion) {
    ExchangeWord w;
    w[FieldFremdwort] = fremdwort;
    w[FieldUebersetzung] = uebersetzung;
    w[FieldLektion] = lektion;
    return w;
}

ExportSettings rtfSettings() {
    ExportSettings s = ExportSettings::defaults();
    s.rtf = true;
    s.separators.record = SeparatorFromChoice("Zeilenumbruch", true);
    s.separators.field = SeparatorFromChoice("Tabulator", true);
    s.fonts[0] = {"Times New Roman", 161, 14};
    s.fonts[1] = {"Arial", 0, 11};
    return s;
}

void insertWord(engine::Query& q, const QString& lektion, const QString& fremdwort,
                const QString& uebersetzung, int wortart = 14, const QString& extra = {}) {
    q.insertRecord({QVariant(), lektion, fremdwort, uebersetzung, "", "", "", "", "",    "",
                    "",         "",      wortart,   extra,        3,  0,  0,  0,  false, false});
}

} // namespace

class TestExportFormat : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QList<platform::MessageBoxRequest> boxes;
    platform::Answer answer = platform::Answer::Ok;

  private slots:
    void initTestCase() {
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
            boxes << r;
            return answer;
        });
    }
    void cleanupTestCase() { platform::setMessageBoxHandler({}); }
    void init() {
        boxes.clear();
        answer = platform::Answer::Ok;
        ExportSeparators().publish();
    }

    void textHeaderBytes() {
        const QByteArray expected =
            "11100000000000\r\nB\tB, B\xA7$B~+B##\xE5\r\n"
            "\r\n"
            "Export aus der Datei \"/v/Latein/Caesar.ol\", durchgef\xFChrt am \"01.02.2024\"\r\n"
            "\r\n" +
            QByteArray(84, '-') + "\r\n\r\n";
        QCOMPARE(bytes(ExportTextHeader(ExportSettings::defaults(), "/v/Latein/Caesar.ol",
                                        "01.02.2024")),
                 expected);
    }

    void textRecordsWithSpecialCharacters() {
        const ExportSettings s = ExportSettings::defaults();
        QCOMPARE(bytes(ExportRecord(word("amare", "lieben", "001A1"), s)),
                 QByteArray("amare\tlieben\t001A1\r\n"));
        // Meanings on two lines are joined by ", "; a ", " inside a meaning
        // becomes "##"; a TAB in the word "~+"; umlauts are single bytes.
        QCOMPARE(
            bytes(ExportRecord(word("sch\u00F6n\tgut", "gut, fein\r\nm\u00F6gen", "002B3"), s)),
            QByteArray("sch\xF6n~+gut\tgut##fein, m\xF6gen\t002B3\r\n"));
        // A stray LF separates meanings like a CR LF does.
        QCOMPARE(bytes(ExportRecord(word("a", "eins\nzwei\r\ndrei", "001A1"), s)),
                 QByteArray("a\teins, zwei, drei\t001A1\r\n"));
    }

    void fieldSelectionAndEmptyFields() {
        ExportSettings s = ExportSettings::defaults();
        s.fields = {};
        s.fields[FieldFremdwort] = true;
        QCOMPARE(ExportRecord(word("amo", "ich liebe", "001A1"), s), QString("amo\r\n"));

        s = ExportSettings::defaults();
        s.fields[FieldWortart] = s.fields[FieldSchwierigkeit] = s.fields[FieldExtra] = true;
        ExchangeWord w = word("amo", "ich liebe", "001A1");
        w.wortart = 0;
        w.schwierigkeit = 5;
        w[FieldExtra] = "Zeile1\r\nZeile2";
        QCOMPARE(ExportRecord(w, s),
                 QString("amo\tich liebe\t001A1\t\tSehr schwierig\tZeile1§$Zeile2\r\n"));
        s.emptyFields = false;
        w.wortart = 4;
        w[FieldExtra].clear();
        QCOMPARE(
            ExportRecord(w, s),
            QString("amo\tich liebe\t001A1\tPräposition (Verhältniswort)\tSehr schwierig\r\n"));
        // Nothing written, not even the record separator.
        QCOMPARE(ExportRecord(ExchangeWord{.text = {}, .wortart = 0, .schwierigkeit = 0}, s),
                 QString());
    }

    void escapingRules() {
        ExportSeparators s;
        QCOMPARE(EscapeSeparators("a\tb, c\r\nd", s), QString("a~+b##c§$d"));
        QCOMPARE(UnescapeSeparators("a~+b##c§$d", s), QString("a\tb, c\r\nd"));
        // An occurrence at the very end, and inserted text is not scanned again.
        QCOMPARE(ReplaceEvery("xaa", "a", "aa"), QString("xaaaa"));
        QCOMPARE(ReplaceEvery("abc", "", "x"), QString("abc"));
        // An empty replacement leaves its separator in the value.
        s.fieldReplacement.clear();
        QCOMPARE(EscapeSeparators("a\tb", s), QString("a\tb"));
        QCOMPARE(UnescapeSeparators("a\tb##", s), QString("a\tb, "));
        // So does the translation's own separator: "a, b" keeps its ", ".
        ExportSeparators keep;
        keep.translationReplacement.clear();
        QCOMPARE(TranslationExportForm("a, b\r\nc", keep), QString("a, b, c"));
        ExportSettings kept = ExportSettings::defaults();
        kept.separators = keep;
        QCOMPARE(ExportRecord(word("x", "a, b", "001A1"), kept), QString("x\ta, b\t001A1\r\n"));
        // The global set is what the plain overloads use.
        s.publish();
        QCOMPARE(ExportFieldReplacement, QString());
        QCOMPARE(EscapeSeparators("x, y"), QString("x##y"));
    }

    void unreadableValues() {
        ExportSettings s = ExportSettings::defaults();
        s.fields[FieldExtra] = true;
        ExchangeWord w = word("a\tb", "x, y\r\nz", "001A1");
        w[FieldExtra] = "eins\r\nzwei";
        // Every separator inside a value has its replacement.
        QCOMPARE(UnreadableExportValues(w, s), 0);
        // Without one, the value ends its field early, wherever it stands.
        s.separators.fieldReplacement.clear();
        QCOMPARE(UnreadableExportValues(w, s), 1);
        w[FieldExtra] = "eins\tzwei";
        QCOMPARE(UnreadableExportValues(w, s), 2);
        w[FieldUebersetzung] = "x\ty";
        QCOMPARE(UnreadableExportValues(w, s), 3);
        s = ExportSettings::defaults();
        s.separators.recordReplacement.clear();
        QCOMPARE(UnreadableExportValues(word("a\r\nb", "x", "001A1"), s), 1);
        // A meaning holding the translation separator comes back as two; the
        // same text elsewhere, and line breaks between meanings, come back.
        s = ExportSettings::defaults();
        s.separators.translationReplacement.clear();
        QCOMPARE(UnreadableExportValues(word("a, b", "x, y\r\nz", "001A1"), s), 1);
        QCOMPARE(UnreadableExportValues(word("a, b", "x\r\nz", "001A1"), s), 0);
        // A meaning whose end begins the separator after it parts there too,
        // replacement or not; one that only starts with the separator's end
        // comes back.
        s.separators.translation = "::";
        QCOMPARE(UnreadableExportValues(word("a", "x:\r\ny", "001A1"), s), 1);
        QCOMPARE(UnreadableExportValues(word("a", "x\r\n:y\r:", "001A1"), s), 0);
        s.separators.translationReplacement = "##";
        QCOMPARE(UnreadableExportValues(word("a", "x::y:\r\nz", "001A1"), s), 1);
        QCOMPARE(UnreadableExportValues(word("a", "x::y\r\nz:", "001A1"), s), 0);
        // Lessons and names are written as they are; a separator that begins
        // in a value's last character ends the field there too.
        s = ExportSettings::defaults();
        s.separators.field = "A";
        QCOMPARE(UnreadableExportValues(word("x", "y", "001A1"), s), 1);
        s.separators.field = "::";
        QCOMPARE(UnreadableExportValues(word("a:", "b", "001A1"), s), 1);
        QCOMPARE(UnreadableExportValues(word("a:b", "b", "001A1"), s), 0);
        // Fields left out are not read, RTF files not at all.
        s = ExportSettings::defaults();
        s.separators.fieldReplacement.clear();
        s.fields[FieldExtra] = true;
        w = word("a", "b", "001A1");
        w[FieldExtra] = "x\ty";
        s.fields[FieldExtra] = false;
        QCOMPARE(UnreadableExportValues(w, s), 0);
        s.fields[FieldExtra] = true;
        s.rtf = true;
        QCOMPARE(UnreadableExportValues(w, s), 0);
    }

    void rtfForm() {
        const ExportSettings s = rtfSettings();
        QCOMPARE(RtfProlog(s), QString("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset161 "
                                       "Times New Roman;}{\\f1\\fnil\\fcharset0 Arial;}}\r\n"));
        // The translation's separator is escaped with it; the lesson's is not.
        QCOMPARE(bytes(ExportRecord(word("\u00E4b", "m\u00F6gen\r\nx", "001A1"), s)),
                 QByteArray("\\f0\\fs28 \\'E4b\\f1\\fs22 \\tab\\'20m\\'F6gen\\'2C\\'20x"
                            "\\f1\\fs22 \\tab 001A1\\par\r\n"));
        QCOMPARE(RtfEscape("a\\b'c d\r"), QString("a\\b'c\\'20d\\'0D"));
        QCOMPARE(RtfEscape("ä x", false), QString("ä x"));
        // A long value is escaped through to its end.
        const QString longValue = "ä" + QString(58, 'a') + ".";
        QCOMPARE(RtfEscape(longValue), "\\'E4" + QString(58, 'a') + "\\'2E");
        // Word class: only the name is escaped.
        ExportSettings withClass = s;
        withClass.fields = {};
        withClass.fields[FieldFremdwort] = withClass.fields[FieldWortart] = true;
        ExchangeWord w = word("a", "", "");
        w.wortart = 13;
        QCOMPARE(ExportRecord(w, withClass),
                 QString("\\f0\\fs28 a\\f1\\fs22 \\tab Ausdruck\\par\r\n"));
    }

    void separatorCheck() {
        auto check = [](std::array<QString, 6> typed, bool rtf = false) {
            return CheckExportSeparators(typed, rtf);
        };
        SeparatorCheck c = check({"Zeilenumbruch", "Tabulator", ", ", "§$", "", "##"});
        QVERIFY(c.ok);
        QCOMPARE(c.separators.record, QString("\r\n"));
        QCOMPARE(c.separators.field, QString("\t"));
        QCOMPARE(c.separators.fieldReplacement, QString());
        QVERIFY(!check({"Zeilenumbruch", " ", ", ", "§$", "~+", "##"}).ok);
        QVERIFY(!check({"Zeilenumbruch", "", ", ", "§$", "~+", "##"}).ok);
        // A separator given twice is pointed out and the export goes on.
        c = check({"Zeilenumbruch", ", ", ", ", "§$", "~+", "##"});
        QVERIFY(c.ok);
        QCOMPARE(c.message, QString("Das Trennzeichen \", \" wurde mehrmals angegeben!"));
        QCOMPARE(c.separators.field, QString(", "));
        // Characters that would break the descriptor are refused for text.
        QVERIFY(!check({"Zeilenumbruch", "Tabulator", "B", "§$", "~+", "##"}).ok);
        QVERIFY(!check({"Zeilenumbruch", "Tabulator", ", ", "§$", "~+", "å"}).ok);
        c = check({"Zeilenumbruch", ", ", ", ", "§$", "~+", "##"}, true);
        QVERIFY(c.ok);
        QCOMPARE(c.message, QString("Das Trennzeichen \", \" wurde mehrmals angegeben!"));
        QCOMPARE(c.separators.record, QString("\\par\r\n"));
    }

    void fileNames() {
        QCOMPARE(ExportFileName("/home/u/woerter", false), QString("/home/u/woerter.txt"));
        QCOMPARE(ExportFileName("/home/u/woerter", true), QString("/home/u/woerter.rtf"));
        QCOMPARE(ExportFileName("/home/u/w.lst", true), QString("/home/u/w.lst"));
        QCOMPARE(ExportFileName("/home/u.v/woerter", false), QString("/home/u.v/woerter.txt"));
    }

    void fileFromTable() {
        const QString table = dir.filePath("Caesar.ol");
        engine::Query q;
        CreateVocabularyTable(q, table);
        q.clearSql();
        q.addSql("SELECT * FROM " + engine::quoteLiteral(table));
        q.open();
        insertWord(q, "001A1", "amare", "lieben\r\nmögen");
        insertWord(q, "001A1", "", ""); // incomplete: not exported
        insertWord(q, "002A1", "rex", "König", 2, "\"m.\"");
        insertWord(q, "002A1", "videre", "sehen");
        q.close();

        engine::Query rows;
        rows.setRequestLive(false);
        rows.setSql(WholeTableExportSql(table));
        rows.open();
        ExportSettings s = ExportSettings::defaults();
        const QString out = dir.filePath("out.txt");
        ExportOutcome outcome = WriteExportFile(out, rows, s, table, "1.1.2024");
        QVERIFY(outcome.ok);
        QCOMPARE(outcome.words, 3);
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes(ExportTextHeader(s, table, "1.1.2024")) +
                                     "amare\tlieben, m\xF6gen\t001A1\r\n"
                                     "rex\tK\xF6nig\t002A1\r\n"
                                     "videre\tsehen\t002A1\r\n");
        file.close();

        // Hits of a search by their IDs, in the order of the list.
        rows.close();
        rows.setSql(IdListExportSql(table, {4, 1, 99}));
        rows.open();
        const QVector<int> order = RowsOfIds(rows, {4, 1, 99});
        QCOMPARE(order.size(), 2);
        s.fields[FieldLektion] = false;
        outcome = WriteExportFile(out, rows, s, table, "1.1.2024", &order);
        QVERIFY(outcome.ok);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().endsWith("\r\n\r\nvidere\tsehen\r\namare\tlieben, m\xF6gen\r\n"));
        file.close();

        // An empty selection still has its header; RTF its prolog and end.
        rows.close();
        rows.setSql(IdListExportSql(table, {}));
        rows.open();
        QVERIFY(WriteExportFile(out, rows, s, table, "d").ok);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes(ExportTextHeader(s, table, "d")));
        file.close();
        const ExportSettings r = rtfSettings();
        QVERIFY(WriteExportFile(out, rows, r, table, "d").ok);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes(RtfProlog(r) + "}\r\n"));
        file.close();

        // A file that cannot be written is reported and nothing is claimed.
        outcome = WriteExportFile(dir.filePath("missing/folder/x.txt"), rows, s, table, "d");
        QVERIFY(!outcome.ok);
        QVERIFY(outcome.error.contains("x.txt"));
        engine::releaseTable(table);
    }

    // An export that does not fit on the disk is reported as failed and the
    // file that was there stays whole.
    void exportOnAFullDiskKeepsTheOldFile() {
        const QString table = dir.filePath("Voll.ol");
        engine::Query q;
        CreateVocabularyTable(q, table);
        q.clearSql();
        q.addSql("SELECT * FROM " + engine::quoteLiteral(table));
        q.open();
        {
            engine::Transaction batch(table);
            for (int i = 0; i < 300; ++i)
                insertWord(q, "001A1", QString("wort%1").arg(i), QString(40, 'u'));
            batch.commit();
        }
        q.close();
        engine::Query rows;
        rows.setRequestLive(false);
        rows.setSql(WholeTableExportSql(table));
        rows.open();
        const QString out = dir.filePath("voll.txt");
        writeFile(out, "alter Export");
        ExportOutcome outcome;
        {
            FileSizeLimit full(8192);
            outcome = WriteExportFile(out, rows, ExportSettings::defaults(), table, "d");
        }
        QVERIFY(!outcome.ok);
        QCOMPARE(outcome.words, 0);
        QVERIFY(outcome.error.contains("nicht vollständig geschrieben"));
        QVERIFY(outcome.error.contains("Datenträger"));
        QCOMPARE(readFile(out), QByteArray("alter Export"));
        rows.close();
        engine::releaseTable(table);
    }

    // From the menu, as a user would: the same separator for fields and
    // translations is pointed out, and the file is written all the same;
    // values that would not read back are asked about, and "Nein" keeps the
    // dialog open with nothing written.
    void repeatedSeparatorIsReportedAndTheExportWritten() {
        QTemporaryDir program;
        const QString table = program.filePath("Latein/Caesar.ol");
        platform::ensureFolder(program.filePath("Latein"));
        platform::ensureFolder(program.filePath("data"));
        {
            engine::Query q;
            CreateVocabularyTable(q, table);
            q.setSql({"SELECT * FROM " + engine::quoteLiteral(table)});
            q.open();
            insertWord(q, "001A1", "rex;regis", "König; Herrscher");
            insertWord(q, "001A1", "amare", "lieben\r\nmögen");
        }
        QVERIFY(LessonList({"001A1"}).save(program.filePath("Latein/Caesar.lst")));
        QVERIFY(TDatabaseOptionsRec::forNewDatabase("Latein").save(
            program.filePath("Latein/Caesar.opt")));
        TForm1 window;
        Form1 = &window;
        window.FormCreate({}, program.path());
        window.OpenVocabularyDatabase(table);
        Exportform = new TExportform;
        platform::setModalHandler([](QDialog& d) {
            auto* form = qobject_cast<TExportform*>(&d);
            form->btnStandardClick();
            form->cmbFeld->setEditText(", ");
            form->setResult(0);
            form->btnWeiterClick();
            return form->result();
        });
        const QString file = dir.filePath("doppelt.txt");
        ChooseExportFile = [&](int) { return file; };
        boxes.clear();
        ExportinTextdatei1Click();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].caption, QString("Information"));
        QCOMPARE(boxes[0].text, QString("Das Trennzeichen \", \" wurde mehrmals angegeben!"));
        QVERIFY(readFile(file).endsWith("amare, lieben~+m\xF6gen, 001A1\r\n"));
        QVERIFY(window.Query->isActive());

        int resultAfterQuestion = -1;
        platform::setModalHandler([&](QDialog& d) {
            auto* form = qobject_cast<TExportform*>(&d);
            form->btnStandardClick();
            form->cmbFeld->setEditText(";");
            form->editErsatzFeld->clear();
            form->setResult(0);
            form->btnWeiterClick();
            resultAfterQuestion = form->result();
            return form->result();
        });
        const QString unreadable = dir.filePath("ohne.txt");
        ChooseExportFile = [&](int) { return unreadable; };
        boxes.clear();
        answer = platform::Answer::No;
        ExportinTextdatei1Click();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].caption, QString("Achtung"));
        QCOMPARE(boxes[0].buttons, platform::Buttons::YesNo);
        QCOMPARE(boxes[0].text,
                 QString("2 Werte enthalten ein Trennzeichen ohne Ersatzzeichen oder enden mit "
                         "dem Anfang eines Trennzeichens; sie werden beim Importieren nicht "
                         "richtig gelesen.\nTrotzdem exportieren?"));
        QCOMPARE(resultAfterQuestion, 0);
        QVERIFY(!QFile::exists(unreadable));
        QCOMPARE(ExportFieldSeparator, QString(", "));
        boxes.clear();
        answer = platform::Answer::Yes;
        ExportinTextdatei1Click();
        QCOMPARE(boxes.size(), 1);
        QVERIFY(readFile(unreadable)
                    .endsWith("\r\n\r\nrex;regis;K\xF6nig; Herrscher;001A1\r\n"
                              "amare;lieben, m\xF6gen;001A1\r\n"));
        QVERIFY(window.Query->isActive());

        platform::setModalHandler({});
        ChooseExportFile = nullptr;
        delete Exportform;
        Exportform = nullptr;
        window.close();
        Form1 = nullptr;
        engine::releaseTable(table);
    }

    void dialogConfirmsAndPublishes() {
        TExportform form;
        QCOMPARE(form.lblErsatz1->text(), QString("\" Tabulator \" :"));
        QCOMPARE(form.lblErsatz2->text(), QString("\" ,  \" :"));
        QVERIFY(form.chkFremdwort->isChecked() && form.chkLektion->isChecked());
        QVERIFY(!form.chkWortart->isChecked() && form.chkLeer->isChecked());

        form.cmbFeld->setEditText(";");
        QCOMPARE(form.lblErsatz1->text(), QString("\" ; \" :"));
        form.editErsatzFeld->setText("");
        form.chkrtf->setChecked(false);
        form.setResult(0);
        form.btnWeiterClick();
        QCOMPARE(form.result(), 1);
        QCOMPARE(ExportFieldSeparator, QString(";"));
        QCOMPARE(ExportFieldReplacement, QString());
        QCOMPARE(ExportRecordSeparator, QString("\r\n"));

        // A separator typed as a blank keeps the dialog open.
        form.cmbUebersetzung->setEditText(" ");
        form.setResult(0);
        form.btnWeiterClick();
        QCOMPARE(form.result(), 0);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.last().text, QString("Bitte alle notwendigen Trennzeichen angeben!"));

        form.chkWortart->setChecked(true);
        form.btnStandardClick();
        QCOMPARE(form.cmbFeld->currentText(), QString("Tabulator"));
        QCOMPARE(form.cmbSatz->currentText(), QString("Zeilenumbruch"));
        QCOMPARE(form.cmbUebersetzung->currentText(), QString(", "));
        QCOMPARE(form.editErsatzFeld->text(), QString("~+"));
        QVERIFY(!form.chkWortart->isChecked());
        QCOMPARE(form.lblErsatz1->text(), QString("\" Tabulator \" :"));

        // The special-form boxes take the main window's captions; the boxes of
        // the forms 4 to 6 are hidden when the language has none.
        form.prepare({"Präsens:", "Futur:", "Perfekt:", "PPP:", "Aor. P.:", "Fut. P.:"}, false);
        QCOMPARE(form.chkPraefut->text(), QString("Präsens"));
        QCOMPARE(form.chkPerfekt_passiv->text(), QString("PPP"));
        QCOMPARE(form.chkAorist_passiv->text(), QString("Aor. P."));
        QVERIFY(form.chkFutur_passiv->isHidden());
        QCOMPARE(form.fieldBox(FieldPerfektPassiv), form.chkPerfekt_passiv);
        QCOMPARE(form.fieldBox(FieldExtra), form.chkExtra);
    }
};

QTEST_MAIN(TestExportFormat)
#include "tst_exportformat.moc"
