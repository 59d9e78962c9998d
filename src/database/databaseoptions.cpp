#include "database/databaseoptions.h"

#include "database/charsets.h"
#include "database/currentdatabase.h"
#include "database/databasefiles.h"
#include "database/generaloptions.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/paths.h"
#include "platform/recordimage.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

TDatabaseOptionsRec DatabaseOptions;
DatabaseOptionFileHooks DatabaseOptionFileReaders;

namespace {

constexpr int LanguageOffset = 0;
constexpr int WordFontOffset = 31;
constexpr int TranslationFontOffset = 62;
constexpr int TableWordFontOffset = 93;
constexpr int TableTranslationFontOffset = 124;
constexpr int WordSizeOffset = 156;
constexpr int TranslationSizeOffset = 160;
constexpr int TableWordSizeOffset = 164;
constexpr int TableTranslationSizeOffset = 168;
constexpr int WordBoldOffset = 172;
constexpr int TableWordBoldOffset = 173;
constexpr int TranslationBoldOffset = 174;
constexpr int TableTranslationBoldOffset = 175;
constexpr int Capacity = TDatabaseOptionsRec::NameCapacity;
constexpr int Mark = TDatabaseOptionsRec::CharsetInTranslationMark;

QString readText(const QByteArray& image, int offset) {
    return platform::readShortString(image, offset, Capacity);
}
void writeText(QByteArray& image, int offset, const QString& text) {
    platform::writeShortString(image, offset, Capacity, text);
}

using platform::readBool;
using platform::readInt32;
using platform::writeBool;
using platform::writeInt32;

QString charsetPrefix(int position) {
    return QLatin1Char('#') + QString::number(position) + QLatin1Char('#');
}

int validPosition(int position) {
    return IsValidCharsetPosition(position) ? position : DefaultCharsetPosition;
}

// The table translation size as the file holds it: sizes that would run into
// the mark are kept at it, so that reading gives back what was written.
qint32 storedTableTranslationSize(int size, bool charsetInTranslation) {
    const qint32 plain = std::min(size, Mark);
    return charsetInTranslation ? plain + Mark : plain;
}

} // namespace

TDatabaseOptionsRec::TDatabaseOptionsRec() : image_(RecordSize, '\0') {}

int TDatabaseOptionsRec::defaultCharsetPosition(const QString& language) {
    static const QStringList eastEuropean = {
        QStringLiteral("Tschechisch"), QStringLiteral("Polnisch"),    QStringLiteral("Rumänisch"),
        QStringLiteral("Kroatisch"),   QStringLiteral("tschechisch"), QStringLiteral("polnisch"),
        QStringLiteral("rumänisch"),   QStringLiteral("kroatisch")};
    if (eastEuropean.contains(language)) return 18;
    if (language == QLatin1String("Russisch") || language == QLatin1String("russisch")) return 16;
    if (language == QStringLiteral("Türkisch") || language == QStringLiteral("türkisch")) return 11;
    return DefaultCharsetPosition;
}

TDatabaseOptionsRec TDatabaseOptionsRec::forNewDatabase(const QString& language) {
    TDatabaseOptionsRec rec;
    rec.Language = language.left(Capacity);
    const QString timesNewRoman = QStringLiteral("Times New Roman");
    QString wordFont = timesNewRoman;
    if (language == QLatin1String("Griechisch")) wordFont = QStringLiteral("Greek");
    const bool hebrew = IsHebrewDatabase(language, wordFont);
    if (hebrew) wordFont = QStringLiteral("Bwhebb");
    rec.WordFont = wordFont;
    rec.TableWordFont = wordFont;
    rec.TranslationFont = timesNewRoman;
    rec.TableTranslationFont = timesNewRoman;
    rec.WordFontSize = hebrew ? 26 : 18;
    rec.TranslationFontSize = 11;
    rec.TableWordFontSize = hebrew ? 20 : 14;
    rec.TableTranslationFontSize = 11;
    rec.WordFontBold = false;
    rec.TableWordFontBold = false;
    rec.TranslationFontBold = true;
    rec.TableTranslationFontBold = true;
    rec.CharsetPosition = defaultCharsetPosition(language);
    rec.CharsetInTranslation = false;
    return rec;
}

int TDatabaseOptionsRec::wordCharset() const {
    return CharsetNumber(CharsetPosition);
}

int TDatabaseOptionsRec::translationCharset() const {
    return CharsetInTranslation ? wordCharset() : 0;
}

QByteArray TDatabaseOptionsRec::toBytes() const {
    QByteArray image = image_;
    writeText(image, LanguageOffset, Language);
    const QString prefix = charsetPrefix(validPosition(CharsetPosition));
    writeText(image, WordFontOffset, prefix + WordFont.left(Capacity - prefix.size()));
    writeText(image, TranslationFontOffset, TranslationFont);
    writeText(image, TableWordFontOffset, TableWordFont);
    writeText(image, TableTranslationFontOffset, TableTranslationFont);
    writeInt32(image, WordSizeOffset, WordFontSize);
    writeInt32(image, TranslationSizeOffset, TranslationFontSize);
    writeInt32(image, TableWordSizeOffset, TableWordFontSize);
    writeInt32(image, TableTranslationSizeOffset,
               storedTableTranslationSize(TableTranslationFontSize, CharsetInTranslation));
    writeBool(image, WordBoldOffset, WordFontBold);
    writeBool(image, TableWordBoldOffset, TableWordFontBold);
    writeBool(image, TranslationBoldOffset, TranslationFontBold);
    writeBool(image, TableTranslationBoldOffset, TableTranslationFontBold);
    return image;
}

