#include "database/currentdatabase.h"
#include "database/databasedisplay.h"
#include "database/databaseoptions.h"
#include "database/specialoptions.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/paths.h"
#include "settings/specialoptionswindow.h"
#include "support/testfiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <memory>

namespace {

void touch(const QString& path) {
    platform::ensureFolder(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

// The length-prefixed string at an offset, as bytes.
QByteArray stringAt(const QByteArray& image, int offset) {
    return image.mid(offset + 1, static_cast<unsigned char>(image[offset]));
}

qint32 intAt(const QByteArray& image, int offset) {
    return qFromLittleEndian<qint32>(image.constData() + offset);
}

QStringList forms(const SpecialFormCaptions& captions) {
    return QStringList(captions.Forms.begin(), captions.Forms.end());
}

} // namespace

class TestSpecialOptions : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QStringList boxes;
    std::unique_ptr<TFormSO> window;

    QString soption() { return dir->filePath("data/soption.dat"); }

  private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        WorkDir = dir->path();
        platform::ensureFolder(dir->filePath("data"));
        touch(dir->filePath("Griechisch/Homer.ol"));
        touch(dir->filePath("Latein/Caesar.db"));
        platform::ensureFolder(dir->filePath("backup"));
        boxes.clear();
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& request) {
            boxes << request.text;
            return platform::Answer::Ok;
        });
        SpecialOptions = TSpecialOptionsRec();
        DatabaseOptions = TDatabaseOptionsRec::forNewDatabase("Latein");
        CurrentLanguage = "Latein";
        FormSOHooks = {};
        window = std::make_unique<TFormSO>();
    }
    void cleanup() {
        window.reset();
        platform::setMessageBoxHandler({});
        platform::setModalHandler({});
    }

    void languageFolders() {
        touch(dir->filePath("Englisch/Notizen.txt"));
        touch(dir->filePath("Spanisch/Sub/Tief.ol"));
        touch(dir->filePath("franzoesisch/Mots.OL"));
        QCOMPARE(FindLanguageFolders(WorkDir),
                 QStringList({"franzoesisch", "Griechisch", "Latein"}));
    }

    // First run: the language folders get the first slots with their defaults.
    void recordCreatedWithDefaults() {
        LoadSpecialOptionsRecord(FindLanguageFolders(WorkDir));
        const QByteArray image = readFile(soption());
        QCOMPARE(image.size(), 311688);

        QCOMPARE(stringAt(image, 0), QByteArray("Griechisch"));
        QCOMPARE(stringAt(image, 256), QByteArray("Futur:"));
        QCOMPARE(stringAt(image, 1536), QByteArray("Perfekt Passiv:"));
        QCOMPARE(stringAt(image, 1792), QByteArray("Genitiv:"));
        QCOMPARE(stringAt(image, 2048), QByteArray("Genus:"));
        QCOMPARE(stringAt(image, 2304), QByteArray("Latein"));
        QCOMPARE(stringAt(image, 2304 + 256), QByteArray("Pr\xE4sens:"));
        QCOMPARE(stringAt(image, 2304 + 768), QByteArray("Partizip Perfekt:"));
        for (int slot = 2; slot <= 100; ++slot)
            QCOMPARE(stringAt(image, 2304 * slot), QByteArray("#"));

        // Font fields of slot 1.
        QCOMPARE(intAt(image, 258560 + 4), 3);
        QCOMPARE(intAt(image, 258964 + 4), 8);
        QCOMPARE(intAt(image, 259368 + 4), 8);
        QCOMPARE(stringAt(image, 259772 + 256), QByteArray("MS Sans Serif"));
        QCOMPARE(stringAt(image, 285628 + 256), QByteArray("MS Sans Serif"));
        QCOMPARE(image[311484 + 1], char(1));
        QCOMPARE(image[311585 + 1], char(1));
        QCOMPARE(image.mid(311686), QByteArray(2, '\0'));

        // An existing file is read, not replaced.
        SpecialOptions.Captions[0][1] = "geändert";
        LoadSpecialOptionsRecord({});
        QCOMPARE(SpecialOptions.Captions[0][1], QStringLiteral("Futur:"));
    }

    void reservedBytesAndShortFiles() {
        TSpecialOptionsRec rec;
        QByteArray image = rec.toBytes();
        image[232704] = 'R';
        image[258559] = 'S';
        QVERIFY(rec.fromBytes(image));
        rec.Captions[3][0] = "Spanisch";
        const QByteArray written = rec.toBytes();
        QCOMPARE(written[232704], 'R');
        QCOMPARE(written[258559], 'S');

        QFile file(soption());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(1000, 'x'));
        file.close();
        SpecialOptions.Captions[0][0] = "bleibt";
        LoadSpecialOptionsRecord({"Latein"});
        QCOMPARE(SpecialOptions.Captions[0][0], QStringLiteral("bleibt"));
        QCOMPARE(readFile(soption()).size(), 1000);
    }

    void captionsPerLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("Latein") << "latein" << QStringList{"Präsens:",          "Perfekt:",
                                                           "Partizip Perfekt:", "Sonderform 4:",
                                                           "Sonderform 5:",     "Sonderform 6:"};
        QTest::newRow("LATEIN") << "LATEIN" << QStringList{"Präsens:",          "Perfekt:",
                                                           "Partizip Perfekt:", "Sonderform 4:",
                                                           "Sonderform 5:",     "Sonderform 6:"};
        QTest::newRow("Englisch") << "Englisch" << QStringList{"past tense:",   "past participle:",
                                                               "Sonderform 3:", "Sonderform 4:",
                                                               "Sonderform 5:", "Sonderform 6:"};
        QTest::newRow("Hebräisch")
            << QStringLiteral("Hebräisch")
            << QStringList{"Nif´al", "Pi´el", "Pu´al", "Hitpa´el", "Hif´il", "Hof´al"};
        QTest::newRow("Spanisch") << "Spanisch"
                                  << QStringList{"Sonderform 1:", "Sonderform 2:", "Sonderform 3:",
                                                 "Sonderform 4:", "Sonderform 5:", "Sonderform 6:"};
    }
    void captionsPerLanguage() {
        QFETCH(QString, language);
        QFETCH(QStringList, expected);
        const SpecialFormCaptions captions = SpecialFormCaptionsFor(language);
        QCOMPARE(forms(captions), expected);
        QCOMPARE(captions.Genitive, QStringLiteral("Genitiv:"));
        QCOMPARE(captions.Genus, QStringLiteral("Genus:"));
        QCOMPARE(captions.FontName, QStringLiteral("MS Sans Serif"));
        QCOMPARE(captions.FontSize, 8);
        QVERIFY(captions.FontBold);
        QCOMPARE(GenitivePrompt(captions.Genitive), QStringLiteral("Bitte Genitiv eingeben:"));
    }

    void hebrewCaptionsAreStoredAsBytes() {
        LoadSpecialOptionsRecord({QStringLiteral("Hebräisch")});
        const QByteArray image = readFile(soption());
        QCOMPARE(stringAt(image, 0), QByteArray("Hebr\xE4isch"));
        QCOMPARE(stringAt(image, 256), QByteArray("Nif\xB4"
                                                  "al"));
    }

    // With every language slot taken, another language gets its defaults and
    // nothing is written beyond the record.
    void noFreeSlot() {
        TSpecialOptionsRec rec;
        for (int k = 0; k < 100; ++k)
            QCOMPARE(rec.allocateSlot(QStringLiteral("Sprache %1").arg(k)), k);
        QCOMPARE(rec.allocateSlot("Latein"), -1);
        QCOMPARE(rec.Captions[100][0], QStringLiteral("#"));
        QCOMPARE(rec.findSlot("SPRACHE 99"), 99);
        QCOMPARE(rec.findSlot(""), -1);
        QCOMPARE(rec.findSlot("#"), -1);
        QCOMPARE(rec.allocateSlot(""), -1);
        QVERIFY(rec.save(soption()));

        const SpecialFormCaptions captions = SpecialFormCaptionsFor("Latein");
        QCOMPARE(captions.Forms[0], QStringLiteral("Präsens:"));
        QCOMPARE(SpecialOptions.findSlot("Latein"), -1);

        // The window says so and shows the defaults read-only.
        platform::setModalHandler([](QDialog&) { return int(platform::ResultCancel); });
        QCOMPARE(window->checkit(), int(platform::ResultCancel));
        QCOMPARE(CurrentSpecialSlot, -1);
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes.first().contains(QStringLiteral("„Latein“")));
        QVERIFY(!window->GroupBeschriftungen->isEnabled());
        QCOMPARE(window->Edit1->text(), QStringLiteral("Präsens:"));
        window->EditChange(1, "x"); // ignored without a slot
    }

    // A new language takes the first free slot when it is first looked up.
    void newLanguageTakesFirstFreeSlot() {
        LoadSpecialOptionsRecord(FindLanguageFolders(WorkDir));
        SpecialFormCaptionsFor("Englisch");
        QCOMPARE(SpecialOptions.findSlot("englisch"), 2);
        QCOMPARE(SpecialOptions.Captions[2][1], QStringLiteral("past tense:"));
    }

    void captionFontSources() {
        LoadSpecialOptionsRecord(FindLanguageFolders(WorkDir));
        DatabaseOptions.TableWordFont = "Greek";
        DatabaseOptions.TableWordFontSize = 14;
        DatabaseOptions.TableWordFontBold = false;
        // Read from a file whose table translation size is stored as 1011.
        TDatabaseOptionsRec stored = TDatabaseOptionsRec::forNewDatabase("Latein");
        stored.CharsetInTranslation = true;
        stored.TableTranslationFont = "Arial";
        QVERIFY(stored.save(dir->filePath("Latein/Caesar.opt")));
        QVERIFY(ReadDatabaseOptions(dir->filePath("Latein/Caesar")));

        const int slot = SpecialOptions.findSlot("Latein");
        SpecialOptions.CaptionFontName[slot] = SpecialOptions.OwnFontName[slot] = "Courier";
        SpecialOptions.CaptionFontSize[slot] = SpecialOptions.OwnFontSize[slot] = 9;
        SpecialOptions.chooseCaptionFont(slot, TSpecialOptionsRec::SourceTableTranslation,
                                         DatabaseOptions);
        QCOMPARE(SpecialOptions.CaptionFontName[slot], QStringLiteral("Arial"));
        QCOMPARE(SpecialOptions.CaptionFontSize[slot], 11);
        QVERIFY(DatabaseOptions.CharsetInTranslation); // the database keeps its mark
        SpecialOptions.chooseCaptionFont(slot, TSpecialOptionsRec::SourceTableWord,
                                         DatabaseOptions);
        QCOMPARE(SpecialOptions.CaptionFontName[slot], QStringLiteral("Times New Roman"));
        SpecialOptions.keepOwnFont(slot); // not on the own font: nothing kept
        SpecialOptions.chooseCaptionFont(slot, TSpecialOptionsRec::SourceOwn, DatabaseOptions);
        QCOMPARE(SpecialOptions.CaptionFontName[slot], QStringLiteral("Courier"));
        QCOMPARE(SpecialOptions.CaptionFontSize[slot], 9);

        // Captions on a table font follow the database's font as it is now.
        SpecialOptions.chooseCaptionFont(slot, TSpecialOptionsRec::SourceTableWord,
                                         DatabaseOptions);
        DatabaseOptions.TableWordFontSize = 20;
        QCOMPARE(CaptionsOfSlot(SpecialOptions, slot, DatabaseOptions).FontSize, 20);
    }

    // The open database's language is preselected even in the last position;
    // the edits go into its slot and OK writes them and applies the captions.
    void windowEditsAndSaves() {
        LoadSpecialOptionsRecord(FindLanguageFolders(WorkDir));
        int applied = 0;
        FormSOHooks.applySpecialFormCaptions = [&] {
            ++applied;
            QCOMPARE(SpecialFormCaptionsFor(CurrentLanguage).Forms[0], QStringLiteral("Präs.:"));
        };
        CurrentLanguage = "latein";
        QString preselected, form3, ownName, ownSize;
        bool fontEnabledOnTable = true;
        platform::setModalHandler([&](QDialog&) -> int {
            preselected = window->cbsprache->currentText();
            form3 = window->Edit3->text();
            window->Edit1->setText("Präs.:");
            window->rb3->setChecked(true);
            window->cbSchrift->setEditText("Arial");
            window->cbSchriftsize->setEditText("12");
            window->cbSchriftfett->setChecked(false);
            window->rb1->setChecked(true);
            fontEnabledOnTable = window->cbSchrift->isEnabled();
            window->rb3->setChecked(true); // the own font comes back
            ownName = window->cbSchrift->currentText();
            ownSize = window->cbSchriftsize->currentText();
            window->cbSchriftsize->setEditText("1x"); // ignored
            window->Button1Click();
            return window->result();
        });
        QCOMPARE(window->checkit(), int(platform::ResultOk));
        QCOMPARE(preselected, QStringLiteral("Latein"));
        QCOMPARE(form3, QStringLiteral("Partizip Perfekt:"));
        QVERIFY(!fontEnabledOnTable);
        QCOMPARE(ownName, QStringLiteral("Arial"));
        QCOMPARE(ownSize, QStringLiteral("12"));
        QCOMPARE(applied, 1);
        QVERIFY(boxes.isEmpty());

        TSpecialOptionsRec stored;
        QVERIFY(stored.load(soption()));
        QCOMPARE(stored.Captions[1][1], QStringLiteral("Präs.:"));
        QCOMPARE(stored.CaptionFontName[1], QStringLiteral("Arial"));
        QCOMPARE(stored.OwnFontName[1], QStringLiteral("Arial"));
        QCOMPARE(stored.CaptionFontSize[1], 12);
        QVERIFY(!stored.CaptionFontBold[1]);

        // Another language shown in the window, edited, then cancelled: the
        // file stays as it was.
        QString greekForm1;
        platform::setModalHandler([&](QDialog&) -> int {
            window->cbsprache->setCurrentIndex(0);
            greekForm1 = window->Edit1->text();
            window->Edit1->setText("nicht gespeichert");
            window->Button2Click();
            return window->result();
        });
        const QByteArray before = readFile(soption());
        QCOMPARE(window->checkit(), int(platform::ResultCancel));
        QCOMPARE(greekForm1, QStringLiteral("Futur:"));
        QCOMPARE(readFile(soption()), before);
        QCOMPARE(applied, 1);
    }

    // A database outside the language folders still has its language offered.
    void openLanguageWithoutFolderIsOffered() {
        CurrentLanguage = "Esperanto";
        QString shown;
        bool editable = false;
        platform::setModalHandler([&](QDialog&) -> int {
            shown = window->cbsprache->currentText();
            editable = window->Edit1->isEnabled();
            return platform::ResultCancel;
        });
        window->checkit();
        QCOMPARE(shown, QStringLiteral("Esperanto"));
        QVERIFY(editable);
        QVERIFY(SpecialOptions.findSlot("Esperanto") >= 0);
    }

    void upperCaseEach() {
        QCOMPARE(UpperCaseEach(QStringLiteral("hebräisch")), QStringLiteral("HEBRäISCH"));
    }
};

QTEST_MAIN(TestSpecialOptions)
#include "tst_specialoptions.moc"
