#include "database/specialoptions.h"

#include "database/databaseoptions.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "platform/recordimage.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

TSpecialOptionsRec SpecialOptions;
QString SpecialOptionsPath;
QString SpecialOptionsLanguage;
int CurrentSpecialSlot = 0;
int SavedSpecialSlot = 0;

namespace {

using Rec = TSpecialOptionsRec;

constexpr int StringSize = Rec::StringCapacity + 1;
constexpr int SlotSize = Rec::EntryCount * StringSize; // 2,304
constexpr int FontSourceOffset = 258560;
constexpr int FontSizeOffset = 258964;
constexpr int OwnSizeOffset = 259368;
constexpr int FontNameOffset = 259772;
constexpr int OwnNameOffset = 285628;
constexpr int FontBoldOffset = 311484;
constexpr int OwnBoldOffset = 311585;
static_assert(Rec::SlotCount * SlotSize == 232704);
static_assert(OwnBoldOffset + Rec::SlotCount + 2 == Rec::RecordSize);

const QString FreeSlot = QStringLiteral("#");

int captionOffset(int slot, int entry) {
    return slot * SlotSize + entry * StringSize;
}

QString readText(const QByteArray& image, int offset) {
    return platform::readShortString(image, offset, Rec::StringCapacity);
}
void writeText(QByteArray& image, int offset, const QString& text) {
    platform::writeShortString(image, offset, Rec::StringCapacity, text);
}

using platform::readBool;
using platform::readInt32;
using platform::writeBool;
using platform::writeInt32;

bool isOneOf(const QString& language, const char* capitalised, const char* lower) {
    return language == QString::fromUtf8(capitalised) || language == QString::fromUtf8(lower);
}

std::array<QString, 6> defaultForms(const QString& language) {
    if (isOneOf(language, "Hebräisch", "hebräisch"))
        return {QStringLiteral("Nif´al"),   QStringLiteral("Pi´el"),  QStringLiteral("Pu´al"),
                QStringLiteral("Hitpa´el"), QStringLiteral("Hif´il"), QStringLiteral("Hof´al")};
    if (isOneOf(language, "Griechisch", "griechisch"))
        return {QStringLiteral("Futur:"),         QStringLiteral("Aorist:"),
                QStringLiteral("Perfekt:"),       QStringLiteral("Futur Passiv:"),
                QStringLiteral("Aorist Passiv:"), QStringLiteral("Perfekt Passiv:")};
    if (isOneOf(language, "Latein", "latein"))
        return {QStringLiteral("Präsens:"),          QStringLiteral("Perfekt:"),
                QStringLiteral("Partizip Perfekt:"), QStringLiteral("Sonderform 4:"),
                QStringLiteral("Sonderform 5:"),     QStringLiteral("Sonderform 6:")};
    if (isOneOf(language, "Französisch", "französisch"))
        return {QStringLiteral("Femininum:"),          QStringLiteral("Mehrzahl:"),
                QStringLiteral("Mehrzahl Femininum:"), QStringLiteral("Sonderform 4:"),
                QStringLiteral("Sonderform 5:"),       QStringLiteral("Sonderform 6:")};
    if (isOneOf(language, "Englisch", "englisch"))
        return {QStringLiteral("past tense:"),   QStringLiteral("past participle:"),
                QStringLiteral("Sonderform 3:"), QStringLiteral("Sonderform 4:"),
                QStringLiteral("Sonderform 5:"), QStringLiteral("Sonderform 6:")};
    std::array<QString, 6> forms;
    for (int i = 0; i < 6; ++i)
        forms[i] = QStringLiteral("Sonderform %1:").arg(i + 1);
    return forms;
}

} // namespace

QString UpperCaseEach(const QString& s) {
    QString result = s;
    for (QChar& c : result)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 'a' + 'A');
    return result;
}

TSpecialOptionsRec::TSpecialOptionsRec() : image_(RecordSize, '\0') {
    for (int k = 0; k < SlotCount; ++k) {
        Captions[k][0] = FreeSlot;
        SetLanguageCaptionDefaults(k, QString());
    }
}

TSpecialOptionsRec TSpecialOptionsRec::withLanguages(const QStringList& languages) {
    TSpecialOptionsRec rec;
    const int count = std::min<int>(languages.size(), LanguageSlotCount);
    for (int k = 0; k < count; ++k) {
        rec.Captions[k][0] = languages[k];
        rec.SetLanguageCaptionDefaults(k, languages[k]);
    }
    return rec;
}

