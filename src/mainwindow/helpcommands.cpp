#include "mainwindow/helpcommands.h"

#include "mainwindow/helpbook.h"
#include "mainwindow/helpwindow.h"
#include "mainwindow/mainwindow.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/shell.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTabWidget>
#include <QToolButton>
#include <QUrl>
#include <QWidget>

namespace helpcommands {
namespace {

Opener& opener() {
    static Opener current;
    return current;
}

bool open(const QString& target) {
    return opener() ? opener()(target) : platform::shellOpen(target);
}

void warn(const QString& text, const QString& caption) {
    platform::showMessage(text, caption, platform::Icon::Warning);
}

QPointer<HelpWindow>& window() {
    static QPointer<HelpWindow> current;
    return current;
}

// The help window, made a child of the modal window in front (the quiz
// selection, the quiz settings), so that the modal window does not block it.
HelpWindow& helpWindowFor(QWidget* modal) {
    if (!window()) {
        window() = new HelpWindow(help::book(), modal);
        window()->openExternal = [](const QUrl& url) { open(url.toString()); };
    } else if (window()->parentWidget() != modal) {
        const QRect where = window()->geometry();
        window()->setParent(modal, Qt::Window);
        window()->setGeometry(where);
    }
    return *window();
}

} // namespace

Opener setOpener(Opener replacement) {
    Opener old = std::move(opener());
    opener() = std::move(replacement);
    return old;
}

QString HelpFileName() {
    return platform::HelpFile.isEmpty() ? QStringLiteral("Orvilex.chm")
                                        : QFileInfo(platform::HelpFile).fileName();
}

bool ShowHelp(const QString& topic) {
    const help::Topic wanted = help::parseTopic(topic.isEmpty() ? HelpFileName() : topic);
    if (wanted.file.compare(HelpFileName(), Qt::CaseInsensitive) != 0) {
        warn(QStringLiteral("Die Hilfedatei „%1“ wurde nicht gefunden.").arg(wanted.file),
             QStringLiteral("Hilfe"));
        return false;
    }
    const QString page = wanted.page.isEmpty() ? help::ContentsPage : wanted.page;
    if (!help::book().hasPage(page.section(QLatin1Char('#'), 0, 0))) {
        warn(help::missingPageText(page), QStringLiteral("Hilfe"));
        return false;
    }
    HelpWindow& help = helpWindowFor(QApplication::activeModalWidget());
    help.showPage(page);
    help.fitToScreen();
    help.show();
    // Now with its own frame, where the window system has put it on already.
    help.fitToScreen();
    help.raise();
    help.activateWindow();
    return true;
}

HelpWindow* helpWindow() {
    return window();
}

void ConnectHelpCommands(TForm1& form) {
    const auto contents = [] { ShowHelp(); };
    QObject::connect(form.OrvilexHilfe1, &QAction::triggered, &form, contents);
    QObject::connect(form.hilfebtn, &QToolButton::clicked, &form, contents);
    QObject::connect(form.HilfezurgriechischenSchriftart1, &QAction::triggered, &form,
                     [] { ShowHelp(GreekFontTopic); });
    QObject::connect(form.Orvilexeffektivnutzen1, &QAction::triggered, &form,
                     [] { ShowHelp(EffectiveUseTopic); });
}

bool OpenHomepage() {
    if (open(MakerHomepage)) return true;
    warn(QStringLiteral("Die Internetseite %1 konnte nicht geöffnet werden. Bitte rufen Sie sie "
                        "in Ihrem Internetbrowser auf.")
             .arg(MakerHomepage),
         QStringLiteral("Internet"));
    return false;
}

bool WriteMailToMaker() {
    if (open(QStringLiteral("mailto:") + MakerMailAddress)) return true;
    warn(QStringLiteral("Es konnte kein E-Mail-Programm gestartet werden. Sie erreichen uns "
                        "unter %1.")
             .arg(MakerMailAddress),
         QStringLiteral("Kontakt"));
    return false;
}

bool StartMergeTool() {
    const QString program = platform::dataFile(QStringLiteral("zusammen.exe"));
    if (!QFileInfo(program).isFile()) return false;
    if (platform::startProgram(program, {}, WorkDir)) return true;
    warn(QStringLiteral("Das Programm zum Zusammenführen von Datenbanken „%1“ konnte nicht "
                        "gestartet werden.\n\nBitte prüfen Sie, ob es ein auf diesem Computer "
                        "ausführbares Programm ist.")
             .arg(QDir::toNativeSeparators(program)),
         QStringLiteral("Fehler"));
    return false;
}

bool ShowSearchWindow(TForm1& form, QWidget* searchWindow) {
    if (!form.CheckRecordCompleteHere()) return false;
    form.Tab1->setCurrentIndex(0);
    if (searchWindow) {
        searchWindow->show();
        searchWindow->raise();
        searchWindow->activateWindow();
    }
    return true;
}

} // namespace helpcommands
