#include "database/currentdatabase.h"
#include "database/generaloptions.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "settings/generalsettings.h"
#include "settings/optionsdialog.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <memory>

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

void putString(QByteArray& image, int offset, const QByteArray& bytes) {
    image[offset] = static_cast<char>(bytes.size());
    for (int i = 0; i < bytes.size(); ++i)
        image[offset + 1 + i] = bytes[i];
}

QByteArray stringAt(const QByteArray& image, int offset) {
    return image.mid(offset + 1, static_cast<unsigned char>(image[offset]));
}

// The fourteen Boolean controls in the order of the record's bytes 0..13.
QList<QAbstractButton*> flagControls(Tfopt& d) {
    return {d.AkzAkt,      d.AusJedAn,      d.AbfJedAn,     d.sza,       d.szs,
            d.wbla,        d.sca,           d.sbanz,        d.cbdopp,    d.cbeinf,
            d.cbShortcutz, d.cbMehrZeichen, d.rbVVStandard, d.rbVVCustom};
}

} // namespace

class TestOptionsDialog : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        WorkDir = dir->filePath("work");
        QVERIFY(QDir().mkpath(WorkDir + "/data"));
        QVERIFY(QDir().mkpath(dir->filePath("Vokabeln")));
        GeneralOptions = TGeneralOptionsRec();
        CustomVocabularyDir.clear();
        SelectionOptionsPath.clear();
        QuizOptionsPath.clear();
        CharTableOptionsPath.clear();
        PrintCardOptionsPath.clear();
        PrintTextOptionsPath.clear();
        CurrentTablePath.clear();
        FoptHooks = TfoptHooks();
        calls.clear();
        messages.clear();
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
            messages << r;
            return platform::Answer::Ok;
        });
    }
    void cleanup() {
        platform::setMessageBoxHandler({});
        platform::setModalHandler({});
    }

    void shortensLongPaths() {
        const QString sixty =
            QStringLiteral("/home/anna/Dokumente/Sprachen/Vokabeln/Latein/Caesar/Gallien");
        QCOMPARE(sixty.size(), 60);
        QCOMPARE(ShortenPathForDisplay(sixty), sixty.left(3) + ".." + sixty.right(45));
        const QString fifty = sixty.left(50);
        QCOMPARE(ShortenPathForDisplay(fifty), fifty);
        QCOMPARE(ShortenPathForDisplay(sixty.left(51)).size(), 50);
    }

    void acceptsOnlyLocalAbsoluteFolders() {
        QVERIFY(isUsableCustomFolder("/daten/Vokabeln"));
        QVERIFY(!isUsableCustomFolder("//server/freigabe"));
        QVERIFY(!isUsableCustomFolder("\\\\server\\freigabe"));
        QVERIFY(!isUsableCustomFolder("D:\\Vokabeln"));
        QVERIFY(!isUsableCustomFolder("Vokabeln"));
        QVERIFY(!isUsableCustomFolder(""));
    }

    void creationWithoutFileShowsDefaults() {
        Tfopt d;
        for (QAbstractButton* b : flagControls(d))
            if (b != d.rbVVStandard) QVERIFY2(!b->isChecked(), qPrintable(b->objectName()));
        QVERIFY(d.rbVVStandard->isChecked());
        QVERIFY(!d.bVV->isEnabled() && !d.LabelVV->isEnabled());
        QCOMPARE(d.tabg->value(), 5);
        QCOMPARE(CustomVocabularyDir, WorkDir);
        QVERIFY(messages.isEmpty());
        QVERIFY(!QFile::exists(WorkDir + "/data/gruopt.dat"));
        QCOMPARE(SelectionOptionsPath, WorkDir + "/data/AuswOpt.dat");
        QCOMPARE(QuizOptionsPath, WorkDir + "/data/Option.dat");
        QCOMPARE(PrintCardOptionsPath, WorkDir + "/data/Dru2Opt.dat");
        QCOMPARE(PrintTextOptionsPath, WorkDir + "/data/Dru3Opt.dat");
        QCOMPARE(CharTableOptionsPath, WorkDir + "/data/gruopt.dat");
    }

    void creationTakesTheStoredSettings() {
        QByteArray image(TGeneralOptionsRec::RecordSize, '\0');
        image[3] = image[4] = image[8] = image[13] = 1;
        putString(image, 818, "\x07");
        putString(image, 7220, dir->filePath("Vokabeln").toUtf8());
        writeFile(WorkDir + "/data/gruopt.dat", image);
        FoptHooks.rebuildRecentFilesMenu = [this] { calls << "menu"; };

        Tfopt d;
        QVERIFY(d.sza->isChecked() && d.szs->isChecked() && d.cbdopp->isChecked());
        QVERIFY(!d.AkzAkt->isChecked() && !d.cbShortcutz->isChecked());
        QVERIFY(d.rbVVCustom->isChecked() && d.bVV->isEnabled());
        QCOMPARE(CustomVocabularyDir, dir->filePath("Vokabeln"));
        QCOMPARE(d.LabelVV->text(), ShortenPathForDisplay(dir->filePath("Vokabeln")));
        QCOMPARE(d.tabg->value(), 7);
        QCOMPARE(calls, QStringList{"menu"});
        QVERIFY(GeneralOptions.sza && GeneralOptions.rbVVCustom);
    }

    void unusableFolderAndSizeFallBack() {
        QByteArray image(TGeneralOptionsRec::RecordSize, '\0');
        image[13] = 1;
        putString(image, 818, "\x08");
        putString(image, 7220, "\\\\server\\Vokabeln");
        writeFile(WorkDir + "/data/gruopt.dat", image);
        Tfopt d;
        QVERIFY(d.rbVVStandard->isChecked());
        QVERIFY(!GeneralOptions.rbVVCustom);
        QCOMPARE(CustomVocabularyDir, WorkDir);
        QCOMPARE(d.tabg->value(), 5);
    }

    void everyOptionMakesTheRoundTripThroughTheFile() {
        // Bytes that other windows own: a table cell and a recent database.
        QByteArray image(TGeneralOptionsRec::RecordSize, '\0');
        image[0] = image[2] = image[5] = image[7] = image[9] = image[11] = image[12] = 1;
        putString(image, 20, "a");
        putString(image, 1076, "/x/Caesar.ol");
        putString(image, 1076 + 256, "Caesar [Latein]");
        image[8756] = 1;
        const QString file = WorkDir + "/data/gruopt.dat";
        writeFile(file, image);
        FoptHooks.applySettings = [this] { calls << "apply"; };
        FoptHooks.saveDatabaseFonts = [this] { calls << "fonts"; };
        FoptHooks.databaseSettingsChanged = [this] { calls << "closed"; };
        Tfopt d;

        // The special-character window writes its table meanwhile.
        putString(image, 22, "b");
        writeFile(file, image);
        const QString folder = dir->filePath("Vokabeln");
        CurrentTablePath = "/x/Caesar.ol";

        platform::setModalHandler([&](QDialog& dialog) {
            if (auto* browser = qobject_cast<QFileDialog*>(&dialog)) {
                browser->setDirectory(folder);
                return int(QDialog::Accepted);
            }
            QList<QAbstractButton*> flags = flagControls(d);
            flags.removeLast(); // the radio buttons are set by clicking
            flags.removeLast();
            for (QAbstractButton* b : flags)
                b->click();
            d.rbVVCustom->click();
            d.bVV->click();
            d.tabg->setValue(3);
            d.BitBtn1->click();
            return d.result();
        });
        QCOMPARE(d.execute(), int(QDialog::Accepted));

        const QByteArray written = readFile(file);
        QCOMPARE(written.size(), TGeneralOptionsRec::RecordSize);
        const char expectedFlags[14] = {0, 1, 0, 1, 1, 0, 1, 0, 1, 0, 1, 0, 0, 1};
        QCOMPARE(written.left(14), QByteArray(expectedFlags, 14));
        QCOMPARE(written.mid(818, 2), QByteArray("\x01\x03"));
        QCOMPARE(stringAt(written, 7220), folder.toUtf8());
        QCOMPARE(stringAt(written, 20), QByteArray("a"));
        QCOMPARE(stringAt(written, 22), QByteArray("b"));
        QCOMPARE(stringAt(written, 1076), QByteArray("/x/Caesar.ol"));
        QCOMPARE(written[8756], '\x01');
        QCOMPARE(CustomVocabularyDir, folder);
        QCOMPARE(calls, (QStringList{"apply", "fonts", "closed"}));
        QVERIFY(messages.isEmpty());

        // The settings in force are those written.
        TGeneralOptionsRec back;
        QVERIFY(back.load(file));
        QCOMPARE(GeneralOptions.toBytes(), back.toBytes());
    }

    void showingKeepsThreeOptionsFromMemory() {
        QByteArray image(TGeneralOptionsRec::RecordSize, '\0');
        image[3] = 1;
        writeFile(WorkDir + "/data/gruopt.dat", image);
        Tfopt d;
        GeneralOptions.sza = false;
        GeneralOptions.cbShortcutz = true;
        GeneralOptions.cbMehrZeichen = true;
        d.FormShow();
        QVERIFY(d.sza->isChecked()); // taken from the file again
        QVERIFY(d.cbShortcutz->isChecked() && d.cbMehrZeichen->isChecked());
        QVERIFY(d.rbVVStandard->text().startsWith("Standardverzeichnis ("));
    }

    void cancelPutsBackWhatWasInForce() {
        QByteArray image(TGeneralOptionsRec::RecordSize, '\0');
        image[1] = 1;
        const QString file = WorkDir + "/data/gruopt.dat";
        writeFile(file, image);
        int layoutChanges = 0;
        FoptHooks.charTableLayoutChanged = [&] { ++layoutChanges; };
        Tfopt d;
        const QByteArray inForce = GeneralOptions.toBytes();
        const QString dirInForce = CustomVocabularyDir;

        platform::setModalHandler([&](QDialog& dialog) {
            if (auto* browser = qobject_cast<QFileDialog*>(&dialog)) {
                browser->setDirectory(dir->filePath("Vokabeln"));
                return int(QDialog::Accepted);
            }
            d.AusJedAn->click();
            d.sca->click();
            d.tabg->setValue(6);
            d.rbVVCustom->click();
            d.bVV->click();
            // Changes count at once while the dialog is open.
            [&] {
                QVERIFY(!GeneralOptions.AusJedAn && GeneralOptions.sca);
                QCOMPARE(GeneralOptions.charTableSize(), 6);
                QCOMPARE(CustomVocabularyDir, dir->filePath("Vokabeln"));
            }();
            d.BitBtn2->click();
            return d.result();
        });
        QCOMPARE(d.execute(), int(QDialog::Rejected));
        QCOMPARE(GeneralOptions.toBytes(), inForce);
        QCOMPARE(CustomVocabularyDir, dirInForce);
        QCOMPARE(readFile(file), image);
        QVERIFY(d.AusJedAn->isChecked() && !d.sca->isChecked() && d.rbVVStandard->isChecked());
        QCOMPARE(layoutChanges, 2); // the change, and the undoing of it
    }

    void customFolderMustBeChosenBeforeOk() {
        Tfopt d;
        bool stayedOpen = false;
        platform::setModalHandler([&](QDialog& dialog) {
            if (qobject_cast<QFileDialog*>(&dialog))
                return int(QDialog::Rejected); // the folder dialog is cancelled
            d.rbVVCustom->click();
            d.bVV->click();
            d.BitBtn1->click();
            stayedOpen = d.result() == 0;
            d.BitBtn2->click();
            return d.result();
        });
        QCOMPARE(d.execute(), int(QDialog::Rejected));
        QVERIFY(stayedOpen);
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].text.contains(QStringLiteral("„Ändern“")));
        QVERIFY(!QFile::exists(WorkDir + "/data/gruopt.dat"));
        QCOMPARE(CustomVocabularyDir, WorkDir);
    }

  private:
    std::unique_ptr<QTemporaryDir> dir;
    QStringList calls;
    QList<platform::MessageBoxRequest> messages;
};

QTEST_MAIN(TestOptionsDialog)
#include "tst_optionsdialog.moc"
