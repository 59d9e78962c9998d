#include "mainwindow/programentry.h"

#include "platform/messagebox.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/shell.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace programentry {

Run chooseRun(const QStringList& arguments, const QString& currentFolder) {
    const QString first = arguments.isEmpty() ? QString() : arguments.first();
    if (first == QLatin1String("/update") ||
        QFileInfo::exists(platform::joinPath(currentFolder, QStringLiteral("update.txt"))))
        return Run::Update;
    if (first == QLatin1String("/uninstall"))
        return Run::Uninstall;
    return Run::Normal;
}

QString updateResultMessage(const QString& resultText) {
    if (resultText.isEmpty() || resultText == QLatin1String("33"))
        return QStringLiteral("Update auf Version 3.3.1 war erfolgreich.");
    return QStringLiteral("Update auf Version 3.3.1 ist fehlgeschlagen (") + resultText +
           QStringLiteral(").");
}

UninstallPlan planUninstall(const QString& entry) {
    UninstallPlan plan;
    if (entry.size() > 10 && entry.endsWith(QLatin1String("/uninstall"))) {
        plan.kind = UninstallPlan::Kind::CopyAndOpen;
        // An entry with a drive letter keeps its temporary folder on that drive;
        // a plain path uses the system's temporary folder.
        plan.tempFolder = entry.size() > 1 && entry[1] == QLatin1Char(':')
                              ? entry.left(1) + QStringLiteral(":\\temp\\")
                              : QDir::tempPath() + QLatin1Char('/');
        plan.source = entry.left(entry.size() - 22) + QStringLiteral("olu_deinst.exe");
        plan.copy = plan.tempFolder + QStringLiteral("olu_deinst.exe");
        return plan;
    }
    if (entry.size() <= 1)
        return plan; // Failed
    plan.kind = UninstallPlan::Kind::OpenOlder;
    const int blank = entry.indexOf(QLatin1Char(' '), 1);
    if (blank < 0) {
        plan.program = entry; // no parameters at all
        return plan;
    }
    plan.program = entry.left(blank + 1);
    plan.parameters = entry.mid(blank);
    return plan;
}

void runUninstall(const QString& currentFolder) {
    const QString entry = platform::readRegistryString(UninstallKey, QStringLiteral("UninstallString"));
    const UninstallPlan plan = planUninstall(entry);
    const QString readme = platform::joinPath(currentFolder, QStringLiteral("uninstall-readme.txt"));
    switch (plan.kind) {
    case UninstallPlan::Kind::CopyAndOpen:
        platform::ensureFolder(platform::normalizePath(plan.tempFolder));
        platform::copyReplacing(platform::normalizePath(plan.source),
                                platform::normalizePath(plan.copy));
        if (!platform::startProgram(plan.copy, {}) && !platform::startProgram(plan.source, {}))
            platform::shellOpen(readme);
        break;
    case UninstallPlan::Kind::Failed:
        platform::showMessage(QStringLiteral("Deinstallation fehlgeschlagen!"));
        platform::shellOpen(readme);
        break;
    case UninstallPlan::Kind::OpenOlder:
        platform::startProgram(plan.program.trimmed(),
                               QProcess::splitCommand(plan.parameters.trimmed()));
        break;
    }
}

} // namespace programentry
