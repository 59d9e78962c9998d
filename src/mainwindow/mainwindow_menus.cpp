// The main window's menu bar and pop-up menus.
#include "mainwindow/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

namespace {
QAction* item(QMenu* menu, const QString& text, const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(text);
    action->setShortcut(shortcut);
    return action;
}

bool menuHasShortcut(const QMenu* menu, const QKeySequence& keys) {
    for (const QAction* action : menu->actions()) {
        if (action->menu() ? menuHasShortcut(action->menu(), keys)
                           : action->isEnabled() && action->shortcut() == keys)
            return true;
    }
    return false;
}

// The keys of the main window's menu items reach the menu also while a text
// field has the focus: Ctrl+A starts the quiz instead of selecting the text,
// Ctrl+Z starts the merge tool instead of undoing, and so on. A field claims
// such keys before the menu sees them; the claim is refused here.
class MenuKeysFirst : public QObject {
  public:
    explicit MenuKeysFirst(QMainWindow* window) : QObject(window), window_(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride) return false;
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != window_) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence keys(
            QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
        for (const QAction* top : window_->menuBar()->actions()) {
            if (top->menu() && menuHasShortcut(top->menu(), keys)) {
                event->ignore();
                return true;
            }
        }
        return false;
    }

  private:
    QMainWindow* window_;
};
} // namespace

