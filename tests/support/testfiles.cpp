#include "support/testfiles.h"

#include "platform/paths.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    platform::ensureFolder(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void execOnFile(const QString& path, const QByteArray& sql) {
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    const int rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    const QByteArray error = sqlite3_errmsg(db);
    sqlite3_close(db);
    QVERIFY2(rc == SQLITE_OK, error.constData());
}

FifoGuard::FifoGuard(int patienceMs) : watcher_([this, patienceMs] { watch(patienceMs); }) {}

FifoGuard::~FifoGuard() {
    stop_ = true;
    watcher_.join();
}

void FifoGuard::make(const QString& path) {
    platform::ensureFolder(QFileInfo(path).path());
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    const std::lock_guard lock(mutex_);
    paths_ << path;
}

namespace {

int openFifo(const QString& path, int mode) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), mode | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISFIFO(info.st_mode))) {
        ::close(fd); // the code under test put something else there
        return -1;
    }
    return fd;
}

// Releases whoever waits in opening the FIFO; true when somebody did.
bool release(const QString& path) {
    // A reader waiting: opening the writing end succeeds only then, and
    // closing it again lets the reader see the end of the file.
    if (const int fd = openFifo(path, O_WRONLY); fd >= 0) {
        ::close(fd);
        return true;
    }
    // A writer waiting: the reading end lets it go on, and a writer that
    // came (and went) shows as data or a hang-up.
    const int fd = openFifo(path, O_RDONLY);
    if (fd < 0) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    pollfd events{fd, POLLIN, 0};
    const bool came = ::poll(&events, 1, 0) > 0 && (events.revents & (POLLIN | POLLHUP)) != 0;
    ::close(fd);
    return came;
}

} // namespace

void FifoGuard::watch(int patienceMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(patienceMs);
    while (!stop_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (std::chrono::steady_clock::now() < deadline) continue;
        const std::lock_guard lock(mutex_);
        for (const QString& path : std::as_const(paths_))
            if (release(path)) released_ = true;
    }
}

bool FifoGuard::waitedFor() const {
    // A writer let go shows only after a moment: the look at the FIFOs that
    // let it go is waited for.
    const std::lock_guard lock(mutex_);
    return released_;
}

Deadline::Deadline(int seconds, const char* what)
    : watcher_([this, seconds, what] {
          std::unique_lock lock(mutex_);
          if (ended_.wait_for(lock, std::chrono::seconds(seconds), [this] { return done_; }))
              return;
          std::fprintf(stderr, "FAIL!  : %s did not end within %d s\n", what, seconds);
          std::fflush(stderr);
          std::_Exit(1);
      }) {}

Deadline::~Deadline() {
    {
        const std::lock_guard lock(mutex_);
        done_ = true;
    }
    ended_.notify_all();
    watcher_.join();
}

namespace {
constexpr uid_t NobodyId = 65534;
}

ActAsUser::ActAsUser() {
    if (::geteuid() != 0) return;
    // The real ids too, which access() asks; the saved ones stay root's, so
    // that the guard can switch back.
    if (::setresgid(NobodyId, NobodyId, 0) != 0) return;
    if (::setresuid(NobodyId, NobodyId, 0) != 0) {
        if (::setresgid(0, 0, 0) != 0) std::_Exit(1);
        return;
    }
    switched_ = true;
}

bool ActAsUser::possible() {
    if (::geteuid() != 0) return true;
    const ActAsUser probe;
    return probe.switched_;
}

ActAsUser::~ActAsUser() {
    if (!switched_) return;
    if (::setresuid(0, 0, 0) != 0 || ::setresgid(0, 0, 0) != 0) std::_Exit(1);
}
