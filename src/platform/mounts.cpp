#include "platform/mounts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <sys/statvfs.h>
#include <sys/vfs.h>
#include <system_error>
#include <thread>

namespace platform {

QString MountTablePath = QStringLiteral("/proc/self/mounts");
int FileSystemAnswerMs = 2000;

namespace {

QString decodeField(const QByteArray& field) {
    QByteArray bytes;
    bytes.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const auto octal = [&](qsizetype at) { return field.at(at) >= '0' && field.at(at) <= '7'; };
        if (field.at(i) == '\\' && i + 3 < field.size() && octal(i + 1) && octal(i + 2) &&
            octal(i + 3)) {
            bytes.append(char(((field.at(i + 1) - '0') << 6) | ((field.at(i + 2) - '0') << 3) |
                              (field.at(i + 3) - '0')));
            i += 3;
        } else {
            bytes.append(field.at(i));
        }
    }
    return QFile::decodeName(bytes);
}

bool isBelow(const QString& folder, const QString& path) {
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

using Clock = std::chrono::steady_clock;

} // namespace

QList<MountEntry> parseMountTable(const QByteArray& table) {
    QList<MountEntry> entries;
    for (const QByteArray& line : table.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3 || fields.at(0).startsWith('#')) continue;
        entries.append(
            {decodeField(fields.at(0)), decodeField(fields.at(1)), decodeField(fields.at(2))});
    }
    return entries;
}

QList<MountEntry> readMountTable() {
    QFile file(MountTablePath);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return parseMountTable(file.readAll());
}

bool isPseudoFileSystem(const MountEntry& entry) {
    static const QSet<QString> types{
        "autofs",     "binfmt_misc", "bpf",       "cgroup",   "cgroup2", "configfs",
        "debugfs",    "devpts",      "devtmpfs",  "efivarfs", "fusectl", "hugetlbfs",
        "mqueue",     "nfsd",        "nsfs",      "proc",     "pstore",  "rootfs",
        "rpc_pipefs", "securityfs",  "selinuxfs", "sysfs",    "tracefs"};
    if (types.contains(entry.type)) return true;
    // The system's own places; removable media may be mounted below /run/media.
    for (const char* system : {"/dev", "/proc", "/sys", "/var/run", "/var/lock"})
        if (isBelow(QLatin1String(system), entry.mountPoint)) return true;
    return isBelow(QStringLiteral("/run"), entry.mountPoint) &&
           !isBelow(QStringLiteral("/run/media"), entry.mountPoint);
}

QList<MountEntry> userVolumes(const QList<MountEntry>& table) {
    QList<MountEntry> volumes;
    QSet<QString> seen;
    for (const MountEntry& entry : table) {
        if (isPseudoFileSystem(entry) || seen.contains(entry.mountPoint)) continue;
        seen.insert(entry.mountPoint);
        volumes << entry;
    }
    return volumes;
}

QString volumeLabel(const QString& device) {
    // udev names each labelled volume by a link; its name escapes "\x20".
    const QDir labels(QStringLiteral("/dev/disk/by-label"));
    for (const QFileInfo& link : labels.entryInfoList(QDir::System | QDir::Files)) {
        if (link.symLinkTarget() != device) continue;
        QByteArray name = QFile::encodeName(link.fileName());
        for (qsizetype at = name.indexOf("\\x"); at >= 0 && at + 3 < name.size();
             at = name.indexOf("\\x", at + 1)) {
            bool ok = false;
            const int byte = name.mid(at + 2, 2).toInt(&ok, 16);
            if (ok) name.replace(at, 4, QByteArray(1, char(byte)));
        }
        return QFile::decodeName(name);
    }
    return QString();
}

// --- questions -------------------------------------------------------------------

struct FileSystemQuestion::State {
    QString path;
    Clock::time_point asked;
    std::mutex mutex;
    std::condition_variable answeredSignal;
    bool done = false;
    FileSystemAnswer result;
};

