#include "quiz/selectionoptions.h"

#include "database/currentdatabase.h"
#include "database/databasefiles.h"
#include "database/generaloptions.h"
#include "database/vocabularytable.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "platform/recordimage.h"
#include "quiz/quizoptionsbytes.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

TSelectionOptionsRec SelectionOptions;

namespace {

namespace off = SelectionOptionsOffset;
using platform::readBool;
using platform::writeBool;
using platform::readInt32;
using platform::writeInt32;

struct BoolField {
    int offset;
    bool TSelectionOptionsRec::*member;
};

constexpr BoolField BoolFields[] = {
    {off::RadioButton1, &TSelectionOptionsRec::RadioButton1},
    {off::RadioButton2, &TSelectionOptionsRec::RadioButton2},
    {off::RadioButton3, &TSelectionOptionsRec::RadioButton3},
    {off::CheckBox1, &TSelectionOptionsRec::CheckBox1},
    {off::sl, &TSelectionOptionsRec::sl},
    {off::l, &TSelectionOptionsRec::l},
    {off::n, &TSelectionOptionsRec::n},
    {off::s, &TSelectionOptionsRec::s},
    {off::ss, &TSelectionOptionsRec::ss},
    {off::cbgenus, &TSelectionOptionsRec::cbgenus},
    {off::cbgeni, &TSelectionOptionsRec::cbgeni},
    {off::cbsf, &TSelectionOptionsRec::cbsf},
};

const QString SelectionWhat = QStringLiteral("Die Auswahleinstellungen");
const QString MarksWhat = QStringLiteral("Die Lektionenauswahl");

// Found in any case, but a file of a database whose name differs only in case
// is left to that database: this one then has a file of its own spelling.
QString markFile(const QString& databaseBase, const QString& language, const char* suffix) {
    const TablePathParts parts = SplitTablePath(databaseBase + QStringLiteral(".ol"));
    const QString name =
        quizrecord::fileNamePart(parts.name + language) + QString::fromLatin1(suffix);
    const QString found = platform::dataFile(name);
    if (!BelongsToAnotherDatabase(found, parts)) return found;
    return QFileInfo(found).dir().filePath(name);
}

} // namespace

// --- The record --------------------------------------------------------------

void TSelectionOptionsRec::normalize() {
    // Like ticking the radio buttons in order: the last ticked one stays.
    setDirection(RadioButton3 ? 3 : RadioButton2 ? 2 : 1);
    if (ComboBox1 < 0 || ComboBox1 >= WordClassCount) ComboBox1 = 0;
    SelStart = std::clamp(SelStart, 0, MaxPercent);
    SelEnd = std::clamp(SelEnd, 0, MaxPercent);
    Position = std::clamp(Position, 0, MaxPercent);
}

int TSelectionOptionsRec::direction() const {
    return RadioButton3 ? 3 : RadioButton2 ? 2 : 1;
}

void TSelectionOptionsRec::setDirection(int direction) {
    RadioButton1 = direction == 1;
    RadioButton2 = direction == 2;
    RadioButton3 = direction == 3;
    if (!RadioButton2 && !RadioButton3) RadioButton1 = true;
}

bool TSelectionOptionsRec::fromBytes(const QByteArray& image) {
    if (image.size() < RecordSize) return false;
    TSelectionOptionsRec record;
    for (const BoolField& field : BoolFields)
        record.*field.member = readBool(image, field.offset);
    record.ComboBox1 = readInt32(image, off::ComboBox1);
    record.SelStart = readInt32(image, off::SelStart);
    record.SelEnd = readInt32(image, off::SelEnd);
    record.Position = readInt32(image, off::Position);
    record.normalize();
    *this = record;
    return true;
}

void TSelectionOptionsRec::writeInto(QByteArray& image) const {
    TSelectionOptionsRec record = *this;
    record.normalize();
    if (image.size() < RecordSize) image.append(RecordSize - image.size(), '\0');
    for (const BoolField& field : BoolFields)
        writeBool(image, field.offset, record.*field.member);
    writeInt32(image, off::ComboBox1, record.ComboBox1);
    writeInt32(image, off::SelStart, record.SelStart);
    writeInt32(image, off::SelEnd, record.SelEnd);
    writeInt32(image, off::Position, record.Position);
}

bool TSelectionOptionsRec::load(const QString& path) {
    if (fromBytes(platform::readRecordFile(path, RecordSize))) return true;
    *this = TSelectionOptionsRec();
    return false;
}

bool TSelectionOptionsRec::save(const QString& path) const {
    return updateSelectionOptionsFile(path, [this](QByteArray& image) { writeInto(image); });
}

QStringList TSelectionOptionsRec::WordClassItems() {
    return QStringList{QStringLiteral("Alle")} + WordClassNames();
}

bool updateSelectionOptionsFile(const QString& path,
                                const std::function<void(QByteArray& image)>& change) {
    QByteArray image = platform::readRecordFile(path, TSelectionOptionsRec::RecordSize);
    image.append(TSelectionOptionsRec::RecordSize - image.size(), '\0');
    change(image);
    image.resize(TSelectionOptionsRec::RecordSize);
    return platform::saveRecordFile(path, image, platform::RecordFolder::Create, SelectionWhat);
}

