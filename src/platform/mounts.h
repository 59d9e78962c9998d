#pragma once
// The mounted file systems, and questions to a file system that may never be
// answered. A network share whose server went away, or a FUSE mount whose
// daemon hangs, keeps every statfs, stat or open on it waiting in the kernel
// for good. So the list of mounts comes from the kernel's mount table, which
// names them without touching them, and a question to a file system runs on
// a thread of its own that nothing ever waits for longer than a deadline.
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

struct statfs;

namespace platform {

struct MountEntry {
    QString device;
    QString mountPoint;
    QString type;
};

// The entries of a table in the format of /proc/self/mounts; the octal
// escapes of its fields ("\040" for a blank) are decoded.
QList<MountEntry> parseMountTable(const QByteArray& table);
// The table of MountTablePath (tests point it at a file of their own).
extern QString MountTablePath;
QList<MountEntry> readMountTable();
// A kernel or system file system that holds no files of the user.
bool isPseudoFileSystem(const MountEntry& entry);
// The mounts a user may keep files on, in table order, each mount point once.
QList<MountEntry> userVolumes(const QList<MountEntry>& table);
// The name the system gives the device's volume ("" when it has none).
QString volumeLabel(const QString& device);

// How long a question to a file system may take before it counts as not
// answered (tests shorten it).
extern int FileSystemAnswerMs;

struct FileSystemAnswer {
    enum class State { Pending, Answered, Failed, NoAnswer };
    State state = State::Pending;
    int error = 0; // errno when Failed
    qint64 bytesTotal = 0;
    qint64 bytesFree = 0;
    bool readOnly = false;
    // The file system answered, with its figures or with an error.
    bool answered() const { return state == State::Answered || state == State::Failed; }
};

// statfs(2) as the questions call it; tests put in one that fails or never
// returns. An empty function puts the system's back.
using StatfsFunction = std::function<int(const char* path, struct statfs* result)>;
void setStatfsFunction(StatfsFunction function);

// The question "statfs" about a path, asked on a detached thread: one stuck
// in the kernel holds up neither its caller nor the end of the program.
class FileSystemQuestion {
  public:
    // Asks about `path`, or joins the question about it that is still open
    // from earlier, so that a file system that hangs gets one question only.
    static std::shared_ptr<FileSystemQuestion> ask(const QString& path);
    // The answer so far: Pending until FileSystemAnswerMs have passed since
    // the question was asked, then NoAnswer as long as none came.
    FileSystemAnswer answer() const;
    // Waits for the answer, at most until FileSystemAnswerMs after asking.
    FileSystemAnswer wait() const;

    struct State;
    explicit FileSystemQuestion(std::shared_ptr<State> state) : state_(std::move(state)) {}

  private:
    std::shared_ptr<State> state_;
};

// Asks about each path at once and waits for all answers together, at most
// FileSystemAnswerMs.
QList<FileSystemAnswer> askFileSystems(const QStringList& paths);
FileSystemAnswer askFileSystem(const QString& path);

// An existing folder on a file system that answers in time.
bool isAnsweringFolder(const QString& path);

// The folders whose file system answers in time: a folder that is a mount
// point is asked (all at once); any other lies on its parent's file system,
// which the caller has just listed.
QStringList foldersThatAnswer(const QStringList& folders);

// "Der Ordner "…" antwortet nicht. Bitte prüfen Sie …": `what` names the thing.
QString noAnswerMessage(const QString& path, const QString& what = QStringLiteral("Der Ordner"));

} // namespace platform
