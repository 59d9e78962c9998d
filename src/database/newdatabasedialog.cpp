#include "database/newdatabasedialog.h"

#include "database/databasefiles.h"
#include "platform/messagebox.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TDialogNeu* DialogNeu = nullptr;

TDialogNeu::TDialogNeu(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Neue Datenbank"));
    auto* layout = new QVBoxLayout(this);
    auto* nameRow = new QHBoxLayout;
    EditName = new QLineEdit(this);
    EditName->setMaxLength(25);
    nameRow->addWidget(new QLabel(QStringLiteral("Name :"), this));
    nameRow->addWidget(EditName, 1);
    layout->addLayout(nameRow);

    auto* languages = new QGroupBox(QStringLiteral("Sprache :"), this);
    auto* grid = new QGridLayout(languages);
    RLatein = new QRadioButton(QStringLiteral("Latein"), languages);
    RGriechisch = new QRadioButton(QStringLiteral("Griechisch"), languages);
    Rfranzoesisch = new QRadioButton(QStringLiteral("Französisch"), languages);
    REnglisch = new QRadioButton(QStringLiteral("Englisch"), languages);
    RSonstige = new QRadioButton(QStringLiteral("Sonstige"), languages);
    ruser = new QRadioButton(languages);
    userl = new QComboBox(languages);
    userl->setEditable(true);
    userl->addItems({"Hebräisch", "Spanisch", "Tschechisch", "Polnisch", "Russisch", "Rumänisch",
                     "Ungarisch", "Kroatisch", "Türkisch"});
    userl->setCurrentIndex(0);
    RLatein->setChecked(true);
    grid->addWidget(RLatein, 0, 0);
    grid->addWidget(RGriechisch, 1, 0);
    grid->addWidget(Rfranzoesisch, 2, 0);
    grid->addWidget(REnglisch, 0, 1);
    grid->addWidget(RSonstige, 1, 1);
    auto* userRow = new QHBoxLayout;
    userRow->addWidget(ruser);
    userRow->addWidget(userl, 1);
    grid->addLayout(userRow, 2, 1);
    layout->addWidget(languages);

    OKBtn = new QPushButton(QStringLiteral("&OK"), this);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("&Abbrechen"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    layout->addLayout(buttons);

    for (QRadioButton* b : {RLatein, RGriechisch, Rfranzoesisch, REnglisch, RSonstige})
        connect(b, &QRadioButton::clicked, this, [this] { EditName->setFocus(); });
    connect(userl, &QComboBox::currentTextChanged, this, [this] { ruser->setChecked(true); });
    connect(OKBtn, &QPushButton::clicked, this, &TDialogNeu::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TDialogNeu::CancelBtnClick);
    EditName->clear();
}

void TDialogNeu::showEvent(QShowEvent* event) {
    EditName->clear();
    EditName->setFocus();
    QDialog::showEvent(event);
}

QString TDialogNeu::languageName() const {
    for (QRadioButton* b : {RLatein, RGriechisch, Rfranzoesisch, REnglisch, RSonstige})
        if (b->isChecked())
            return b->text();
    return userl->currentText().trimmed();
}

void TDialogNeu::OKBtnClick() {
    // The name and the language become file and folder names: both are
    // checked here, before any file is touched. An empty name is refused by
    // the caller with its own message.
    const QString name = EditName->text();
    if (!name.isEmpty()) {
        const QString problem = CheckDatabaseName(name);
        if (!problem.isEmpty()) {
            platform::showMessage(problem);
            return; // the dialog stays open
        }
    }
    const QString languageProblem = CheckTypedLanguage(languageName());
    if (!languageProblem.isEmpty()) {
        platform::showMessage(languageProblem, QStringLiteral("Fehler"), platform::Icon::Error);
        return;
    }
    done(1);
}

void TDialogNeu::CancelBtnClick() { done(2); }
