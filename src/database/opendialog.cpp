#include "database/opendialog.h"

#include "database/currentdatabase.h"
#include "platform/messagebox.h"
#include "platform/paths.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

Tdateiladen* dateiladen = nullptr;

Tdateiladen::Tdateiladen(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Vokabeldatenbank laden"));
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("Bitte zu öffnende Datenbank auswählen:"), this);
    namenliste = new QListWidget(this);
    namenliste->setContextMenuPolicy(Qt::CustomContextMenu);
    Label2 = new QLabel(this);
    Label2->setWordWrap(true);
    Label2->setStyleSheet(QStringLiteral("color: gray"));
    okbtn = new QPushButton(QStringLiteral("&Öffnen"), this);
    okbtn->setDefault(true);
    BitBtn1 = new QPushButton(QStringLiteral("&Abbruch"), this);
    BitBtn2 = new QPushButton(QStringLiteral("&Löschen"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn2);
    buttons->addStretch(1);
    buttons->addWidget(okbtn);
    buttons->addWidget(BitBtn1);
    layout->addWidget(Label1);
    layout->addWidget(namenliste, 1);
    layout->addWidget(Label2);
    layout->addLayout(buttons);
    resize(420, 380);

    PopupMenu1 = new QMenu(this);
    QAction* open = PopupMenu1->addAction(QStringLiteral("&Öffnen"));
    QAction* show = PopupMenu1->addAction(QStringLiteral("&Dateiname der Datenbank anzeigen"));
    QAction* remove = PopupMenu1->addAction(QStringLiteral("&Datenbank löschen"));

    // Only a row the user chose counts, and a chosen row is a selected one:
    // the list makes its first row current when it takes the focus, without
    // choosing it.
    connect(namenliste, &QListWidget::itemSelectionChanged, this, [this] {
        const int row = chosenRow();
        if (row >= 0) {
            namenlisteClick(row);
        } else {
            Label2->clear();
            okbtn->setEnabled(false);
            BitBtn2->setEnabled(false);
        }
    });
    connect(namenliste, &QListWidget::itemDoubleClicked, this, [this] { okbtn->click(); });
    connect(namenliste, &QListWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(namenliste->mapToGlobal(pos)); });
    connect(okbtn, &QPushButton::clicked, this, &Tdateiladen::ffnen1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &Tdateiladen::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &Tdateiladen::BitBtn2Click);
    connect(open, &QAction::triggered, this, [this] {
        if (okbtn->isEnabled())
            ffnen1Click();
    });
    connect(show, &QAction::triggered, this, &Tdateiladen::Dateinameanzeigen1Click);
    connect(remove, &QAction::triggered, this, [this] {
        if (BitBtn2->isEnabled())
            BitBtn2Click();
    });
}

void Tdateiladen::showEvent(QShowEvent* event) {
    FormPaint();
    QDialog::showEvent(event);
}

void Tdateiladen::FormPaint() {
    okbtn->setEnabled(false);
    BitBtn2->setEnabled(false);
    Label2->clear();
    const DatabaseListing listing = ListDatabases(VocabularyRoot());
    dbnames = listing.dbnames;
    titles = listing.titles;
    namenliste->blockSignals(true);
    namenliste->clear();
    namenliste->addItems(listing.namenliste);
    namenliste->setCurrentRow(-1);
    namenliste->blockSignals(false);
}

int Tdateiladen::chosenRow() const {
    const QList<QListWidgetItem*> chosen = namenliste->selectedItems();
    return chosen.isEmpty() ? -1 : namenliste->row(chosen.first());
}

void Tdateiladen::namenlisteClick(int row) {
    if (row < 0 || row >= dbnames.size())
        return;
    Label2->setText(dbnames.at(row));
    okbtn->setEnabled(true);
    BitBtn2->setEnabled(true);
}

void Tdateiladen::ffnen1Click() {
    if (Label2->text().isEmpty())
        return;
    done(1);
}

void Tdateiladen::BitBtn1Click() { done(2); }

void Tdateiladen::Dateinameanzeigen1Click() {
    namenlisteClick(chosenRow());
    if (Label2->text().isEmpty())
        return;
    platform::showMessage(QStringLiteral("Dateiname: ") + QDir::toNativeSeparators(Label2->text()),
                          QStringLiteral("Information"), platform::Icon::Information);
}

void Tdateiladen::BitBtn2Click() {
    const int row = chosenRow();
    if (row < 0 || row >= dbnames.size())
        return;
    if (platform::showMessage(QStringLiteral("Ausgewählte Datenbank wirklich löschen?"),
                              QStringLiteral("Achtung!"), platform::Icon::Warning,
                              platform::Buttons::YesNo) != platform::Answer::Yes)
        return;
    const QString path = dbnames.at(row);
    const bool isOpen = !CurrentTablePath.isEmpty() &&
                        platform::normalizePath(CurrentTablePath) == platform::normalizePath(path);
    if (isOpen && clearLessonTree)
        clearLessonTree();
    if (!DeleteDatabaseFiles(path))
        platform::showMessage(QStringLiteral("Die Datenbank konnte nicht vollständig gelöscht werden."),
                              QStringLiteral("Fehler"), platform::Icon::Error);
    CurrentTablePath.clear();
    FormPaint();
}
