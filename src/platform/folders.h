#pragma once
// The program's folders: WorkDir holds the settings ("data"), backups and the
// language folders of the databases; InstallDir is the program folder.
#include <QString>

extern QString WorkDir;
extern QString InstallDir;

namespace platform {

// The user's documents folder.
QString GetMyDocumentsFolder();
// Tests point the documents folder at a temporary folder.
void setDocumentsFolderOverride(const QString& folder);

// A file of WorkDir's "data" folder, found without regard to case.
QString dataFile(const QString& name);

} // namespace platform
