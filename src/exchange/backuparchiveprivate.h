#pragma once
// The inside of the backup archive: failures with their result codes, the
// scrambling, and the reader that unscrambles an archive on the way. Shared
// by the archive's source files (format, writing, reading, restoring).
#include "exchange/backuparchive.h"
#include "platform/error.h"

#include <QByteArray>
#include <QFile>
#include <QIODevice>
#include <QString>
#include <exception>
#include <utility>

namespace archive {

constexpr qint64 ChunkSize = qint64(1) << 20;
// A database backup holds four files; anything far beyond is damage.
constexpr quint32 MaxRecords = 64;
constexpr quint32 MaxNameLength = 255;
constexpr int CountOffset = TArchiveHeader::Size;

// A failure with its result code; `detail` is shown to the user when set.
class Failure : public std::exception {
  public:
    explicit Failure(int code, QString detail = QString())
        : code(code), detail(std::move(detail)) {}
    const char* what() const noexcept override { return "archive failure"; }
    int code;
    QString detail;
};

// A target that exists while overwriting is not allowed.
class EFileExists : public platform::Error {
  public:
    EFileExists() : platform::Error(QStringLiteral("Datei schon vorhanden")) {}
};

QString shown(const QString& path);
QString fileName(const QString& path);

Failure damaged(const QString& archivePath);
Failure missing(const QString& path);
Failure unreadable(const QString& path);
// The language folder an archive names must pass the check of a typed
// language before a path is built from it.
Failure unusableFolder(const QString& folder);

// Text that survives the trip through 8-bit bytes unchanged.
bool fitsEightBit(const QString& text);
// A folder or file name read from an archive that may be used below the
// target folder: not empty, not "." or "..", no separators or control bytes.
bool safeName(const QString& name);

void putInt32(QByteArray& bytes, quint32 value);
quint32 int32At(const QByteArray& bytes);

// XORs bytes with the key and the archive size, position by position.
class Scrambler {
  public:
    Scrambler(const QByteArray& key, qint64 fileSize) : mask_(key) {
        const char sizeByte = char(fileSize & 0xff);
        for (char& m : mask_)
            m ^= sizeByte;
    }
    void apply(char* data, qint64 length) {
        const char* mask = mask_.constData();
        const int keyLength = int(mask_.size());
        for (qint64 i = 0; i < length; ++i) {
            data[i] ^= mask[index_];
            if (++index_ == keyLength) index_ = 0;
        }
    }

  private:
    QByteArray mask_;
    int index_ = 0;
};

// A failed write, with its cause when the device knows it.
Failure writeFailure(const QIODevice& out);
void writeAll(QIODevice& out, const char* data, qint64 length);
// Copies `in` to `out` scrambled; `in` is read from its start.
void scrambleStream(QIODevice& in, qint64 size, QIODevice& out,
                    const QByteArray& key = ArchiveKey());

// The result code of a failure; its German detail goes into the report.
int codeOf(const std::exception_ptr& error, ArchiveReport* report);

// Reads an archive and unscrambles it on the way.
class ArchiveReader {
  public:
    ArchiveReader(QFile& file, const QString& path);

    // Makes unread bytes available; false at the end of the file.
    bool fill();
    char* data() { return buffer_.data() + pos_; }
    int available() const { return length_ - pos_; }
    void consume(int n) { pos_ += n; }

    QByteArray read(qint64 n);
    quint32 readInt32() { return int32At(read(4)); }
    const QString& path() const { return path_; }

  private:
    QFile& file_;
    QString path_;
    Scrambler scrambler_;
    QByteArray buffer_;
    int length_ = 0;
    int pos_ = 0;
};

// Inflates the zlib stream at the reader's position into `out`, which must
// receive exactly `size` bytes; the reader continues right after the stream.
// Returns the first bytes written, for a look at the file's format.
constexpr int HeadSize = 128;
QByteArray inflateRecord(ArchiveReader& reader, quint32 size, QIODevice& out);

} // namespace archive
