#pragma once
// Writing a file whole or not at all. Every file the program writes goes
// through here.
//
// QSaveFile alone is not enough: with Qt 6.4 its commit() reports success
// after a buffered write fell short (a full disk leaves a truncated file in
// place of the old one). SafeFile writes every block straight to the
// temporary file, checks each count and error, syncs the file and only then
// lets QSaveFile rename it over the target. After any failure the target
// stays exactly as it was, and errorText() names the cause in German.
#include <QByteArray>
#include <QSaveFile>
#include <QString>

namespace platform {

class SafeFile : public QSaveFile {
  public:
    explicit SafeFile(const QString& path);

    // Creates the temporary file beside the target.
    bool open();
    // Writes everything or fails; after a failure nothing more is written and
    // commit() refuses. The QIODevice interface (write(), streams) ends here too.
    bool writeAll(const QByteArray& bytes);
    // Syncs and renames the temporary file over the target. Hides
    // QSaveFile::commit() on purpose: always call it on a SafeFile.
    bool commit();
    // Drops what was written; the target is untouched.
    void discard();

    bool failed() const { return !error_.isEmpty(); }
    // The cause of the first failure, German, one sentence; empty when none.
    QString errorText() const { return error_; }

  protected:
    qint64 writeData(const char* data, qint64 length) override;

  private:
    void fail(int error);

    QString error_;
};

// Writes `bytes` as the whole content of `path`. On failure `error` (when
// given) gets the German cause and the old file stays as it was.
bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Copies `source` over `target` through a SafeFile, keeping the source's
// permissions; a failed copy leaves an existing target as it was. Only a
// regular file is copied: a FIFO would block, a device never end.
bool copyWholeFile(const QString& source, const QString& target, QString* error = nullptr);

// Gives the file `path` the free name `other` as well: a hard link, or where
// the file system has none a copy through copyWholeFile. Fails with errno
// EEXIST, and copies nothing, when something stands at `other`.
bool addSecondName(const QString& path, const QString& other, QString* error = nullptr);

// The German sentence for an errno value of a failed write. EACCES and EPERM
// read as a missing permission: a caller whose call answers EPERM for a
// missing feature (a hard link on a file system without them) must not pass
// it on.
QString writeErrorText(int error);

} // namespace platform