void TForm1::buildMenus() {
    QMenuBar* bar = menuBar();

    DatenbankMenu = bar->addMenu(QStringLiteral("&Datenbank"));
    Neu = item(DatenbankMenu, QStringLiteral("&Neu"), QKeySequence(Qt::CTRL | Qt::Key_N));
    oeffnen = item(DatenbankMenu, QStringLiteral("&Laden"), QKeySequence(Qt::CTRL | Qt::Key_O));
    Drucken = item(DatenbankMenu, QStringLiteral("&Drucken"), QKeySequence(Qt::CTRL | Qt::Key_P));
    resetdata = DatenbankMenu->addMenu(QStringLiteral("Z&urücksetzen"));
    Schwierigkeit1 = item(resetdata, QStringLiteral("&Schwierigkeit"));
    BisherigeAbfragen1 = item(resetdata, QStringLiteral("&Bisherige Abfragen"));
    DatenbankMenu->addSeparator();
    Zippen1 = item(DatenbankMenu, QStringLiteral("&Sichern (In Datei packen)"),
                   QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
    Unzippen1 = item(DatenbankMenu, QStringLiteral("&Zurücksichern (Aus Datei entpacken)"),
                     QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z));
    ImportExport1 = DatenbankMenu->addMenu(QStringLiteral("&Import / Export der Datenbank"));
    ExportinTextdatei1 = item(ImportExport1, QStringLiteral("E&xport in Textdatei"),
                              QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_E));
    ImportvonTextdatei1 = item(ImportExport1, QStringLiteral("Im&port aus Textdatei"),
                               QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_I));
    N12 = item(DatenbankMenu, QStringLiteral("Zusa&mmenführen von Datenbanken"),
               QKeySequence(Qt::CTRL | Qt::Key_Z));
    DatenbankMenu->addSeparator();
    Ende = item(DatenbankMenu, QStringLiteral("Be&enden"));
    recentSeparator = DatenbankMenu->addSeparator();
    mit1 = item(DatenbankMenu, QString());
    mit2 = item(DatenbankMenu, QString());
    mit3 = item(DatenbankMenu, QString());
    mit4 = item(DatenbankMenu, QString());
    for (QAction* recent : {mit1, mit2, mit3, mit4})
        recent->setVisible(false);

    Bearbeiten = bar->addMenu(QStringLiteral("&Bearbeiten"));
    Lektion1 = Bearbeiten->addMenu(QStringLiteral("&Lektion"));
    NeueLektion1 = item(Lektion1, QStringLiteral("&Neu"), QKeySequence(Qt::CTRL | Qt::Key_L));
    LektionLoeschen1 = item(Lektion1, QStringLiteral("&Löschen"));
    Umbenennen1 = item(Lektion1, QStringLiteral("&Umbenennen"));
    LektionKopieren1 = item(Lektion1, QStringLiteral("&Kopieren nach"));
    LektionVerschieben1 = item(Lektion1, QStringLiteral("&Verschieben nach"));
    MarkierteVokabeln1 = Bearbeiten->addMenu(QStringLiteral("&Markierte Vokabeln"));
    Vokabelnlschen1 = item(MarkierteVokabeln1, QStringLiteral("&Löschen"));
    VokabelnKopieren1 = item(MarkierteVokabeln1, QStringLiteral("&Kopieren nach"));
    VokabelnVerschieben1 = item(MarkierteVokabeln1, QStringLiteral("&Verschieben nach"));
    Vokabel1 = Bearbeiten->addMenu(QStringLiteral("&Vokabel"));
    VokabelNeu1 = item(Vokabel1, QStringLiteral("&Neu"), QKeySequence(Qt::Key_F3));
    VokabelLoeschen1 = item(Vokabel1, QStringLiteral("&Löschen"), QKeySequence(Qt::Key_F4));
    VokabelSpeichern1 = item(Vokabel1, QStringLiteral("&Speichern"), QKeySequence(Qt::Key_F2));
    Wortart1 = Vokabel1->addMenu(QStringLiteral("Wortart"));
    verb1 = item(Wortart1, QStringLiteral("Verb"), QKeySequence(Qt::Key_F5));
    Nomen1 = item(Wortart1, QStringLiteral("Nomen"), QKeySequence(Qt::Key_F6));
    adjektiv1 = item(Wortart1, QStringLiteral("Adjektiv"), QKeySequence(Qt::Key_F7));
    Ausdruck1 = item(Wortart1, QStringLiteral("Ausdruck"), QKeySequence(Qt::Key_F8));
    Bearbeiten->addSeparator();
    Sortieren1 = item(Bearbeiten, QStringLiteral("&Daten sortieren"));
    Suchen1 = item(Bearbeiten, QStringLiteral("&Suchen"), QKeySequence(Qt::CTRL | Qt::Key_F));
    Bearbeiten->addSeparator();
    ErsteVokabel1 = item(Bearbeiten, QStringLiteral("&Erste Vokabel"), QKeySequence(Qt::Key_F9));
    VorherigeVokabel1 =
        item(Bearbeiten, QStringLiteral("&Vorherige Vokabel"), QKeySequence(Qt::Key_F10));
    NaechsteVokabel1 =
        item(Bearbeiten, QStringLiteral("&Nächste Vokabel"), QKeySequence(Qt::Key_F11));
    LetzteVokabel1 = item(Bearbeiten, QStringLiteral("&Letzte Vokabel"), QKeySequence(Qt::Key_F12));

    Eingabe1 = bar->addMenu(QStringLiteral("&Sonderzeichen"));
    Einfuegen1 = item(Eingabe1, QStringLiteral("&Einfügen (vollständige Tabelle)"),
                      QKeySequence(Qt::CTRL | Qt::Key_E));
    Benutzertabelle1 = item(Eingabe1, QStringLiteral("&Benutzertabelle anzeigen"),
                            QKeySequence(Qt::CTRL | Qt::Key_B));

    Vokabeln = bar->addMenu(QStringLiteral("&Abfrage"));
    Abfragen = item(Vokabeln, QStringLiteral("&Start"), QKeySequence(Qt::CTRL | Qt::Key_A));
    uaf = item(Vokabeln, QStringLiteral("Unterbrochene Abfrage &fortsetzen"),
               QKeySequence(Qt::CTRL | Qt::Key_U));

    EinstellungenMenu = bar->addMenu(QStringLiteral("&Einstellungen"));
    Einstellungen2 = item(EinstellungenMenu, QStringLiteral("&Allgemeine"),
                          QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_A));
    Datenbank1 = item(EinstellungenMenu, QStringLiteral("&Datenbank (Name/Schriftart/..)"),
                      QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_D));
    Sonderoptionen1 = item(EinstellungenMenu, QStringLiteral("S&ondereinstellungen"),
                           QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_O));
    Einstellungen1 = item(EinstellungenMenu, QStringLiteral("Ab&frage (Modus/..)"),
                          QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_F));

    HilfeMenu = bar->addMenu(QStringLiteral("&Hilfe"));
    OrvilexHilfe1 = item(HilfeMenu, QStringLiteral("&Inhalt"), QKeySequence(Qt::Key_F1));
    HilfezurgriechischenSchriftart1 =
        item(HilfeMenu, QStringLiteral("&Hilfe zur griechischen Schriftart"));
    Orvilexeffektivnutzen1 = item(HilfeMenu, QStringLiteral("Orvilex &effektiv nutzen"));
    OrvikonHomepage1 = item(HilfeMenu, QStringLiteral("&Orvikon Homepage"));
    HilfeMenu->addSeparator();
    Info1 = item(HilfeMenu, QStringLiteral("I&nfo"));

    Lektionenpup = new QMenu(this);
    for (const char* text : {"Neue Lektion", "Lektion löschen", "Lektion kopieren",
                             "Lektion verschieben", "Lektion umbenennen"})
        Lektionenpup->addAction(QString::fromUtf8(text));
    vokabelpopup = new QMenu(this);
    for (const char* text : {"Löschen", "Kopieren nach", "Verschieben nach"})
        vokabelpopup->addAction(QString::fromUtf8(text));

    connect(Ende, &QAction::triggered, this, &TForm1::EndeClick);
    qApp->installEventFilter(new MenuKeysFirst(this));
}

// Every menu shortcut is removed except F3 (new word), so that the keys reach
// the typing aids instead.
void TForm1::disableShortcutsExceptNewWord() {
    std::function<void(QMenu*)> strip = [&](QMenu* menu) {
        for (QAction* action : menu->actions()) {
            if (action->menu())
                strip(action->menu());
            else if (action != VokabelNeu1)
                action->setShortcut(QKeySequence());
        }
    };
    for (QAction* top : menuBar()->actions())
        if (top->menu())
            strip(top->menu());
}