void TSpecialOptionsRec::SetLanguageCaptionDefaults(int slot, const QString& language) {
    if (!isValidSlot(slot)) return;
    const std::array<QString, 6> forms = defaultForms(language);
    for (int i = 0; i < 6; ++i)
        Captions[slot][i + 1] = forms[i];
    Captions[slot][GenitiveEntry] = QStringLiteral("Genitiv:");
    Captions[slot][GenusEntry] = QStringLiteral("Genus:");
    CaptionFontSource[slot] = SourceOwn;
    CaptionFontName[slot] = OwnFontName[slot] = QStringLiteral("MS Sans Serif");
    CaptionFontSize[slot] = OwnFontSize[slot] = 8;
    CaptionFontBold[slot] = OwnFontBold[slot] = true;
}

int TSpecialOptionsRec::findSlot(const QString& language) const {
    if (language.isEmpty() || language == FreeSlot) return -1;
    const QString wanted = UpperCaseEach(language);
    for (int k = 0; k < LanguageSlotCount; ++k)
        if (UpperCaseEach(Captions[k][0]) == wanted) return k;
    return -1;
}

int TSpecialOptionsRec::allocateSlot(const QString& language) {
    if (language.isEmpty() || language == FreeSlot) return -1;
    for (int k = 0; k < LanguageSlotCount; ++k) {
        if (Captions[k][0] == FreeSlot) {
            Captions[k][0] = language.left(StringCapacity);
            SetLanguageCaptionDefaults(k, language);
            return k;
        }
    }
    return -1;
}

void TSpecialOptionsRec::chooseCaptionFont(int slot, int source,
                                           const TDatabaseOptionsRec& database) {
    if (!isValidSlot(slot)) return;
    switch (source) {
    case SourceTableWord:
        CaptionFontSource[slot] = SourceTableWord;
        CaptionFontName[slot] = database.TableWordFont;
        CaptionFontSize[slot] = database.TableWordFontSize;
        CaptionFontBold[slot] = database.TableWordFontBold;
        break;
    case SourceTableTranslation:
        // The size in memory never carries the charset mark of the file.
        CaptionFontSource[slot] = SourceTableTranslation;
        CaptionFontName[slot] = database.TableTranslationFont;
        CaptionFontSize[slot] = database.TableTranslationFontSize;
        CaptionFontBold[slot] = database.TableTranslationFontBold;
        break;
    default:
        CaptionFontSource[slot] = SourceOwn;
        CaptionFontName[slot] = OwnFontName[slot];
        CaptionFontSize[slot] = OwnFontSize[slot];
        CaptionFontBold[slot] = OwnFontBold[slot];
        break;
    }
}

void TSpecialOptionsRec::keepOwnFont(int slot) {
    if (!isValidSlot(slot) || CaptionFontSource[slot] != SourceOwn) return;
    OwnFontName[slot] = CaptionFontName[slot];
    OwnFontSize[slot] = CaptionFontSize[slot];
    OwnFontBold[slot] = CaptionFontBold[slot];
}

QByteArray TSpecialOptionsRec::toBytes() const {
    QByteArray image = image_;
    for (int k = 0; k < SlotCount; ++k) {
        for (int e = 0; e < EntryCount; ++e)
            writeText(image, captionOffset(k, e), Captions[k][e]);
        writeInt32(image, FontSourceOffset + 4 * k, CaptionFontSource[k]);
        writeInt32(image, FontSizeOffset + 4 * k, CaptionFontSize[k]);
        writeInt32(image, OwnSizeOffset + 4 * k, OwnFontSize[k]);
        writeText(image, FontNameOffset + StringSize * k, CaptionFontName[k]);
        writeText(image, OwnNameOffset + StringSize * k, OwnFontName[k]);
        writeBool(image, FontBoldOffset + k, CaptionFontBold[k]);
        writeBool(image, OwnBoldOffset + k, OwnFontBold[k]);
    }
    return image;
}