bool TDatabaseOptionsRec::fromBytes(const QByteArray& bytes) {
    if (bytes.size() < RecordSize) return false;
    const QByteArray image = bytes.left(RecordSize);
    Language = readText(image, LanguageOffset);
    QString wordFont = readText(image, WordFontOffset);
    CharsetPosition = validPosition(SplitOptionString(wordFont, Capacity));
    // Older writers could leave a second prefix in front of the name.
    StripCharsetPrefixes(wordFont, Capacity);
    WordFont = wordFont;
    TranslationFont = readText(image, TranslationFontOffset);
    TableWordFont = readText(image, TableWordFontOffset);
    TableTranslationFont = readText(image, TableTranslationFontOffset);
    WordFontSize = readInt32(image, WordSizeOffset);
    TranslationFontSize = readInt32(image, TranslationSizeOffset);
    TableWordFontSize = readInt32(image, TableWordSizeOffset);
    const qint32 tableTranslation = readInt32(image, TableTranslationSizeOffset);
    CharsetInTranslation = tableTranslation > Mark;
    TableTranslationFontSize = CharsetInTranslation ? tableTranslation - Mark : tableTranslation;
    WordFontBold = readBool(image, WordBoldOffset);
    TableWordFontBold = readBool(image, TableWordBoldOffset);
    TranslationFontBold = readBool(image, TranslationBoldOffset);
    TableTranslationFontBold = readBool(image, TableTranslationBoldOffset);
    image_ = image;
    return true;
}

bool TDatabaseOptionsRec::load(const QString& path) {
    return fromBytes(platform::readRecordFile(path, RecordSize));
}

bool TDatabaseOptionsRec::save(const QString& path) {
    CharsetPosition = validPosition(CharsetPosition);
    WordFont = WordFont.left(Capacity - charsetPrefix(CharsetPosition).size());
    const QByteArray image = toBytes();
    if (!platform::saveRecordFile(path, image, platform::RecordFolder::MustExist)) return false;
    image_ = image;
    return true;
}

int CharsetIndex() {
    return DatabaseOptions.CharsetPosition;
}

int WordFontCharset() {
    return DatabaseOptions.wordCharset();
}

QString DatabaseOptionsFile(const QString& databaseBase) {
    return platform::normalizePath(databaseBase) + QStringLiteral(".opt");
}

bool ReadDatabaseOptions(const QString& databaseBase) {
    TDatabaseOptionsRec rec;
    const bool read = rec.load(DatabaseOptionsFile(databaseBase));
    if (!read) {
        // The database lies in the folder named after its language.
        const QString folderLanguage =
            QFileInfo(platform::normalizePath(databaseBase)).absoluteDir().dirName();
        rec = TDatabaseOptionsRec::forNewDatabase(folderLanguage);
    }
    QString problem;
    rec.Language = CheckedDatabaseLanguage(rec.Language, databaseBase, &problem);
    if (!problem.isEmpty())
        platform::showMessage(problem, QStringLiteral("Hinweis"), platform::Icon::Warning);
    DatabaseOptions = rec;
    CurrentLanguage = DatabaseOptions.Language;
    return read;
}

bool WriteDatabaseOptions() {
    return DatabaseOptions.save(DatabaseOptionsFile(CurrentDatabaseBase));
}

QString PerLanguageSettingsFile(const QString& language, const QString& suffix) {
    QString name = language + suffix;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.replace(QLatin1Char('\\'), QLatin1Char('_'));
    return platform::dataFile(name);
}

void LoadDatabaseOptionFiles() {
    struct Choice {
        bool perLanguage;
        const char* suffix;
        const char* sharedFile;
        QString* path;
    };
    const Choice choices[] = {
        {GeneralOptions.AusJedAn, "a.dat", "AuswOpt.dat", &SelectionOptionsPath},
        {GeneralOptions.AbfJedAn, "o.dat", "Option.dat", &QuizOptionsPath},
        {GeneralOptions.szs, "Sz.dat", "gruopt.dat", &CharTableOptionsPath},
    };
    for (const Choice& choice : choices) {
        const QString shared = platform::dataFile(QString::fromLatin1(choice.sharedFile));
        if (choice.perLanguage) {
            const QString own =
                PerLanguageSettingsFile(CurrentLanguage, QString::fromLatin1(choice.suffix));
            // A missing shared file leaves the copy missing: the windows then
            // keep the settings they have.
            if (!QFileInfo::exists(own) && QFileInfo::exists(shared))
                platform::copyIfMissing(shared, own);
            *choice.path = own;
        } else {
            *choice.path = shared;
        }
    }
    if (DatabaseOptionFileReaders.reloadQuizOptions) DatabaseOptionFileReaders.reloadQuizOptions();
    if (DatabaseOptionFileReaders.reloadCharTable) DatabaseOptionFileReaders.reloadCharTable();
}
