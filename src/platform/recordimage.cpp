#include "platform/recordimage.h"

#include "platform/codec.h"
#include "platform/messagebox.h"
#include "platform/paths.h"
#include "platform/regularfile.h"
#include "platform/safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>

namespace platform {

qint32 readInt32(const QByteArray& image, int offset) {
    Q_ASSERT(offset >= 0 && offset + 4 <= image.size());
    return qFromLittleEndian<qint32>(image.constData() + offset);
}

void writeInt32(QByteArray& image, int offset, qint32 value) {
    if (readInt32(image, offset) != value) qToLittleEndian<qint32>(value, image.data() + offset);
}

bool readBool(const QByteArray& image, int offset) {
    Q_ASSERT(offset >= 0 && offset < image.size());
    return image.at(offset) != 0;
}

void writeBool(QByteArray& image, int offset, bool value) {
    Q_ASSERT(offset >= 0 && offset < image.size());
    image[offset] = value ? 1 : 0;
}

QByteArray readShortBytes(const QByteArray& image, int offset, int capacity) {
    Q_ASSERT(offset >= 0 && offset + 1 + capacity <= image.size());
    const int length = std::min<int>(static_cast<unsigned char>(image.at(offset)), capacity);
    return image.mid(offset + 1, length);
}

void writeShortBytes(QByteArray& image, int offset, int capacity, QByteArray bytes) {
    Q_ASSERT(offset >= 0 && offset + 1 + capacity <= image.size());
    bytes.truncate(capacity);
    // Compared with the length byte itself, not the clamped length: an
    // over-long length byte is put right even when the text is the same.
    if (static_cast<unsigned char>(image.at(offset)) == bytes.size() &&
        image.mid(offset + 1, bytes.size()) == bytes)
        return;
    image[offset] = static_cast<char>(bytes.size());
    for (int i = 0; i < capacity; ++i)
        image[offset + 1 + i] = i < bytes.size() ? bytes.at(i) : '\0';
}

QString readShortString(const QByteArray& image, int offset, int capacity) {
    return codec::fromBytes(readShortBytes(image, offset, capacity));
}

void writeShortString(QByteArray& image, int offset, int capacity, const QString& text) {
    writeShortBytes(image, offset, capacity, codec::toBytes(text));
}

QByteArray readRecordFile(const QString& path, int size) {
    if (path.isEmpty()) return {};
    // A FIFO, a device or a folder at the path counts as a missing file.
    QFile file;
    if (!openRegularFile(file, path)) return {};
    return file.read(size);
}

bool saveRecordFile(const QString& path, const QByteArray& image, RecordFolder folder,
                    const QString& what) {
    QString error;
    if (path.isEmpty()) {
        error = QStringLiteral("Es ist keine Datei festgelegt.");
    } else if (folder == RecordFolder::Create && !ensureFolder(QFileInfo(path).absolutePath())) {
        error = QStringLiteral("Der Ordner kann nicht angelegt werden.");
    } else {
        writeWholeFile(path, image, &error);
    }
    if (error.isEmpty()) return true;
    showMessage(QStringLiteral("%1 konnten nicht in der Datei „%2“ gespeichert werden.\n\n%3")
                    .arg(what.isEmpty() ? QStringLiteral("Die Einstellungen") : what,
                         QDir::toNativeSeparators(path), error),
                QStringLiteral("Fehler"), Icon::Error);
    return false;
}

} // namespace platform
