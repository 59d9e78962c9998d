#include "quiz/quizoptionsbytes.h"

#include "platform/codec.h"
#include "platform/messagebox.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>
#include <algorithm>

namespace quizrecord {

bool readBool(const QByteArray& image, int offset) {
    return image[offset] != 0;
}

void writeBool(QByteArray& image, int offset, bool value) {
    if ((image[offset] != 0) != value) image[offset] = value ? 1 : 0;
}

qint32 readInt(const QByteArray& image, int offset) {
    return qFromLittleEndian<qint32>(image.constData() + offset);
}

void writeInt(QByteArray& image, int offset, qint32 value) {
    if (readInt(image, offset) != value) qToLittleEndian<qint32>(value, image.data() + offset);
}

QString readText(const QByteArray& image, int offset, int capacity) {
    const int length = std::min<int>(static_cast<unsigned char>(image[offset]), capacity);
    return platform::codec::fromBytes(image.mid(offset + 1, length));
}

void writeText(QByteArray& image, int offset, int capacity, const QString& text) {
    QByteArray bytes = platform::codec::toBytes(text);
    bytes.truncate(capacity);
    if (static_cast<unsigned char>(image[offset]) == bytes.size() &&
        image.mid(offset + 1, bytes.size()) == bytes)
        return;
    image[offset] = static_cast<char>(bytes.size());
    for (int i = 0; i < capacity; ++i)
        image[offset + 1 + i] = i < bytes.size() ? bytes[i] : '\0';
}

QByteArray readFile(const QString& path, int size) {
    if (path.isEmpty()) return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.read(size);
}

bool writeFile(const QString& path, const QByteArray& bytes, const QString& what) {
    QString error;
    if (path.isEmpty()) {
        error = QStringLiteral("Es ist keine Datei festgelegt.");
    } else if (!platform::ensureFolder(QFileInfo(path).absolutePath())) {
        error = QStringLiteral("Der Ordner kann nicht angelegt werden.");
    } else {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            error = file.errorString();
    }
    if (error.isEmpty()) return true;
    platform::showMessage(
        QStringLiteral("%1 konnten nicht in der Datei „%2“ gespeichert werden.\n\n%3")
            .arg(what, QDir::toNativeSeparators(path), error),
        QStringLiteral("Fehler"), platform::Icon::Error);
    return false;
}

QString fileNamePart(const QString& name) {
    QString part = name;
    part.replace(QLatin1Char('/'), QLatin1Char('_'));
    part.replace(QLatin1Char('\\'), QLatin1Char('_'));
    return part;
}

} // namespace quizrecord
