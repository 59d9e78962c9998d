#pragma once
// The commands of the help menu, the help keys and the tool bar's help button,
// the maker's web page and mail address, the merge tool and the search command.
//
// The help is the program's own: German pages shipped inside the program and
// shown in its help window (mainwindow/helpbook.h, helpwindow.h), so that a
// command opens exactly its topic and no help viewer has to be installed.
// Topics keep their old form, "Orvilex.chm" for the contents and
// "Orvilex.chm::/html/page.htm" for a page. Web pages, mail and the merge tool
// still go to the desktop (QDesktopServices, QProcess).
#include <QString>
#include <functional>

class HelpWindow;
class QWidget;
class TForm1;

namespace helpcommands {

// The maker of the program.
inline const QString MakerHomepage = QStringLiteral("https://orvilex.de");
inline const QString MakerMailAddress = QStringLiteral("kontakt@orvilex.de");

// The help file's name ("Orvilex.chm" unless platform::HelpFile names another).
QString HelpFileName();

// The topics the windows open.
inline const QString GreekFontTopic = QStringLiteral("Orvilex.chm::/html/orvi8oc6.htm");
inline const QString EffectiveUseTopic = QStringLiteral("Orvilex.chm::/html/orvi6378.htm");
inline const QString QuizSelectionTopic = QStringLiteral("Orvilex.chm::/html/orvi8oiu.htm");
inline const QString QuizWindowTopic = QStringLiteral("Orvilex.chm::/html/orvi8nhi.htm");

// Opens the help window at a topic; an empty topic or the help file's name
// alone opens the contents. A page the help does not have, or another help
// file, is explained in a box and no window opens. False then.
bool ShowHelp(const QString& topic = QString());

// The help window once a help command has opened it, else null.
HelpWindow* helpWindow();

// Connects the main window's help commands: "&Inhalt" (F1) and the tool bar's
// help button to the contents, the two topic entries to their pages.
void ConnectHelpCommands(TForm1& form);

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
