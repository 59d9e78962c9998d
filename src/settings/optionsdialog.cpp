#include "settings/optionsdialog.h"

#include "database/currentdatabase.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "settings/generalsettings.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>

TfoptHooks FoptHooks;
Tfopt* fopt = nullptr;

namespace {

void call(const std::function<void()>& hook) {
    if (hook) hook();
}

bool databaseOpen() {
    return !CurrentTablePath.isEmpty();
}

bool sameCharTableLayout(const TGeneralOptionsRec& a, const TGeneralOptionsRec& b) {
    return a.cbMehrZeichen == b.cbMehrZeichen && a.charTableSize() == b.charTableSize();
}

} // namespace

Tfopt::Tfopt(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fopt"));
    buildLayout();
    connectControls();
    FormCreate();
}

void Tfopt::connectControls() {
    for (QCheckBox* box :
         {AkzAkt, AusJedAn, AbfJedAn, sza, szs, wbla, sca, sbanz, cbdopp, cbeinf, cbShortcutz})
        connect(box, &QCheckBox::toggled, this, [this] { storeControls(); });
    connect(cbMehrZeichen, &QCheckBox::toggled, this, [this] { cbMehrZeichenClick(); });
    connect(rbVVStandard, &QRadioButton::toggled, this, [this] { rbVVStandardClick(); });
    connect(rbVVCustom, &QRadioButton::toggled, this, [this] { rbVVCustomClick(); });
    connect(tabg, &QSlider::valueChanged, this, [this] { tabgChange(); });
    connect(bVV, &QPushButton::clicked, this, [this] { bVVClick(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
}

// --- record and controls ----------------------------------------------------

void Tfopt::showRecord() {
    showing_ = true;
    const TGeneralOptionsRec& r = GeneralOptions;
    AkzAkt->setChecked(r.AkzAkt);
    AusJedAn->setChecked(r.AusJedAn);
    AbfJedAn->setChecked(r.AbfJedAn);
    sza->setChecked(r.sza);
    szs->setChecked(r.szs);
    wbla->setChecked(r.wbla);
    sca->setChecked(r.sca);
    sbanz->setChecked(r.sbanz);
    cbdopp->setChecked(r.cbdopp);
    cbeinf->setChecked(r.cbeinf);
    cbShortcutz->setChecked(r.cbShortcutz);
    cbMehrZeichen->setChecked(r.cbMehrZeichen);
    {
        // A stored size outside the track bar's range leaves it where it is.
        const QSignalBlocker quiet(tabg);
        if (const int size = r.charTableSize()) tabg->setValue(size);
    }
    showFolderChoice();
    showing_ = false;
    storeControls();
}

void Tfopt::showFolderChoice() {
    const TGeneralOptionsRec& r = GeneralOptions;
    const bool usable = isUsableCustomFolder(r.CustomFolder);
    // A custom folder that cannot be used counts as the standard folder, so
    // nothing creates databases below an unusable path.
    const bool custom = r.rbVVCustom && usable;
    rbVVCustom->setChecked(custom);
    rbVVStandard->setChecked(!custom);
    CustomVocabularyDir = vocabularyDirFor(r, WorkDir);
    LabelVV->setText(ShortenPathForDisplay(QDir::toNativeSeparators(CustomVocabularyDir)));
    LabelVV->setToolTip(QDir::toNativeSeparators(CustomVocabularyDir));
    updateFolderControls();
}

void Tfopt::updateFolderControls() {
    bVV->setEnabled(rbVVCustom->isChecked());
    LabelVV->setEnabled(rbVVCustom->isChecked());
}

void Tfopt::storeControls() {
    if (showing_) return;
    TGeneralOptionsRec& r = GeneralOptions;
    r.AkzAkt = AkzAkt->isChecked();
    r.AusJedAn = AusJedAn->isChecked();
    r.AbfJedAn = AbfJedAn->isChecked();
    r.sza = sza->isChecked();
    r.szs = szs->isChecked();
    r.wbla = wbla->isChecked();
    r.sca = sca->isChecked();
    r.sbanz = sbanz->isChecked();
    r.cbdopp = cbdopp->isChecked();
    r.cbeinf = cbeinf->isChecked();
    r.cbShortcutz = cbShortcutz->isChecked();
    r.cbMehrZeichen = cbMehrZeichen->isChecked();
    r.rbVVStandard = rbVVStandard->isChecked();
    r.rbVVCustom = rbVVCustom->isChecked();
    r.setCharTableSize(tabg->value());
}

// --- handlers ---------------------------------------------------------------

void Tfopt::FormCreate() {
    loadGeneralOptions(); // a missing file leaves the settings at their defaults
    showRecord();
    setSharedSettingsPaths();
    call(FoptHooks.rebuildRecentFilesMenu);
}

void Tfopt::FormShow() {
    rbVVStandard->setText(QStringLiteral("Standardverzeichnis (") +
                          ShortenPathForDisplay(QDir::toNativeSeparators(WorkDir)) +
                          QStringLiteral(")"));
    // The file may have been written since (recent databases, character
    // table); these three options are not taken back from it.
    const TGeneralOptionsRec held = GeneralOptions;
    loadGeneralOptions();
    GeneralOptions.cbeinf = held.cbeinf;
    GeneralOptions.cbShortcutz = held.cbShortcutz;
    GeneralOptions.cbMehrZeichen = held.cbMehrZeichen;
    showRecord();
}

int Tfopt::execute() {
    FormShow();
    before_ = GeneralOptions;
    dirBefore_ = CustomVocabularyDir;
    const int result = platform::execModal(*this);
    if (result != QDialog::Accepted) {
        const bool layoutChanged = !sameCharTableLayout(before_, GeneralOptions);
        GeneralOptions = before_;
        CustomVocabularyDir = dirBefore_;
        showRecord();
        if (layoutChanged) call(FoptHooks.charTableLayoutChanged);
    }
    FormClose();
    return result;
}

void Tfopt::BitBtn1Click() {
    storeControls();
    if (rbVVCustom->isChecked() && !isUsableCustomFolder(GeneralOptions.CustomFolder)) {
        platform::showMessage(QStringLiteral("Bitte wählen Sie mit „Ändern“ den Ordner für die "
                                             "Vokabeldatenbanken aus."),
                              QStringLiteral("Allgemeine Einstellungen"), platform::Icon::Warning);
        return;
    }
    call(FoptHooks.applySettings);
    // A failed write has been reported; the settings stay in force for this
    // session all the same.
    writeGeneralSettings(GeneralOptions);
    if (databaseOpen()) call(FoptHooks.saveDatabaseFonts);
    accept();
}

void Tfopt::BitBtn2Click() {
    reject();
}

void Tfopt::FormClose() {
    // The per-language files and the recent entry belong to an open database.
    if (databaseOpen()) call(FoptHooks.databaseSettingsChanged);
}

void Tfopt::rbVVStandardClick() {
    storeControls();
    updateFolderControls();
}

void Tfopt::rbVVCustomClick() {
    storeControls();
    updateFolderControls();
}

void Tfopt::bVVClick() {
    QString path = GeneralOptions.CustomFolder.isEmpty() ? WorkDir : GeneralOptions.CustomFolder;
    if (!BrowseForFolder(this, QStringLiteral("Ordner suchen"), path)) return;
    path = QDir::cleanPath(path);
    if (!TGeneralOptionsRec::fitsPathField(path)) {
        platform::showMessage(QStringLiteral("Der Pfad des gewählten Ordners ist zu lang, um "
                                             "gespeichert zu werden (höchstens 255 Zeichen).\n\n%1")
                                  .arg(QDir::toNativeSeparators(path)),
                              QStringLiteral("Fehler"), platform::Icon::Error);
        return;
    }
    if (!isUsableCustomFolder(path)) {
        platform::showMessage(QStringLiteral("Der Ordner „%1“ kann nicht als Vokabelverzeichnis "
                                             "verwendet werden.")
                                  .arg(QDir::toNativeSeparators(path)),
                              QStringLiteral("Fehler"), platform::Icon::Error);
        return;
    }
    GeneralOptions.CustomFolder = path;
    CustomVocabularyDir = path;
    LabelVV->setText(ShortenPathForDisplay(QDir::toNativeSeparators(path)));
    LabelVV->setToolTip(QDir::toNativeSeparators(path));
}

void Tfopt::tabgChange() {
    if (showing_) return;
    storeControls();
    call(FoptHooks.charTableLayoutChanged);
}

void Tfopt::cbMehrZeichenClick() {
    if (showing_) return;
    storeControls();
    call(FoptHooks.charTableLayoutChanged);
}

bool BrowseForFolder(QWidget* owner, const QString& title, QString& path) {
    QFileDialog dialog(owner, title, path);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (platform::execModal(dialog) != QDialog::Accepted) return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) return false;
    path = chosen.first();
    return true;
}
