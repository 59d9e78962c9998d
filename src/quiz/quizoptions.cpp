#include "quiz/quizoptions.h"

#include "database/currentdatabase.h"
#include "database/generaloptions.h"
#include "platform/codec.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/paths.h"
#include "platform/recordimage.h"
#include "platform/wholenumber.h"
#include "quiz/quizoptionsbytes.h"

#include <QFileInfo>
#include <algorithm>

TQuizOptionsRec QuizOptions;

namespace {

namespace off = QuizOptionsOffset;
using platform::readBool;
using platform::writeBool;
using platform::readInt32;
using platform::writeInt32;
using platform::readShortString;
using platform::writeShortString;

constexpr int StringStride = TQuizOptionsRec::CellCapacity + 1; // string[100]

struct BoolField {
    int offset;
    bool TQuizOptionsRec::*member;
};

// In the order the page takes them from the record.
constexpr BoolField BoolFields[] = {
    {off::CheckBox1, &TQuizOptionsRec::CheckBox1},
    {off::CheckBox3, &TQuizOptionsRec::CheckBox3},
    {off::CheckBox4, &TQuizOptionsRec::CheckBox4},
    {off::CheckBox5, &TQuizOptionsRec::CheckBox5},
    {off::CheckBox10, &TQuizOptionsRec::CheckBox10},
    {off::CheckBox2, &TQuizOptionsRec::CheckBox2},
    {off::ak1, &TQuizOptionsRec::ak1},
    {off::ak2, &TQuizOptionsRec::ak2},
    {off::ak3, &TQuizOptionsRec::ak3},
    {off::ak4, &TQuizOptionsRec::ak4},
    {off::cbfa, &TQuizOptionsRec::cbfa},
    {off::cbkw, &TQuizOptionsRec::cbkw},
    {off::cbuk, &TQuizOptionsRec::cbuk},
    {off::cbss, &TQuizOptionsRec::cbss},
    {off::cbrf, &TQuizOptionsRec::cbrf},
    {off::cbklamm, &TQuizOptionsRec::cbklamm},
    {off::cbaue, &TQuizOptionsRec::cbaue},
    {off::cbast, &TQuizOptionsRec::cbast},
    {off::cbage, &TQuizOptionsRec::cbage},
    {off::cbendung, &TQuizOptionsRec::cbendung},
    {off::cbpraep, &TQuizOptionsRec::cbpraep},
    {off::cbautosch, &TQuizOptionsRec::cbautosch},
    {off::cbstamm, &TQuizOptionsRec::cbstamm},
    {off::cbgw, &TQuizOptionsRec::cbgw},
    {off::cbschnell, &TQuizOptionsRec::cbschnell},
    {off::rborder, &TQuizOptionsRec::rborder},
    {off::rbrandom, &TQuizOptionsRec::rbrandom},
    {off::rbabnorm, &TQuizOptionsRec::rbabnorm},
    {off::rbabmult, &TQuizOptionsRec::rbabmult},
    {off::rbabvor, &TQuizOptionsRec::rbabvor},
    {off::cbms, &TQuizOptionsRec::cbms},
    {off::CheckBox6, &TQuizOptionsRec::CheckBox6},
    {off::cbnach, &TQuizOptionsRec::cbnach},
    {off::cbxmal, &TQuizOptionsRec::cbxmal},
    {off::cbsyn, &TQuizOptionsRec::cbsyn},
    {off::cbbemerkung, &TQuizOptionsRec::cbbemerkung},
    {off::labf, &TQuizOptionsRec::labf},
    {off::geabf, &TQuizOptionsRec::geabf},
    {off::seabf, &TQuizOptionsRec::seabf},
    {off::lanz, &TQuizOptionsRec::lanz},
    {off::ganz, &TQuizOptionsRec::ganz},
    {off::sanz, &TQuizOptionsRec::sanz},
    {off::aktign, &TQuizOptionsRec::aktign},
};

QStringList readLines(const QByteArray& image, int offset, int count) {
    QStringList lines;
    for (int k = 0; k < count; ++k)
        lines << readShortString(image, offset + StringStride * k, TQuizOptionsRec::LineCapacity);
    return lines;
}

void writeLines(QByteArray& image, int offset, const QStringList& lines) {
    const int count = std::min<int>(lines.size(), TQuizOptionsRec::MaxListLines);
    for (int k = 0; k < count; ++k)
        writeShortString(image, offset + StringStride * k, TQuizOptionsRec::LineCapacity, lines[k]);
}

const QString NumbersOnly = QStringLiteral("In dieses Feld dürfen nur Zahlen eingegeben werden.");

} // namespace

