#include "platform/application.h"
#include "platform/error.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// The texts a dialog shows on its buttons, labels and lists, without the
// "&" of their access keys.
QStringList shownTexts(const QWidget& dialog) {
    QStringList texts;
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
        if (!button->text().isEmpty()) texts << button->text().remove(QLatin1Char('&'));
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        if (!label->text().isEmpty()) texts << label->text().remove(QLatin1Char('&'));
    for (const QComboBox* combo : dialog.findChildren<QComboBox*>())
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
    return texts;
}

// What Qt's dialogs say when no German catalogue is loaded.
const QStringList English{"Cancel",     "Save",        "Open",       "Print",
                          "Close",      "Apply",       "Help",       "Yes",
                          "No",         "Look in:",    "File name:", "Files of type:",
                          "Options >>", "Properties",  "Printer",    "Print to File (PDF)",
                          "Paper",      "Orientation", "Portrait",   "Landscape",
                          "Margins",    "Reset",       "Discard",    "Abort",
                          "Retry",      "Ignore",      "Save All",   "Restore Defaults",
                          "Page size:", "Output file:"};

QString englishIn(const QStringList& texts) {
    for (const QString& text : texts)
        if (English.contains(text)) return text;
    return QString();
}

} // namespace

// The application object: an exception thrown inside an event handler is
// shown in a "Fehler" box and the event loop goes on; Qt's own dialogs speak
// German.
class TestApplication : public QObject {
    Q_OBJECT
private slots:
    void exceptionInAHandlerShowsAnErrorBoxAndTheProgramGoesOn() {
        QList<platform::MessageBoxRequest> boxes;
        platform::setMessageBoxHandler([&](const platform::MessageBoxRequest& r) {
            boxes << r;
            return platform::Answer::Ok;
        });
        bool laterEventRan = false;
        QTimer::singleShot(0, [] { throw platform::Error("Tabelle ist gesperrt."); });
        QTimer::singleShot(5, [] { throw std::runtime_error("kaputt"); });
        QTimer::singleShot(10, [&] { laterEventRan = true; });
        QTRY_VERIFY(laterEventRan);
        platform::setMessageBoxHandler({});
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes[0].caption, QStringLiteral("Fehler"));
        QCOMPARE(boxes[0].text, QStringLiteral("Tabelle ist gesperrt."));
        QCOMPARE(boxes[1].text, QStringLiteral("kaputt"));
    }

    // Qt's own dialogs and buttons speak German: the application object loads
    // Qt's German catalogue.
    void standardButtonsAreGerman() {
        QDialogButtonBox box(
            QDialogButtonBox::Ok | QDialogButtonBox::Save | QDialogButtonBox::SaveAll |
            QDialogButtonBox::Open | QDialogButtonBox::Yes | QDialogButtonBox::No |
            QDialogButtonBox::Abort | QDialogButtonBox::Retry | QDialogButtonBox::Ignore |
            QDialogButtonBox::Close | QDialogButtonBox::Cancel | QDialogButtonBox::Discard |
            QDialogButtonBox::Help | QDialogButtonBox::Apply | QDialogButtonBox::Reset |
            QDialogButtonBox::RestoreDefaults);
        const QStringList texts = shownTexts(box);
        QCOMPARE(texts.size(), 16);
        QVERIFY2(englishIn(texts).isEmpty(), qPrintable(texts.join('|')));
        for (const char* german :
             {"Abbrechen", "Speichern", "Öffnen", "Ja", "Nein", "Schließen", "Anwenden", "Hilfe"})
            QVERIFY2(texts.contains(QString::fromUtf8(german)), german);

        QMessageBox message(QMessageBox::Question, "Frage", "?",
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(message.button(QMessageBox::Cancel)->text().remove('&'), QString("Abbrechen"));
        QProgressDialog progress;
        QVERIFY2(englishIn(shownTexts(progress)).isEmpty(),
                 qPrintable(shownTexts(progress).join('|')));
    }

    void fileDialogIsGerman() {
        QTemporaryDir folder;
        QFileDialog dialog(nullptr, "Drucken in Datei", folder.path());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        QStringList texts = shownTexts(dialog);
        QVERIFY2(englishIn(texts).isEmpty(), qPrintable(texts.join('|')));
        for (const char* german : {"Suchen in:", "Dateiname:", "Speichern", "Abbrechen"})
            QVERIFY2(texts.contains(QString::fromUtf8(german)), qPrintable(texts.join('|')));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        texts = shownTexts(dialog);
        QVERIFY2(texts.contains(QString::fromUtf8("Öffnen")), qPrintable(texts.join('|')));
    }

    void printDialogsAreGerman() {
        QPrinter printer;
        QPrintDialog print(&printer);
        print.setOption(QAbstractPrintDialog::PrintToFile, true);
        print.show(); // the dialog fills its lists when it is shown
        QStringList texts = shownTexts(print);
        print.hide();
        QVERIFY2(englishIn(texts).isEmpty(), qPrintable(texts.join('|')));
        QVERIFY2(texts.contains("Drucken") && texts.contains("Abbrechen"),
                 qPrintable(texts.join('|')));
        QVERIFY2(texts.contains("In PDF-Datei drucken"), qPrintable(texts.join('|')));
        // Its output file's completer lists the home folder, which may hold a
        // mount that does not answer; the program's dialogs end the same way.
        platform::releaseSilentFileModels(print);

        QPageSetupDialog setup(&printer);
        texts = shownTexts(setup);
        QVERIFY2(englishIn(texts).isEmpty(), qPrintable(texts.join('|')));
        QVERIFY2(texts.contains("Hochformat") && texts.contains("Abbrechen"),
                 qPrintable(texts.join('|')));
    }
};

int main(int argc, char** argv) {
    platform::Application app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_application.moc"
