#include "mainwindow/helpcommands.h"

#include "mainwindow/mainwindow.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/paths.h"
#include "platform/shell.h"

#include <QDir>
#include <QFileInfo>
#include <QTabWidget>
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

QString HelpFilePath() {
    if (!platform::HelpFile.isEmpty() && QFileInfo(platform::HelpFile).isAbsolute())
        return QFileInfo(platform::HelpFile).isFile() ? platform::HelpFile : QString();
    for (const QString& folder : {WorkDir, InstallDir}) {
        if (folder.isEmpty()) continue;
        const QString path = platform::findCaseInsensitive(folder, HelpFileName());
        if (QFileInfo(path).isFile()) return path;
    }
    return QString();
}

bool ShowHelp() {
    const QString path = HelpFilePath();
    if (path.isEmpty()) {
        warn(QStringLiteral("Die Hilfedatei „%1“ wurde nicht gefunden.\n\nSie wird im "
                            "Programmordner „%2“ erwartet.")
                 .arg(HelpFileName(), QDir::toNativeSeparators(WorkDir)),
             QStringLiteral("Hilfe"));
        return false;
    }
    if (!open(path)) {
        warn(QStringLiteral("Die Hilfedatei „%1“ konnte nicht geöffnet werden.\n\nBitte "
                            "installieren Sie ein Programm, das CHM-Hilfedateien anzeigt (zum "
                            "Beispiel xCHM oder KchmViewer).")
                 .arg(QDir::toNativeSeparators(path)),
             QStringLiteral("Hilfe"));
        return false;
    }
    return true;
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
