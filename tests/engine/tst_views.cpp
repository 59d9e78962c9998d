// The grid's model and the field binder: what bound controls show, and that
// typing in them reaches the table, with the memo's CR LF lines and character
// set conversion on the way.
#include "engine/fieldbinder.h"
#include "engine/query.h"
#include "engine/tablemodel.h"
#include "testtable.h"

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using engine::Query;
using testtable::column;
using testtable::select;
using testtable::word;

class ViewsTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    QString path_;

    void openAll(Query& query) {
        query.setSql({select(path_)});
        query.open();
    }

  private slots:
    void initTestCase() { qRegisterMetaType<QWidget*>(); }

    void init() {
        path_ = dir_.filePath(QStringLiteral("%1.ol").arg(QTest::currentTestFunction()));
        testtable::create(path_);
        Query query;
        openAll(query);
        query.insertRecord(word("001A1", "Haus", "das Haus\r\ndie Hütte", 5, 1, true));
        query.insertRecord(word("001A1", "Baum", "der Baum", 2, 2, false));
        query.insertRecord(word("001A2", "Weg", "der Weg", 0, 0, false));
    }

    void cleanup() { engine::releaseTable(path_); }

    void modelShowsTheResult() {
        Query query;
        engine::TableModel model(&query);
        QCOMPARE(model.rowCount(), 0);
        openAll(query);
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), 20);
        model.setColumns({"fremdwort", "Uebersetzung", "Letzte_gewusst", "Anzahl_Abfragen"},
                         {"Fremdwort", "Übersetzung"});
        QCOMPARE(model.columnCount(), 4);
        QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole), QVariant("Übersetzung"));
        QCOMPARE(model.headerData(3, Qt::Horizontal, Qt::DisplayRole), QVariant("Anzahl_Abfragen"));
        QCOMPARE(model.index(0, 0).data(), QVariant("Haus"));
        QCOMPARE(model.index(0, 1).data(), QVariant("das Haus die Hütte"));
        QCOMPARE(model.index(0, 1).data(Qt::EditRole), QVariant("das Haus\ndie Hütte"));
        QCOMPARE(model.index(0, 2).data(), QVariant("True"));
        QCOMPARE(model.index(1, 3).data(), QVariant(2));
        QVERIFY(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);

        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        query.append();
        QCOMPARE(model.rowCount(), 4);
        query.cancel();
        QCOMPARE(model.rowCount(), 3);
        QVERIFY(reset.count() >= 2);
        query.close();
        QCOMPARE(model.rowCount(), 0);

        query.setRequestLive(false);
        openAll(query);
        QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
        QVERIFY(!model.setData(model.index(0, 0), "x", Qt::EditRole));
    }

    void editingACellStoresIt() {
        Query query;
        engine::TableModel model(&query);
        model.setColumns({"Fremdwort", "Uebersetzung", "Wortart"});
        model.setDisplayConverter([](const QString&, const QString& s) { return s.toUpper(); },
                                  [](const QString&, const QString& s) { return s.toLower(); });
        openAll(query);
        QCOMPARE(model.index(1, 0).data(), QVariant("BAUM"));
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QVERIFY(model.setData(model.index(1, 0), "LINDE", Qt::EditRole));
        QVERIFY(model.setData(model.index(2, 1), "DER PFAD\nDIE GASSE", Qt::EditRole));
        QVERIFY(model.setData(model.index(2, 2), 3, Qt::EditRole));
        QVERIFY(changed.count() >= 3);
        QCOMPARE(query.recNo(), 2);
        QCOMPARE(query.state(), Query::State::Browse);
        QCOMPARE(column(select(path_), "Fremdwort"), (QVariantList{"Haus", "linde", "Weg"}));
        QCOMPARE(column(select(path_, "WHERE ID = 3"), "Uebersetzung"),
                 QVariantList{"der pfad\r\ndie gasse"});
        QCOMPARE(column(select(path_, "WHERE ID = 3"), "Wortart"), QVariantList{3});
    }

    void lineEditAndMemoRoundTrip() {
        Query query;
        engine::FieldBinder binder(&query);
        QLineEdit foreign;
        QLineEdit asked;
        QPlainTextEdit translation;
        binder.bindLineEdit(&foreign, "Fremdwort");
        binder.bindLineEdit(&asked, "anzahl_abfragen");
        binder.bindMemo(&translation, "Uebersetzung");
        QCOMPARE(foreign.text(), QString());
        openAll(query);
        QCOMPARE(foreign.text(), QStringLiteral("Haus"));
        QCOMPARE(foreign.maxLength(), 100);
        QCOMPARE(asked.text(), QStringLiteral("5"));
        QCOMPARE(translation.toPlainText(), QStringLiteral("das Haus\ndie Hütte"));

        QSignalSpy edited(&binder, &engine::FieldBinder::userEdited);
        foreign.setFocus();
        QTest::keyClicks(&foreign, "chen");
        QCOMPARE(query.state(), Query::State::Edit);
        QCOMPARE(query.asString("Fremdwort"), QStringLiteral("Hauschen"));
        QCOMPARE(foreign.cursorPosition(), 8);
        translation.setPlainText("das Häuschen\nklein");
        QVERIFY(edited.count() >= 5);
        query.next(); // stores the record
        QCOMPARE(foreign.text(), QStringLiteral("Baum"));
        QCOMPARE(asked.text(), QStringLiteral("2"));
        QCOMPARE(column(select(path_, "WHERE ID = 1"), "Fremdwort"), QVariantList{"Hauschen"});
        QCOMPARE(column(select(path_, "WHERE ID = 1"), "Uebersetzung"),
                 QVariantList{"das Häuschen\r\nklein"});

        // A number field takes digits only.
        asked.setFocus();
        QTest::keyClicks(&asked, "x7");
        QCOMPARE(query.asInteger("Anzahl_Abfragen"), 27);
        query.cancel();
        QCOMPARE(asked.text(), QStringLiteral("2"));

        query.close();
        QCOMPARE(foreign.text(), QString());
        QCOMPARE(translation.toPlainText(), QString());
    }

    // A memo takes characters only up to its field's width, as a line edit
    // does: typed keys past it are refused where they were typed, a paste keeps
    // what fits, and a line break counts as the two characters it is stored as.
    void memoStopsAtTheFieldWidth_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("selectionStart");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("paste");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("caretAfter");
        const QString a148(148, 'a');
        QTest::newRow("typed at the end") << a148 << 148 << 148 << "12345"
                                          << "" << a148 + "12" << 150;
        QTest::newRow("typed in the middle")
            << QString(74, 'x') + QString(74, 'y') << 74 << 74 << "123"
            << "" << QString(74, 'x') + "12" + QString(74, 'y') << 76;
        QTest::newRow("typed, then a paste that does not fit")
            << QString(74, 'x') + QString(74, 'y') << 74 << 74 << "12"
            << "zz" << QString(74, 'x') + "12" + QString(74, 'y') << 76;
        QTest::newRow("paste keeps what fits")
            << QString(140, 'a') << 140 << 140 << ""
            << "0123456789ABC" << QString(140, 'a') + "0123456789" << 150;
        QTest::newRow("paste over a selection")
            << QString(150, 'a') << 0 << 150 << "" << QString(200, 'b') << QString(150, 'b') << 150;
        QTest::newRow("line break counts two") << QString(149, 'a') << 149 << 149 << "\nb"
                                               << "" << QString(149, 'a') + "b" << 150;
    }
    void memoStopsAtTheFieldWidth() {
        QFETCH(QString, before);
        QFETCH(int, selectionStart);
        QFETCH(int, caret);
        QFETCH(QString, keys);
        QFETCH(QString, paste);
        QFETCH(QString, after);
        QFETCH(int, caretAfter);
        Query query;
        engine::FieldBinder binder(&query);
        QPlainTextEdit translation;
        binder.bindMemo(&translation, "Uebersetzung");
        openAll(query);
        translation.show();
        translation.setFocus();
        translation.setPlainText(before);
        QTextCursor cursor = translation.textCursor();
        cursor.setPosition(selectionStart);
        cursor.setPosition(caret, QTextCursor::KeepAnchor);
        translation.setTextCursor(cursor);
        for (const QChar key : keys) {
            if (key == '\n')
                QTest::keyClick(&translation, Qt::Key_Return);
            else
                QTest::keyClick(&translation, key.toLatin1());
        }
        if (!paste.isEmpty()) {
            QGuiApplication::clipboard()->setText(paste);
            QTest::keyClick(&translation, Qt::Key_V, Qt::ControlModifier);
        }
        QCoreApplication::processEvents();
        QCOMPARE(translation.toPlainText(), after);
        QCOMPARE(translation.textCursor().position(), caretAfter);
        QCOMPARE(query.asString("Uebersetzung"), after);
        query.post();
        QCOMPARE(column(select(path_, "WHERE ID = 1"), "Uebersetzung"), QVariantList{after});
        // Undo takes back what was taken of the edit; what was dropped left no step.
        QTest::failOnWarning(QRegularExpression("QTextCursor"));
        QTest::keyClick(&translation, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(translation.toPlainText(), before);
        QCOMPARE(query.asString("Uebersetzung"), before);
        translation.redo();
        QCOMPARE(translation.toPlainText(), after);
    }

    void convertersAndReadOnlyResults() {
        Query query;
        engine::FieldBinder binder(&query);
        QLineEdit foreign;
        binder.bindLineEdit(&foreign, "Fremdwort");
        // Shown in capitals, stored in small letters: a stand-in for a character set.
        binder.setConverter(
            &foreign, [](const QString& s) { return s.toUpper(); },
            [](const QString& s) { return s.toLower(); });
        openAll(query);
        QCOMPARE(foreign.text(), QStringLiteral("HAUS"));
        foreign.setText("HÜTTE");
        query.post();
        QCOMPARE(column(select(path_, "WHERE ID = 1"), "Fremdwort"), QVariantList{"hütte"});

        query.close();
        query.setRequestLive(false);
        openAll(query);
        foreign.setFocus();
        QTest::keyClicks(&foreign, "X");
        QCOMPARE(foreign.text(), QStringLiteral("HÜTTE"));
        QCOMPARE(query.state(), Query::State::Browse);
    }

    void comboShowsCodesWithOffset() {
        Query query;
        engine::FieldBinder binder(&query);
        QComboBox kind;
        kind.addItems({"Verb", "Substantiv", "Adjektiv"});
        binder.bindComboIndex(&kind, "Versuche", 1);
        openAll(query);
        QCOMPARE(kind.currentIndex(), -1); // 0 is outside the list
        query.setValue("Versuche", 2);
        QCOMPARE(kind.currentIndex(), 1);
        query.post();
        kind.setCurrentIndex(2);
        emit kind.activated(2);
        QCOMPARE(query.asInteger("Versuche"), 3);
        query.setValue("Versuche", 9);
        QCOMPARE(kind.currentIndex(), -1);
    }

    void viewAndQueryShareTheCurrentRow() {
        Query query;
        engine::TableModel model(&query);
        QTableView view;
        view.setModel(&model);
        view.setSelectionMode(QAbstractItemView::ExtendedSelection);
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        engine::FieldBinder binder(&query);
        binder.bindView(&view);
        openAll(query);
        QCOMPARE(view.currentIndex().row(), 0);

        view.setCurrentIndex(model.index(2, 3));
        QCOMPARE(query.recNo(), 2);
        view.selectionModel()->select(model.index(0, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
        query.first();
        QCOMPARE(view.currentIndex().row(), 0);
        query.next();
        QCOMPARE(view.currentIndex().row(), 1);
        // Walking the query keeps the rows the user marked.
        QVERIFY(view.selectionModel()->isRowSelected(0, {}));
        QVERIFY(view.selectionModel()->isRowSelected(2, {}));

        query.append();
        QCOMPARE(view.currentIndex().row(), 3);
        query.cancel();
        QCOMPARE(view.currentIndex().row(), 2);
    }
};

QTEST_MAIN(ViewsTest)
#include "tst_views.moc"