namespace {

// Outlives everything: a detached thread may still finish while the program ends.
struct Questions {
    std::mutex mutex;
    QHash<QString, std::shared_ptr<FileSystemQuestion::State>> open;
    StatfsFunction statfs;
};

Questions& questions() {
    static auto* all = new Questions;
    return *all;
}

FileSystemAnswer answerOf(int result, int error, const struct statfs& info) {
    FileSystemAnswer answer;
    if (result != 0) {
        answer.state = FileSystemAnswer::State::Failed;
        answer.error = error;
        return answer;
    }
    answer.state = FileSystemAnswer::State::Answered;
    const qint64 unit = qint64(info.f_frsize ? info.f_frsize : info.f_bsize);
    answer.bytesTotal = qint64(info.f_blocks) * unit;
    answer.bytesFree = qint64(info.f_bavail) * unit;
    answer.readOnly = (info.f_flags & ST_RDONLY) != 0;
    return answer;
}

void finish(const std::shared_ptr<FileSystemQuestion::State>& state,
            const FileSystemAnswer& answer) {
    {
        std::lock_guard lock(state->mutex);
        state->done = true;
        state->result = answer;
    }
    state->answeredSignal.notify_all();
    Questions& all = questions();
    std::lock_guard lock(all.mutex);
    if (all.open.value(state->path) == state) all.open.remove(state->path);
}

Clock::time_point deadlineOf(const FileSystemQuestion::State& state) {
    return state.asked + std::chrono::milliseconds(FileSystemAnswerMs);
}

} // namespace

void setStatfsFunction(StatfsFunction function) {
    Questions& all = questions();
    std::lock_guard lock(all.mutex);
    all.statfs = std::move(function);
}

std::shared_ptr<FileSystemQuestion> FileSystemQuestion::ask(const QString& path) {
    Questions& all = questions();
    std::unique_lock lock(all.mutex);
    if (const auto open = all.open.value(path)) return std::make_shared<FileSystemQuestion>(open);
    auto state = std::make_shared<State>();
    state->path = path;
    state->asked = Clock::now();
    all.open.insert(path, state);
    StatfsFunction call = all.statfs;
    lock.unlock();
    const QByteArray encoded = QFile::encodeName(path);
    try {
        std::thread([state, call, encoded] {
            struct statfs info {};
            const int result =
                call ? call(encoded.constData(), &info) : ::statfs(encoded.constData(), &info);
            finish(state, answerOf(result, errno, info));
        }).detach();
    } catch (const std::system_error&) {
        FileSystemAnswer failed;
        failed.state = FileSystemAnswer::State::Failed;
        failed.error = EAGAIN;
        finish(state, failed);
    }
    return std::make_shared<FileSystemQuestion>(state);
}

FileSystemAnswer FileSystemQuestion::answer() const {
    std::lock_guard lock(state_->mutex);
    if (state_->done) return state_->result;
    FileSystemAnswer answer;
    if (Clock::now() >= deadlineOf(*state_)) answer.state = FileSystemAnswer::State::NoAnswer;
    return answer;
}

FileSystemAnswer FileSystemQuestion::wait() const {
    std::unique_lock lock(state_->mutex);
    state_->answeredSignal.wait_until(lock, deadlineOf(*state_), [this] { return state_->done; });
    if (state_->done) return state_->result;
    FileSystemAnswer answer;
    answer.state = FileSystemAnswer::State::NoAnswer;
    return answer;
}

QList<FileSystemAnswer> askFileSystems(const QStringList& paths) {
    QList<std::shared_ptr<FileSystemQuestion>> asked;
    for (const QString& path : paths)
        asked << FileSystemQuestion::ask(path);
    QList<FileSystemAnswer> answers;
    for (const auto& question : asked)
        answers << question->wait();
    return answers;
}

FileSystemAnswer askFileSystem(const QString& path) {
    return FileSystemQuestion::ask(path)->wait();
}

bool isAnsweringFolder(const QString& path) {
    return askFileSystem(path).answered() && QFileInfo(path).isDir();
}

QStringList foldersThatAnswer(const QStringList& folders) {
    QSet<QString> mountPoints;
    for (const MountEntry& entry : readMountTable())
        mountPoints.insert(entry.mountPoint);
    QStringList toAsk;
    for (const QString& folder : folders) {
        const QString path = QDir::cleanPath(QDir(folder).absolutePath());
        if (mountPoints.contains(path)) toAsk << folder;
    }
    const QList<FileSystemAnswer> answers = askFileSystems(toAsk);
    QStringList answering = folders;
    for (int i = 0; i < toAsk.size(); ++i)
        if (!answers.at(i).answered()) answering.removeAll(toAsk.at(i));
    return answering;
}

QString noAnswerMessage(const QString& path, const QString& what) {
    return QStringLiteral("%1 \"%2\" antwortet nicht. Bitte prüfen Sie das Laufwerk oder die "
                          "Netzwerkverbindung.")
        .arg(what, QDir::toNativeSeparators(path));
}

} // namespace platform
