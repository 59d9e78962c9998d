#pragma once
// The program's entry decides from the first argument which run takes place:
// the updater run, the uninstall run or the normal run with the main window.
#include <QString>
#include <QStringList>

namespace programentry {

enum class Run { Update, Uninstall, Normal };

// "/update" (exactly) or a file "update.txt" in the current folder → update;
// "/uninstall" → uninstall; anything else → normal.
Run chooseRun(const QStringList& arguments, const QString& currentFolder);

QString updateResultMessage(const QString& resultText);

// What the uninstall run does with the uninstall entry's command line.
struct UninstallPlan {
    enum class Kind { CopyAndOpen, Failed, OpenOlder } kind = Kind::Failed;
    QString tempFolder;  // CopyAndOpen: folder of the copy
    QString source;      // CopyAndOpen: the uninstaller in the installation folder
    QString copy;        // CopyAndOpen: tempFolder + "olu_deinst.exe"
    QString program;     // OpenOlder: program path (with its trailing blank)
    QString parameters;  // OpenOlder: the rest, with its leading blank
};
UninstallPlan planUninstall(const QString& uninstallString);

inline const QString UninstallKey =
    QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvilex 3.3");

// Carries the uninstall run out (registry entry, copy, open); shows its
// message boxes through the message seam.
void runUninstall(const QString& currentFolder);

} // namespace programentry
