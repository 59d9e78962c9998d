// The statements the program builds, run against a real table file: literals,
// Boolean words, LIKE and UPPER, arithmetic, ordering and the statement errors.
#include "engine/query.h"
#include "engine/translator.h"
#include "testtable.h"

#include <QTemporaryDir>
#include <QtTest>

using engine::EngineError;
using engine::quoteLiteral;
using testtable::column;
using testtable::exec;
using testtable::select;

class DialectTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    QString path_;

    QVariantList ids(const QString& rest) { return column(select(path_, rest), "ID"); }
    QString errorOf(const QString& sql) {
        try {
            engine::Query query;
            query.setSql({sql});
            if (sql.startsWith("SELECT"))
                query.open();
            else
                query.execSql();
        } catch (const EngineError& e) {
            return e.message();
        }
        return {};
    }

  private slots:
    void init() {
        path_ = dir_.filePath(QStringLiteral("t%1.ol").arg(QTest::currentTestFunction()));
        testtable::create(path_);
        engine::Query query;
        query.setSql({select(path_)});
        query.open();
        query.insertRecord(testtable::word("001A1", "Haus", "das Haus", 10, 5, true));
        query.insertRecord(testtable::word("001A2", "haus", "house", 4, 1, false));
        query.insertRecord(testtable::word("002A1", "Hütte", "hut", 0, 0, false));
        query.insertRecord(testtable::word("010B1", "Er sagte \"ja\"", "quote", 2, 2, true));
        query.insertRecord(testtable::word("010B1", "Straße", "street", 3, 0, false));
    }

    void cleanup() { engine::releaseTable(path_); }

    void literalsAreBoundNotSpliced() {
        const auto statement = engine::detail::parseStatement(
            QStringLiteral("SELECT * FROM \"C:\\db\\x.ol\" WHERE Fremdwort = \"a\"\" OR 1=1\""));
        QCOMPARE(statement.tablePath, QStringLiteral("C:\\db\\x.ol"));
        engine::detail::Schema schema;
        schema.columns = {{"ID", engine::detail::Column::Kind::Id, 0},
                          {"Fremdwort", engine::detail::Column::Kind::Text, 100}};
        const auto translation = engine::detail::translate(statement, schema);
        QVERIFY(!translation.sql.contains(" OR "));
        QVERIFY(!translation.sql.contains('"'));
        QVERIFY(!translation.sql.contains("x.ol"));
        QCOMPARE(translation.params, QVariantList{QStringLiteral("a\" OR 1=1")});
        QVERIFY(translation.sql.endsWith("ORDER BY ID"));
    }

    void quotedUserTextMatchesItselfOnly() {
        QCOMPARE(quoteLiteral("Er sagte \"ja\""), QStringLiteral("\"Er sagte \"\"ja\"\"\""));
        QCOMPARE(ids("WHERE Fremdwort = " + quoteLiteral("Er sagte \"ja\"")), QVariantList{4});
        QCOMPARE(ids("WHERE Fremdwort = " + quoteLiteral("x\" OR \"1\" = \"1")), QVariantList{});
        // A colon or question mark inside a literal is plain text.
        QCOMPARE(ids("WHERE Fremdwort = \"?:a\""), QVariantList{});
    }

    void likeIsCaseSensitiveAndUnderscoreIsOneCharacter() {
        QCOMPARE(ids("WHERE Fremdwort LIKE \"haus\""), QVariantList{2});
        QCOMPARE(ids("WHERE Fremdwort LIKE \"H_tte\""), QVariantList{3});
        QCOMPARE(ids("WHERE Fremdwort LIKE \"H__tte\""), QVariantList{});
        QCOMPARE(ids("WHERE Lektion LIKE \"001%\""), (QVariantList{1, 2}));
        QCOMPARE(ids("WHERE Lektion LIKE \"%B_\""), (QVariantList{4, 5}));
        // The duplicate check: a quote replaced by "_" matches the quote.
        QCOMPARE(ids("WHERE Fremdwort LIKE \"Er sagte _ja_\" AND ID <> 1"), QVariantList{4});
    }

    void upperChangesAsciiLettersOnly() {
        QCOMPARE(ids("WHERE UPPER(Fremdwort) LIKE \"%HAUS%\""), (QVariantList{1, 2}));
        QCOMPARE(ids("WHERE UPPER(Fremdwort) = \"HüTTE\""), QVariantList{3});
        QCOMPARE(ids("WHERE UPPER(Fremdwort) = \"HÜTTE\""), QVariantList{});
        QCOMPARE(ids("WHERE UPPER(Fremdwort) = \"STRAßE\""), QVariantList{5});
    }

    void booleanWordsAndQuotedTruthValues() {
        const QVariantList known{1, 4};
        const QVariantList unknown{2, 3, 5};
        QCOMPARE(ids("WHERE Letzte_gewusst=TRUE"), known);
        QCOMPARE(ids("WHERE Letzte_gewusst=FALSE"), unknown);
        QCOMPARE(ids("WHERE Letzte_Gewusst = false"), unknown);
        QCOMPARE(ids("WHERE Letzte_gewusst = \"False\""), unknown);
        QCOMPARE(ids("WHERE Letzte_gewusst = \"false\""), unknown);
        QCOMPARE(ids("WHERE \"True\" = Letzte_gewusst"), known);
        QCOMPARE(ids("WHERE Letzte_gewusst=FALSE AND Letzte_gewusst=TRUE"), QVariantList{});
        // "False" beside a text field stays text.
        QCOMPARE(ids("WHERE Fremdwort = \"False\""), QVariantList{});
    }

    void conditionsCombine() {
        QCOMPARE(ids("WHERE ID in (1,3,5)"), (QVariantList{1, 3, 5}));
        QCOMPARE(ids("WHERE NOT (ID in (1,3,5)) OR Lektion = \"002A1\""), (QVariantList{2, 3, 4}));
        QCOMPARE(ids("WHERE (Lektion <> \"\") AND (Fremdwort<>\"\") AND ((Wortart=14))"),
                 (QVariantList{1, 2, 3, 4, 5}));
        QCOMPARE(ids("WHERE (((Anzahl_Abfragen-Falsche_Antworten)*100/Anzahl_Abfragen) "
                     "BETWEEN 40 AND 80)"),
                 (QVariantList{1, 2}));
        QCOMPARE(ids("WHERE Anzahl_Abfragen >= 3 AND Anzahl_Abfragen <= 4"), (QVariantList{2, 5}));
        QCOMPARE(ids("WHERE Lektion = \"010B1\";"), (QVariantList{4, 5}));
    }

    void orderByNamedFieldsThenKey() {
        QCOMPARE(ids(""), (QVariantList{1, 2, 3, 4, 5}));
        QCOMPARE(ids("ORDER BY Lektion DESC"), (QVariantList{4, 5, 3, 2, 1}));
        QCOMPARE(ids("WHERE Lektion <> \"\" ORDER BY Wortart, Fremdwort DESC"),
                 (QVariantList{2, 5, 3, 1, 4}));
        QCOMPARE(ids("ORDER BY Falsche_Antworten DESC, ID"), (QVariantList{1, 4, 2, 3, 5}));
        QCOMPARE(ids("ORDER BY ID DESC"), (QVariantList{5, 4, 3, 2, 1}));
    }

    void updatesCountAndCutText() {
        QCOMPARE(exec(QStringLiteral("UPDATE \"%1\" SET Anzahl_Abfragen = Anzahl_Abfragen + 1, "
                                     "Falsche_Antworten = Falsche_Antworten + 1 WHERE ID in (1,2)")
                          .arg(path_)),
                 2);
        QCOMPARE(column(select(path_, "WHERE ID in (1,2)"), "Anzahl_Abfragen"),
                 (QVariantList{11, 5}));
        exec(QStringLiteral("UPDATE \"%1\" SET Lektion = \"0123456789\", Letzte_Gewusst = "
                            "\"False\", Abgefragt = true WHERE ID = 1")
                 .arg(path_));
        engine::Query query;
        query.setSql({select(path_, "WHERE ID = 1")});
        query.open();
        QCOMPARE(query.value("Lektion"), QVariant(QStringLiteral("01234")));
        QCOMPARE(query.value("Letzte_gewusst"), QVariant(false));
        QCOMPARE(query.value("Abgefragt"), QVariant(true));
        // The counter reset of the marked-word commands.
        query.close();
        exec(QStringLiteral("UPDATE \"%1\" SET Anzahl_Abfragen = 0, Falsche_Antworten = 0, "
                            "Letzte_Gewusst = false, Abgefragt = false, Versuche = 0")
                 .arg(path_));
        QCOMPARE(ids("WHERE Anzahl_Abfragen = 0 AND Abgefragt = FALSE"),
                 (QVariantList{1, 2, 3, 4, 5}));
    }

    void insertAndDeleteStatements() {
        QCOMPARE(exec(QStringLiteral("INSERT INTO \"%1\" (Lektion, Fremdwort, Letzte_gewusst) "
                                     "VALUES (\"003A1xyz\", \"neu\", \"True\")")
                          .arg(path_)),
                 1);
        engine::Query query;
        query.setSql({select(path_, "WHERE Fremdwort = \"neu\"")});
        query.open();
        QCOMPARE(query.recordCount(), 1);
        QCOMPARE(query.asString("Lektion"), QStringLiteral("003A1"));
        QCOMPARE(query.asBoolean("Letzte_gewusst"), true);
        QCOMPARE(query.asInteger("Wortart"), 0);
        QCOMPARE(query.asString("Genitiv"), QString());
        query.close();
        exec(QStringLiteral("INSERT INTO \"%1\" (ID, Lektion, Genus, Wortart) "
                            "VALUES (NULL, \"004A1\", NULL, NULL)")
                 .arg(path_));
        query.setSql({select(path_, "WHERE Lektion = \"004A1\" AND Genus = \"\" AND Wortart = 0")});
        query.open();
        QCOMPARE(query.currentId(), 7);
        query.close();
        QCOMPARE(exec(QStringLiteral("DELETE FROM \"%1\" WHERE Lektion LIKE \"001%\"").arg(path_)),
                 2);
        QCOMPARE(ids(""), (QVariantList{3, 4, 5, 6, 7}));
    }

    void pathSpellingsShareOneFile() {
        QString backslashed = path_;
        backslashed.replace('/', '\\');
        {
            engine::Transaction transaction(path_);
            exec(QStringLiteral("DELETE FROM \"%1\" WHERE ID = 1").arg(backslashed));
            QCOMPARE(ids("WHERE ID = 1"), QVariantList{});
        }
        // Rolled back with the transaction: one file, one connection.
        QCOMPARE(ids("WHERE ID = 1"), QVariantList{1});
    }

    void statementErrorsAreGermanEngineErrors() {
        QCOMPARE(errorOf(select(path_, "WHERE Foo = 1")),
                 QStringLiteral("Feld 'Foo' nicht gefunden."));
        QCOMPARE(errorOf(select(path_, "ORDER BY \"Bar\"")),
                 QStringLiteral("Feld 'Bar' nicht gefunden."));
        QVERIFY(
            errorOf(select(path_, "WHERE Fremdwort = \"offen")).contains("nicht abgeschlossen"));
        QVERIFY(errorOf(select(path_, "WHERE Fremdwort = ?")).contains("Unerwartetes Zeichen"));
        QVERIFY(
            errorOf(select(path_, "WHERE ID = 1; DELETE FROM x")).contains("Nur eine Anweisung"));
        QVERIFY(errorOf(select(path_, "WHERE ID = = 1")).startsWith("Fehler in der SQL-Anweisung"));
        QVERIFY(errorOf("DROP TABLE x").contains("Nicht unterstützte"));
        QVERIFY(
            !errorOf(QStringLiteral("UPDATE \"%1\" SET Wortart = \"abc\"").arg(path_)).isEmpty());
        QCOMPARE(ids(""), (QVariantList{1, 2, 3, 4, 5}));
    }
};

QTEST_GUILESS_MAIN(DialectTest)
#include "tst_dialect.moc"
