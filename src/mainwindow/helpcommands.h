#pragma once
// The commands of the help menu and the tool bar's help button, the maker's
// web page and mail address, the merge tool and the search command.
//
// The help is one CHM file. Linux has no "hh.exe": the file is opened with the
// desktop's default program for it. Such viewers cannot be told a page from
// outside, so "&Inhalt", F1, the tool bar's help button and the two topic
// entries all open the file at its start.
#include <QString>
#include <functional>

class QWidget;
class TForm1;

namespace helpcommands {

// The maker of the program.
inline const QString MakerHomepage = QStringLiteral("https://orvilex.de");
inline const QString MakerMailAddress = QStringLiteral("kontakt@orvilex.de");

// The help file's name ("Orvilex.chm" unless platform::HelpFile names another).
QString HelpFileName();
// The help file: found in WorkDir, then in the program folder (restricted-user
// mode keeps WorkDir in the documents folder), without regard to case. Empty
// when there is none.
QString HelpFilePath();

// Opens the help. A missing help file, or one that no program on this
// computer opens, is explained in a box. False then.
bool ShowHelp();

// Opens the maker's web page in the default browser, or a new mail to the
// maker in the default mail program; a failure is explained in a box.
bool OpenHomepage();
bool WriteMailToMaker();

// Starts the merge tool "zusammen.exe" of WorkDir's "data" folder in WorkDir.
// Without that file nothing happens (false). When it cannot be started (on
// Linux it must be an executable program) a box says so.
bool StartMergeTool();

// The search command: only when the current word may be left, shows the word
// page and brings the search window (not modal) to the front. False when the
// word was incomplete.
bool ShowSearchWindow(TForm1& form, QWidget* searchWindow);

// How documents and web pages are opened: platform::shellOpen, unless a test
// puts another opener in (an empty one restores it). Returns the old one.
using Opener = std::function<bool(const QString&)>;
Opener setOpener(Opener opener);

} // namespace helpcommands
