#pragma once
// Small file helpers shared by the tests.
#include <QByteArray>
#include <QString>

// The whole file, or "<missing>" when it cannot be read.
QByteArray readFile(const QString& path);
// Writes the bytes, replacing the file (its folder is made when missing); fails the running test when it cannot.
void writeFile(const QString& path, const QByteArray& bytes);
// Runs SQL on a table file beside the engine, as another tool would; fails the
// running test when it cannot.
void execOnFile(const QString& path, const QByteArray& sql);

#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

// FIFOs for code that must never wait on one. An open that blocks on a FIFO
// would hang the whole suite: after `patienceMs` the guard keeps opening the
// other end of its FIFOs, so that such a read sees the end of the file (a
// write gets its reader) and the code goes on, and waitedFor() then fails
// the test instead.
class FifoGuard {
  public:
    explicit FifoGuard(int patienceMs = 3000);
    ~FifoGuard();
    FifoGuard(const FifoGuard&) = delete;
    FifoGuard& operator=(const FifoGuard&) = delete;

    // Makes a FIFO at the path (its folder when missing); fails the running test when it cannot.
    void make(const QString& path);
    // Whether anything had to be released from a wait on one of the FIFOs.
    bool waitedFor() const;

  private:
    void watch(int patienceMs);

    mutable std::mutex mutex_; // held while the FIFOs are looked at
    QStringList paths_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> released_{false};
    std::thread watcher_;
};

// A guard for code that could run for good (a loop that never ends, taking
// ever more memory): when the guard still lives after `seconds`, the test
// program ends at once, naming `what`, instead of holding the suite up.
class Deadline {
  public:
    Deadline(int seconds, const char* what);
    ~Deadline();
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

  private:
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    std::thread watcher_;
};

// File permissions as a user meets them: root reads and writes through any
// of them, so while a guard lives a test run by root acts as the user
// "nobody" (whose files the test must make reachable); for anyone else it
// does nothing.
class ActAsUser {
  public:
    ActAsUser();
    ~ActAsUser();
    ActAsUser(const ActAsUser&) = delete;
    ActAsUser& operator=(const ActAsUser&) = delete;

    // False for root where the ids cannot be switched (a container without
    // that right): permissions do not apply, and the test skips.
    static bool possible();

  private:
    bool switched_ = false;
};
