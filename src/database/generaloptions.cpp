#include "database/generaloptions.h"

#include "platform/codec.h"
#include "platform/folders.h"
#include "platform/recordimage.h"

#include <QStringDecoder>
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

using platform::readShortBytes;
using platform::readShortString;
using platform::writeShortBytes;
using platform::writeShortString;

// Paths and the names shown with them are written in Windows-1252, as the
// record's other strings and the ".opt" beside a database are, whenever every
// character has a byte there. A name the code page cannot hold (a Greek or
// Cyrillic folder name) is written as UTF-8. The reader takes bytes that are
// valid UTF-8 as UTF-8 and any others as Windows-1252, so a text whose
// Windows-1252 bytes would read back as other characters goes as UTF-8 too.
QString decodePath(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) return platform::codec::fromBytes(bytes);
    return text;
}
QString readPath(const QByteArray& image, int offset, int capacity) {
    return decodePath(readShortBytes(image, offset, capacity));
}
QByteArray encodedPath(const QString& text) {
    const bool fits = std::all_of(text.begin(), text.end(),
                                  [](QChar c) { return platform::codec::storedByte(c) >= 0; });
    if (fits) {
        QByteArray bytes = platform::codec::toBytes(text);
        if (decodePath(bytes) == text) return bytes;
    }
    return text.toUtf8();
}
QByteArray pathBytes(QString text, int capacity) {
    QByteArray bytes = encodedPath(text);
    while (bytes.size() > capacity) { // cut whole characters only
        text.chop(text.size() >= 2 && text.back().isLowSurrogate() ? 2 : 1);
        bytes = encodedPath(text);
    }
    return bytes;
}
void writePath(QByteArray& image, int offset, int capacity, const QString& text) {
    if (readPath(image, offset, capacity) == text)
        return; // keeps a path read in the older encoding as it is
    writeShortBytes(image, offset, capacity, pathBytes(text, capacity));
}

} // namespace

TGeneralOptionsRec::TGeneralOptionsRec() : image_(RecordSize, '\0') {}

bool TGeneralOptionsRec::fitsPathField(const QString& path) {
    return encodedPath(path).size() <= StringCapacity;
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
        this->*Flags[i] = platform::readBool(image, i);
    for (int c = 0; c < CharTableColumns; ++c)
        for (int r = 0; r < CharTableRows; ++r)
            UserCharTable[c][r] = readShortString(image, cellOffset(c, r), 1);
    CharTableSize = readShortString(image, CharTableSizeOffset, 1);
    for (int k = 0; k < MaxRecent; ++k) {
        Recent[k].Path = readPath(image, recentOffset(k), StringCapacity);
        Recent[k].DisplayText =
            readPath(image, recentOffset(k) + RecentDisplayOffset, StringCapacity);
    }
    RecentCount = std::clamp<qint32>(platform::readInt32(image, RecentCountOffset), 0, MaxRecent);
    CustomFolder = readPath(image, CustomFolderOffset, StringCapacity);
    image_ = image;
    return true;
}

QByteArray TGeneralOptionsRec::toBytes() const {
    QByteArray image = image_;
    for (int i = 0; i < FlagCount; ++i)
        platform::writeBool(image, i, this->*Flags[i]);
    for (int c = 0; c < CharTableColumns; ++c)
        for (int r = 0; r < CharTableRows; ++r)
            writeShortString(image, cellOffset(c, r), 1, UserCharTable[c][r]);
    writeShortString(image, CharTableSizeOffset, 1, CharTableSize);
    for (int k = 0; k < MaxRecent; ++k) {
        writePath(image, recentOffset(k), StringCapacity, Recent[k].Path);
        writePath(image, recentOffset(k) + RecentDisplayOffset, StringCapacity,
                  Recent[k].DisplayText);
    }
    platform::writeInt32(image, RecentCountOffset, std::clamp(RecentCount, 0, MaxRecent));
    writePath(image, CustomFolderOffset, StringCapacity, CustomFolder);
    return image;
}

bool TGeneralOptionsRec::load(const QString& path) {
    return fromBytes(platform::readRecordFile(path, RecordSize));
}

bool TGeneralOptionsRec::save(const QString& path) const {
    const QByteArray image = toBytes();
    if (!platform::saveRecordFile(path, image)) return false;
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