// --- The record --------------------------------------------------------------

void TQuizOptionsRec::loadDefaults() {
    *this = TQuizOptionsRec();
}

void TQuizOptionsRec::normalize() {
    for (CompatibleWordPair& pair : CompatibleWordPairs) {
        pair.left.truncate(CellCapacity);
        pair.right.truncate(CellCapacity);
    }
    ak12 = std::clamp(ak12, 0, MaxTypoTolerance);
    tb1 = std::clamp(tb1, 0, MaxMeaningsPosition);
    if (ems < 0 || ems > MaxDisplayTime) {
        ems = DefaultDisplayTime;
        rbabnorm = true;
        rbabmult = false;
        rbabvor = false;
    }
    edurch = std::clamp(edurch, MinFieldNumber, MaxFieldNumber);
    exmal = std::clamp(exmal, MinFieldNumber, MaxFieldNumber);
    esyn &= 0xFF;
    if (esyn == 0) esyn = DefaultSeparator;
    ComboBox1.truncate(TextCapacity);
    Memo4.truncate(TextCapacity);
    for (QStringList* list : {&ArticleList, &NeverCorrectedWords}) {
        if (list->size() > MaxListLines) list->resize(MaxListLines);
        for (QString& line : *list)
            line.truncate(LineCapacity);
    }
}

bool TQuizOptionsRec::fromBytes(const QByteArray& bytes) {
    if (bytes.size() < RecordSize) return false;
    TQuizOptionsRec record;
    record.image_ = bytes.left(RecordSize);
    const QByteArray& image = record.image_;
    for (int k = 0; k < PairCount; ++k) {
        record.CompatibleWordPairs[k].left =
            readShortString(image, off::CompatibleLeft + StringStride * k, CellCapacity);
        record.CompatibleWordPairs[k].right =
            readShortString(image, off::CompatibleRight + StringStride * k, CellCapacity);
    }
    for (const BoolField& field : BoolFields)
        record.*field.member = readBool(image, field.offset);
    record.ak12 = readInt32(image, off::ak12);
    record.ems = readInt32(image, off::ems);
    record.edurch = readInt32(image, off::edurch);
    record.exmal = readInt32(image, off::exmal);
    record.esyn = readInt32(image, off::esyn);
    record.ComboBox1 = readShortString(image, off::ComboBox1, TextCapacity);
    record.Memo4 = readShortString(image, off::Memo4, TextCapacity);
    const int articles = std::clamp<qint32>(readInt32(image, off::ArticleCount), 0, MaxListLines);
    const int neverCorrected =
        std::clamp<qint32>(readInt32(image, off::NeverCorrectedCount), 0, MaxListLines);
    record.ArticleList = readLines(image, off::ArticleList, articles);
    record.NeverCorrectedWords = readLines(image, off::NeverCorrected, neverCorrected);
    record.tb1 = readInt32(image, off::tb1);
    record.normalize();
    *this = record;
    return true;
}

QByteArray TQuizOptionsRec::toBytes() const {
    TQuizOptionsRec record = *this;
    record.normalize();
    QByteArray image = image_;
    for (int k = 0; k < PairCount; ++k) {
        writeShortString(image, off::CompatibleLeft + StringStride * k, CellCapacity,
                  record.CompatibleWordPairs[k].left);
        writeShortString(image, off::CompatibleRight + StringStride * k, CellCapacity,
                  record.CompatibleWordPairs[k].right);
    }
    for (const BoolField& field : BoolFields)
        writeBool(image, field.offset, record.*field.member);
    writeInt32(image, off::ak12, record.ak12);
    writeInt32(image, off::ems, record.ems);
    writeInt32(image, off::edurch, record.edurch);
    writeInt32(image, off::exmal, record.exmal);
    writeInt32(image, off::esyn, record.esyn);
    writeShortString(image, off::ComboBox1, TextCapacity, record.ComboBox1);
    writeShortString(image, off::Memo4, TextCapacity, record.Memo4);
    writeLines(image, off::ArticleList, record.ArticleList);
    writeLines(image, off::NeverCorrected, record.NeverCorrectedWords);
    writeInt32(image, off::ArticleCount, record.ArticleList.size());
    writeInt32(image, off::NeverCorrectedCount, record.NeverCorrectedWords.size());
    writeInt32(image, off::tb1, record.tb1);
    quizrecord::clearReservedBytes(image);
    return image;
}