bool TSpecialOptionsRec::fromBytes(const QByteArray& bytes) {
    if (bytes.size() < RecordSize) return false;
    const QByteArray image = bytes.left(RecordSize);
    for (int k = 0; k < SlotCount; ++k) {
        for (int e = 0; e < EntryCount; ++e)
            Captions[k][e] = readText(image, captionOffset(k, e));
        CaptionFontSource[k] = readInt32(image, FontSourceOffset + 4 * k);
        CaptionFontSize[k] = readInt32(image, FontSizeOffset + 4 * k);
        OwnFontSize[k] = readInt32(image, OwnSizeOffset + 4 * k);
        CaptionFontName[k] = readText(image, FontNameOffset + StringSize * k);
        OwnFontName[k] = readText(image, OwnNameOffset + StringSize * k);
        CaptionFontBold[k] = readBool(image, FontBoldOffset + k);
        OwnFontBold[k] = readBool(image, OwnBoldOffset + k);
    }
    image_ = image;
    return true;
}

bool TSpecialOptionsRec::load(const QString& path) {
    return fromBytes(platform::readRecordFile(path, RecordSize));
}

bool TSpecialOptionsRec::save(const QString& path) const {
    const QByteArray image = toBytes();
    if (!platform::saveRecordFile(path, image)) return false;
    image_ = image;
    return true;
}

QString SpecialOptionsFile() {
    return platform::dataFile(QStringLiteral("soption.dat"));
}

QStringList FindLanguageFolders(const QString& root) {
    QStringList languages;
    const QDir dir(platform::normalizePath(root));
    const QStringList folders =
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& folder : folders) {
        const QDir sub(dir.filePath(folder));
        // Name filters of QDir compare without regard to case: "X.OL" counts.
        if (!sub.entryList({QStringLiteral("*.db"), QStringLiteral("*.ol")}, QDir::Files).isEmpty())
            languages << folder;
    }
    return languages;
}

void LoadSpecialOptionsRecord(const QStringList& languages) {
    SpecialOptionsPath = SpecialOptionsFile();
    if (QFileInfo::exists(SpecialOptionsPath)) {
        SpecialOptions.load(SpecialOptionsPath);
        return;
    }
    SpecialOptions = TSpecialOptionsRec::withLanguages(languages);
    SpecialOptions.save(SpecialOptionsPath);
}

SpecialFormCaptions CaptionsOfSlot(const TSpecialOptionsRec& options, int slot,
                                   const TDatabaseOptionsRec& database, const QString& language) {
    TSpecialOptionsRec::FontSource source = TSpecialOptionsRec::SourceOwn;
    SpecialFormCaptions captions;
    if (TSpecialOptionsRec::isValidSlot(slot)) {
        for (int i = 0; i < 6; ++i)
            captions.Forms[i] = options.Captions[slot][i + 1];
        captions.Genitive = options.Captions[slot][TSpecialOptionsRec::GenitiveEntry];
        captions.Genus = options.Captions[slot][TSpecialOptionsRec::GenusEntry];
        captions.FontName = options.CaptionFontName[slot];
        captions.FontSize = options.CaptionFontSize[slot];
        captions.FontBold = options.CaptionFontBold[slot];
        source = static_cast<TSpecialOptionsRec::FontSource>(options.CaptionFontSource[slot]);
    } else {
        TSpecialOptionsRec defaults;
        defaults.SetLanguageCaptionDefaults(0, language);
        return CaptionsOfSlot(defaults, 0, database);
    }
    // Captions on a table font follow that font as the database has it now.
    if (source == TSpecialOptionsRec::SourceTableWord) {
        captions.FontName = database.TableWordFont;
        captions.FontSize = database.TableWordFontSize;
        captions.FontBold = database.TableWordFontBold;
    } else if (source == TSpecialOptionsRec::SourceTableTranslation) {
        captions.FontName = database.TableTranslationFont;
        captions.FontSize = database.TableTranslationFontSize;
        captions.FontBold = database.TableTranslationFontBold;
    }
    return captions;
}

SpecialFormCaptions SpecialFormCaptionsFor(const QString& language) {
    LoadSpecialOptionsRecord(FindLanguageFolders(WorkDir));
    SpecialOptionsLanguage = language;
    int slot = SpecialOptions.findSlot(language);
    if (slot < 0) slot = SpecialOptions.allocateSlot(language);
    return CaptionsOfSlot(SpecialOptions, slot, DatabaseOptions, language);
}