// --- Files -------------------------------------------------------------------

QString SelectionOptionsFileFor(const QString& language, bool perLanguage) {
    if (perLanguage)
        return platform::dataFile(quizrecord::fileNamePart(language) + QStringLiteral("a.dat"));
    return platform::dataFile(QStringLiteral("AuswOpt.dat"));
}

QString SelectionOptionsFile() {
    return SelectionOptionsFileFor(CurrentLanguage, GeneralOptions.AusJedAn);
}

void chooseSelectionOptionsPath() {
    SelectionOptionsPath = SelectionOptionsFile();
    if (GeneralOptions.AusJedAn)
        platform::copyIfMissing(SelectionOptionsFileFor(QString(), false), SelectionOptionsPath);
}

bool loadSelectionOptions() {
    if (SelectionOptionsPath.isEmpty())
        SelectionOptionsPath = SelectionOptionsFileFor(QString(), false);
    return SelectionOptions.load(SelectionOptionsPath);
}

bool saveSelectionOptions() {
    if (SelectionOptionsPath.isEmpty())
        SelectionOptionsPath = SelectionOptionsFileFor(QString(), false);
    return SelectionOptions.save(SelectionOptionsPath);
}

// --- Lesson marks ------------------------------------------------------------

void LessonMarksRecord::setMarks(const QList<bool>& marks) {
    for (int k = 0; k < count(); ++k)
        flags_[k] = k < marks.size() && marks[k];
}

bool LessonMarksRecord::load(const QString& path) {
    if (!QFileInfo::exists(path)) return false;
    const QByteArray bytes = platform::readRecordFile(path, count());
    for (int k = 0; k < count(); ++k)
        flags_[k] = k < bytes.size() && bytes[k] != 0;
    return true;
}

bool LessonMarksRecord::save(const QString& path) const {
    QByteArray bytes(count(), '\0');
    for (int k = 0; k < count(); ++k)
        bytes[k] = flags_[k] ? 1 : 0;
    return platform::saveRecordFile(path, bytes, platform::RecordFolder::Create, MarksWhat);
}

QString LastSelectionFile(const QString& databaseBase, const QString& language) {
    return markFile(databaseBase, language, "aw.dat");
}

QString LastSelection2File(const QString& databaseBase, const QString& language) {
    return markFile(databaseBase, language, "aw2.dat");
}

bool LastSelectionExists(const QString& databaseBase, const QString& language) {
    return QFileInfo::exists(LastSelectionFile(databaseBase, language));
}

bool writeLastSelection(const QList<bool>& marks, const QString& databaseBase,
                        const QString& language) {
    TLastSelectionRec first;
    first.setMarks(marks);
    TLastSelection2Rec all;
    all.setMarks(marks);
    // Both are attempted even when the first fails: each reports its own failure.
    const bool firstWritten = first.save(LastSelectionFile(databaseBase, language));
    const bool allWritten = all.save(LastSelection2File(databaseBase, language));
    return firstWritten && allWritten;
}

std::optional<QList<bool>> readLastSelection(int lineCount, const QString& databaseBase,
                                             const QString& language) {
    const QString allPath = LastSelection2File(databaseBase, language);
    // "aw2.dat" counts only when whole: a cut one falls back to "aw.dat".
    if (QFileInfo(allPath).size() >= TLastSelection2Rec::Count) {
        TLastSelection2Rec all;
        if (all.load(allPath)) return all.flags().mid(0, std::clamp(lineCount, 0, all.count()));
    }
    TLastSelectionRec first;
    if (!first.load(LastSelectionFile(databaseBase, language))) return std::nullopt;
    return first.flags().mid(0, std::clamp(lineCount, 0, first.count()));
}

// --- Lesson list lines and codes -----------------------------------------------

QString SelectionListLine(const QString& topNodeText, const QString& childText) {
    const QString prefix =
        topNodeText.mid(8).rightJustified(3, QLatin1Char(' ')) + QLatin1Char(' ');
    return prefix + childText.mid(0, 1) + childText.mid(2, 1) + QLatin1Char(' ') + childText.mid(3);
}

QStringList SelectionListLines(const LessonTree& tree) {
    QStringList lines;
    for (const LessonTreeNode& node : tree)
        for (const LessonTreeChild& child : node.children)
            lines << SelectionListLine(node.text, child.text);
    return lines;
}

QString LessonCodeFromSelectionLine(const QString& line) {
    QString code = line.left(20);
    for (int i = 0; i < 2 && i < code.size(); ++i)
        if (code[i] == QLatin1Char(' ')) code[i] = QLatin1Char('0');
    if (code.size() >= 4) code.remove(3, 1);
    return code.left(5);
}

QStringList SelectionCodesFromLines(const QStringList& lines, const QList<bool>& marks) {
    QStringList codes;
    for (int k = std::min<int>(lines.size(), marks.size()) - 1; k >= 0; --k)
        if (marks[k]) codes << LessonCodeFromSelectionLine(lines[k]);
    return codes;
}