bool TQuizOptionsRec::load(const QString& path) {
    if (fromBytes(platform::readRecordFile(path, RecordSize))) return true;
    loadDefaults();
    return false;
}

bool TQuizOptionsRec::save(const QString& path) const {
    const QByteArray image = toBytes();
    if (!platform::saveRecordFile(path, image, platform::RecordFolder::Create,
                                  QStringLiteral("Die Abfrageeinstellungen")))
        return false;
    image_ = image;
    return true;
}

int TQuizOptionsRec::attemptLimit() const {
    const int limit = rbabvor ? edurch : fieldNumber(ComboBox1, 1);
    return std::max(limit, 1);
}

QChar TQuizOptionsRec::synonymSeparator() const {
    const int code = esyn & 0xFF;
    return platform::codec::storedChar(static_cast<unsigned char>(code ? code : DefaultSeparator));
}

// --- Files -------------------------------------------------------------------

QStringList QuizAttemptItems() {
    return {QStringLiteral("1"),  QStringLiteral("2"),   QStringLiteral("3"),
            QStringLiteral("4"),  QStringLiteral("5"),   QStringLiteral("6"),
            QStringLiteral("7"),  QStringLiteral("8"),   QStringLiteral("9"),
            QStringLiteral("10"), QStringLiteral("15"),  QStringLiteral("20"),
            QStringLiteral("50"), QStringLiteral("100"), QStringLiteral("1000")};
}

QString QuizOptionsFileFor(const QString& language, bool perLanguage) {
    if (perLanguage)
        return platform::dataFile(quizrecord::fileNamePart(language) + QStringLiteral("o.dat"));
    return platform::dataFile(QStringLiteral("Option.dat"));
}

QString QuizOptionsFile() {
    return QuizOptionsFileFor(CurrentLanguage, GeneralOptions.AbfJedAn);
}

void chooseQuizOptionsPath() {
    QuizOptionsPath = QuizOptionsFile();
    if (GeneralOptions.AbfJedAn)
        platform::copyIfMissing(QuizOptionsFileFor(QString(), false), QuizOptionsPath);
}

bool loadQuizOptions() {
    if (QuizOptionsPath.isEmpty()) QuizOptionsPath = QuizOptionsFileFor(QString(), false);
    return QuizOptions.load(QuizOptionsPath);
}

bool saveQuizOptions() {
    if (QuizOptionsPath.isEmpty()) QuizOptionsPath = QuizOptionsFileFor(QString(), false);
    return QuizOptions.save(QuizOptionsPath);
}

// --- Number fields -----------------------------------------------------------

std::optional<qint32> parseWholeNumber(const QString& text) {
    return platform::parseWholeNumber(text);
}

bool checkNumberField(QString& text, const QString& defaultText) {
    if (parseWholeNumber(text)) return true;
    text = defaultText;
    platform::showMessage(NumbersOnly);
    return false;
}

bool checkAttemptsField(QString& text) {
    if (text.isEmpty()) {
        text = QStringLiteral("1");
        return false;
    }
    return checkNumberField(text, QStringLiteral("1000"));
}

void checkSeparatorField(QString& text) {
    // What is stored is the character's code: one the file cannot hold is
    // shown as the ";" that will be stored in its place.
    if (text.isEmpty() || platform::codec::storedByte(text[0]) <= 0)
        text = QString(QChar(TQuizOptionsRec::DefaultSeparator));
}

int fieldNumber(const QString& text, int fallback) {
    const std::optional<qint32> value = parseWholeNumber(text);
    return value ? *value : fallback;
}

int separatorCode(const QString& text) {
    if (text.isEmpty()) return TQuizOptionsRec::DefaultSeparator;
    const int code = platform::codec::storedByte(text[0]);
    return code > 0 ? code : TQuizOptionsRec::DefaultSeparator;
}
