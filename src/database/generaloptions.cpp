#include "database/generaloptions.h"

#include "platform/codec.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QtEndian>
#include <algorithm>

TGeneralOptionsRec GeneralOptions;
QString CustomVocabularyDir;
QString PrintCardOptionsPath;
QString PrintTextOptionsPath;

namespace {

// Byte offsets of the record.
constexpr int FlagCount = 14;
constexpr int CharTableOffset = 20;
constexpr int CharTableColumnStride = 40;
constexpr int CharTableCellSize = 2;
constexpr int CharTableSizeOffset = 818;
constexpr int RecentOffset = 1076;
constexpr int RecentSlotSize = 768;
constexpr int RecentDisplayOffset = 256;
constexpr int CustomFolderOffset = 7220; // path field of the unused ninth recent slot
constexpr int RecentCountOffset = 8756;

int cellOffset(int column, int row) {
    return CharTableOffset + CharTableColumnStride * column + CharTableCellSize * row;
}
int recentOffset(int slot) {
    return RecentOffset + RecentSlotSize * slot;
}

constexpr bool TGeneralOptionsRec::*Flags[FlagCount] = {
    &TGeneralOptionsRec::AkzAkt,       &TGeneralOptionsRec::AusJedAn,
    &TGeneralOptionsRec::AbfJedAn,     &TGeneralOptionsRec::sza,
    &TGeneralOptionsRec::szs,          &TGeneralOptionsRec::wbla,
    &TGeneralOptionsRec::sca,          &TGeneralOptionsRec::sbanz,
    &TGeneralOptionsRec::cbdopp,       &TGeneralOptionsRec::cbeinf,
    &TGeneralOptionsRec::cbShortcutz,  &TGeneralOptionsRec::cbMehrZeichen,
    &TGeneralOptionsRec::rbVVStandard, &TGeneralOptionsRec::rbVVCustom};

// Length-prefixed strings: a length byte, then the characters. A length above
// the capacity is read as the capacity.
QByteArray readRaw(const QByteArray& image, int offset, int capacity) {
    const int length = std::min<int>(static_cast<unsigned char>(image[offset]), capacity);
    return image.mid(offset + 1, length);
}

// Writes the string unless the image already holds it, so that untouched
// fields keep their bytes exactly; a changed string clears the rest of its
// capacity instead of leaving parts of the old one behind.
void writeRaw(QByteArray& image, int offset, int capacity, QByteArray bytes) {
    bytes.truncate(capacity);
    if (static_cast<unsigned char>(image[offset]) == bytes.size() &&
        image.mid(offset + 1, bytes.size()) == bytes)
        return;
    image[offset] = static_cast<char>(bytes.size());
    for (int i = 0; i < capacity; ++i)
        image[offset + 1 + i] = i < bytes.size() ? bytes[i] : '\0';
}

// Text fields: 8-bit stored text.
QString readText(const QByteArray& image, int offset, int capacity) {
    return platform::codec::fromBytes(readRaw(image, offset, capacity));
}
void writeText(QByteArray& image, int offset, int capacity, const QString& text) {
    writeRaw(image, offset, capacity, platform::codec::toBytes(text));
}

// Paths and the names shown with them come from the file system, whose names
// need not fit an 8-bit code page (a Greek or Cyrillic database name): they
// are written as UTF-8. Records written by older copies hold Windows-1252,
// which is read as such when the bytes are no valid UTF-8.
QString readPath(const QByteArray& image, int offset, int capacity) {
    const QByteArray bytes = readRaw(image, offset, capacity);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) return platform::codec::fromBytes(bytes);
    return text;
}
QByteArray pathBytes(QString text, int capacity) {
    QByteArray bytes = text.toUtf8();
    while (bytes.size() > capacity) { // cut whole characters only
        text.chop(text.size() >= 2 && text.back().isLowSurrogate() ? 2 : 1);
        bytes = text.toUtf8();
    }
    return bytes;
}
void writePath(QByteArray& image, int offset, int capacity, const QString& text) {
    if (readPath(image, offset, capacity) == text)
        return; // keeps a path read in the older encoding as it is
    writeRaw(image, offset, capacity, pathBytes(text, capacity));
}

void writeBool(QByteArray& image, int offset, bool value) {
    if ((image[offset] != 0) != value) // a stored "true" other than 1 stays as it is
        image[offset] = value ? 1 : 0;
}

qint32 readInt(const QByteArray& image, int offset) {
    return qFromLittleEndian<qint32>(image.constData() + offset);
}
void writeInt(QByteArray& image, int offset, qint32 value) {
    qToLittleEndian<qint32>(value, image.data() + offset);
}

} // namespace

