// Reading an archive: the bytes unscrambled on the way and each record's
// zlib stream inflated through its end.
#include "exchange/backuparchiveprivate.h"

#include <QFile>
#include <memory>
#include <new>
#include <zlib.h>

namespace archive {

ArchiveReader::ArchiveReader(QFile& file, const QString& path)
    : file_(file), path_(path), scrambler_(ArchiveKey(), file.size()),
      buffer_(int(ChunkSize), '\0') {}

bool ArchiveReader::fill() {
    if (pos_ < length_) return true;
    const qint64 n = file_.read(buffer_.data(), ChunkSize);
    if (n < 0) throw unreadable(path_);
    scrambler_.apply(buffer_.data(), n);
    length_ = int(n);
    pos_ = 0;
    return n > 0;
}

QByteArray ArchiveReader::read(qint64 n) {
    QByteArray bytes;
    while (bytes.size() < n) {
        if (!fill()) throw damaged(path_);
        const int take = int(qMin<qint64>(available(), n - bytes.size()));
        bytes.append(data(), take);
        consume(take);
    }
    return bytes;
}

QByteArray inflateRecord(ArchiveReader& reader, quint32 size, QIODevice& out) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) throw Failure(ArchiveFailed);
    const std::unique_ptr<z_stream, int (*)(z_stream*)> guard(&z, inflateEnd);
    QByteArray output(int(ChunkSize), Qt::Uninitialized);
    QByteArray head;
    qint64 written = 0;
    while (true) {
        if (!reader.fill()) throw damaged(reader.path());
        z.next_in = reinterpret_cast<Bytef*>(reader.data());
        z.avail_in = uInt(reader.available());
        z.next_out = reinterpret_cast<Bytef*>(output.data());
        z.avail_out = uInt(output.size());
        const int rc = inflate(&z, Z_NO_FLUSH);
        reader.consume(reader.available() - int(z.avail_in));
        const qint64 produced = output.size() - qint64(z.avail_out);
        if (rc == Z_MEM_ERROR) throw std::bad_alloc();
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) throw damaged(reader.path());
        written += produced;
        if (written > size) throw damaged(reader.path());
        if (head.size() < HeadSize)
            head.append(output.constData(), int(qMin<qint64>(produced, HeadSize - head.size())));
        writeAll(out, output.constData(), produced);
        if (rc == Z_STREAM_END) break;
    }
    if (written != size) throw damaged(reader.path());
    return head;
}

} // namespace archive
