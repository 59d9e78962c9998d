#include "settings/generalsettings.h"

#include "database/currentdatabase.h"
#include "database/generaloptions.h"
#include "platform/folders.h"
#include "platform/paths.h"

namespace {
constexpr int MaxShownPath = 50;
constexpr int KeptHead = 3;
constexpr int KeptTail = 45;
} // namespace

QString ShortenPathForDisplay(const QString& path) {
    if (path.size() <= MaxShownPath) return path;
    return path.left(KeptHead) + QStringLiteral("..") + path.right(KeptTail);
}

bool isUsableCustomFolder(const QString& folder) {
    const QString path = platform::normalizePath(folder);
    return path.startsWith(QLatin1Char('/')) && !path.startsWith(QStringLiteral("//"));
}

QString vocabularyDirFor(const TGeneralOptionsRec& record, const QString& workDir) {
    return isUsableCustomFolder(record.CustomFolder) ? record.CustomFolder : workDir;
}

void setSharedSettingsPaths() {
    PrintCardOptionsPath = platform::dataFile(QStringLiteral("Dru2Opt.dat"));
    PrintTextOptionsPath = platform::dataFile(QStringLiteral("Dru3Opt.dat"));
    SelectionOptionsPath = platform::dataFile(QStringLiteral("AuswOpt.dat"));
    QuizOptionsPath = platform::dataFile(QStringLiteral("Option.dat"));
    if (CharTableOptionsPath.isEmpty()) CharTableOptionsPath = GeneralOptionsFile();
}

bool writeGeneralSettings(const TGeneralOptionsRec& settings) {
    TGeneralOptionsRec record = settings; // a missing file: write what we hold
    record.load(GeneralOptionsFile());
    record.takeSettingsFrom(settings);
    const bool written = record.save(GeneralOptionsFile());
    GeneralOptions = record;
    return written;
}