TGeneralOptionsRec::TGeneralOptionsRec() : image_(RecordSize, '\0') {}

bool TGeneralOptionsRec::fitsPathField(const QString& path) {
    return path.toUtf8().size() <= StringCapacity;
}

int TGeneralOptionsRec::charTableSize() const {
    if (CharTableSize.size() != 1) return 0;
    const int code = CharTableSize[0].unicode();
    return code >= MinCharTableSize && code <= MaxCharTableSize ? code : 0;
}

void TGeneralOptionsRec::setCharTableSize(int position) {
    CharTableSize = QString(QChar(static_cast<char16_t>(position)));
}

bool TGeneralOptionsRec::fromBytes(const QByteArray& bytes) {
    if (bytes.size() < RecordSize) return false;
    const QByteArray image = bytes.left(RecordSize);
    for (int i = 0; i < FlagCount; ++i)
        this->*Flags[i] = image[i] != 0;
    for (int c = 0; c < CharTableColumns; ++c)
        for (int r = 0; r < CharTableRows; ++r)
            UserCharTable[c][r] = readText(image, cellOffset(c, r), 1);
    CharTableSize = readText(image, CharTableSizeOffset, 1);
    for (int k = 0; k < MaxRecent; ++k) {
        Recent[k].Path = readPath(image, recentOffset(k), StringCapacity);
        Recent[k].DisplayText =
            readPath(image, recentOffset(k) + RecentDisplayOffset, StringCapacity);
    }
    RecentCount = std::clamp<qint32>(readInt(image, RecentCountOffset), 0, MaxRecent);
    CustomFolder = readPath(image, CustomFolderOffset, StringCapacity);
    image_ = image;
    return true;
}

QByteArray TGeneralOptionsRec::toBytes() const {
    QByteArray image = image_;
    for (int i = 0; i < FlagCount; ++i)
        writeBool(image, i, this->*Flags[i]);
    for (int c = 0; c < CharTableColumns; ++c)
        for (int r = 0; r < CharTableRows; ++r)
            writeText(image, cellOffset(c, r), 1, UserCharTable[c][r]);
    writeText(image, CharTableSizeOffset, 1, CharTableSize);
    for (int k = 0; k < MaxRecent; ++k) {
        writePath(image, recentOffset(k), StringCapacity, Recent[k].Path);
        writePath(image, recentOffset(k) + RecentDisplayOffset, StringCapacity,
                  Recent[k].DisplayText);
    }
    const qint32 count = std::clamp(RecentCount, 0, MaxRecent);
    if (readInt(image, RecentCountOffset) != count) writeInt(image, RecentCountOffset, count);
    writePath(image, CustomFolderOffset, StringCapacity, CustomFolder);
    return image;
}

bool TGeneralOptionsRec::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    return fromBytes(file.read(RecordSize));
}

bool TGeneralOptionsRec::save(const QString& path) const {
    const QByteArray image = toBytes();
    QString error;
    if (!platform::ensureFolder(QFileInfo(path).absolutePath())) {
        error = QStringLiteral("Der Ordner kann nicht angelegt werden.");
    } else {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size() || !file.commit())
            error = file.errorString();
    }
    if (!error.isEmpty()) {
        platform::showMessage(QStringLiteral("Die Einstellungen konnten nicht in der Datei „%1“ "
                                             "gespeichert werden.\n\n%2")
                                  .arg(QDir::toNativeSeparators(path), error),
                              QStringLiteral("Fehler"), platform::Icon::Error);
        return false;
    }
    image_ = image;
    return true;
}

void TGeneralOptionsRec::takeSettingsFrom(const TGeneralOptionsRec& other) {
    for (int i = 0; i < FlagCount; ++i)
        this->*Flags[i] = other.*Flags[i];
    CharTableSize = other.CharTableSize;
    CustomFolder = other.CustomFolder;
}

void TGeneralOptionsRec::takeCharTableFrom(const TGeneralOptionsRec& other) {
    UserCharTable = other.UserCharTable;
}

void TGeneralOptionsRec::takeRecentFrom(const TGeneralOptionsRec& other) {
    Recent = other.Recent;
    RecentCount = other.RecentCount;
}

QString GeneralOptionsFile() {
    return platform::dataFile(QStringLiteral("gruopt.dat"));
}

bool loadGeneralOptions() {
    return GeneralOptions.load(GeneralOptionsFile());
}

bool saveGeneralOptions() {
    return GeneralOptions.save(GeneralOptionsFile());
}
