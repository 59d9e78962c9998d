#include "printing/printsettings.h"

#include "database/currentdatabase.h"
#include "database/generaloptions.h"
#include "platform/folders.h"
#include "platform/recordimage.h"
#include "quiz/selectionoptions.h"

#include <algorithm>
#include <array>
#include <utility>

TPrintCardOptionsRec PrintCardOptions;
TPrintTextOptionsRec PrintTextOptions;
TPrintSelectionOptions PrintSelectionOptions;

namespace {

QList<int> sizesUpTo16(std::initializer_list<int> more) {
    QList<int> sizes;
    for (int size = 6; size <= 16; ++size)
        sizes << size;
    sizes << QList<int>(more);
    return sizes;
}

int indexOrDefault(int index, const QList<int>& list, int fallback) {
    return index >= 0 && index < list.size() ? index : fallback;
}

// The choice of a radio group whose buttons are stored as one Boolean each:
// the last ticked one in file order wins, none ticked gives the fallback.
template <typename T, std::size_t N>
T readRadioGroup(const QByteArray& image, const std::array<std::pair<int, T>, N>& buttons,
                 T fallback) {
    T choice = fallback;
    for (const auto& [offset, value] : buttons)
        if (platform::readBool(image, offset)) choice = value;
    return choice;
}

template <typename T, std::size_t N>
void writeRadioGroup(QByteArray& image, const std::array<std::pair<int, T>, N>& buttons, T choice) {
    for (const auto& [offset, value] : buttons)
        platform::writeBool(image, offset, value == choice);
}

namespace sel = PrintSelectionOffset;

const std::array<std::pair<int, int>, 6> FormatButtons{
    {{sel::rb1, 1}, {sel::rb2, 2}, {sel::rb3, 3}, {sel::rb4, 4}, {sel::rb5, 5}, {sel::rb0, 0}}};
const std::array<std::pair<int, PrintOrder>, 5> PrimaryButtons{
    {{sel::sl, PrintOrder::Lesson},
     {sel::sa, PrintOrder::ForeignWord},
     {sel::sw, PrintOrder::WordClass},
     {sel::ss, PrintOrder::Difficulty},
     {sel::sa_ueber, PrintOrder::Translation}}};
const std::array<std::pair<int, PrintSecondaryOrder>, 4> SecondaryButtons{
    {{sel::sa2, PrintSecondaryOrder::ForeignWord},
     {sel::ssta, PrintSecondaryOrder::WrongAnswers},
     {sel::nrb, PrintSecondaryOrder::Keep},
     {sel::sa2_ueber, PrintSecondaryOrder::Translation}}};
const std::array<std::pair<int, PrintPlacement>, 3> RemarkButtons{
    {{sel::rbbd0, PrintPlacement::None},
     {sel::rbbd1, PrintPlacement::Left},
     {sel::rbbd2, PrintPlacement::Right}}};
const std::array<std::pair<int, PrintPlacement>, 3> SpecialFormButtons{
    {{sel::rbsd0, PrintPlacement::None},
     {sel::rbsd1, PrintPlacement::Left},
     {sel::rbsd2, PrintPlacement::Right}}};

namespace card = PrintCardOffset;
const std::array<std::pair<int, std::optional<CardKind>>, 3> CardKindButtons{
    {{card::rbk1, CardKind::Fold}, {card::rbk2, CardKind::Front}, {card::rbk3, CardKind::Back}}};

namespace text = PrintTextOffset;

} // namespace

const QList<int>& ListFontSizes() {
    static const QList<int> sizes = sizesUpTo16({18});
    return sizes;
}
const QList<int>& CardWordFontSizes() {
    static const QList<int> sizes = sizesUpTo16({18, 20, 22, 24, 28});
    return sizes;
}
const QList<int>& CardTranslationFontSizes() {
    static const QList<int> sizes = sizesUpTo16({18, 20, 24});
    return sizes;
}
const QList<int>& CardSpecialFontSizes() {
    static const QList<int> sizes = sizesUpTo16({18, 20});
    return sizes;
}
const QList<int>& CardLessonFontSizes() {
    return CardSpecialFontSizes();
}

// --- Card options ------------------------------------------------------------

bool TPrintCardOptionsRec::fromBytes(const QByteArray& image) {
    if (image.size() < RecordSize) return false;
    const TPrintCardOptionsRec defaults;
    image_ = image.left(RecordSize);
    cbkartei = platform::readBool(image_, card::cbkartei);
    kind = readRadioGroup(image_, CardKindButtons, std::optional<CardKind>());
    rbkrahmen = platform::readBool(image_, card::rbkrahmen);
    rbklektion = platform::readBool(image_, card::rbklektion);
    cbkvor = platform::readBool(image_, card::cbkvor);
    cbKartKopfFuss = platform::readBool(image_, card::cbKartKopfFuss);
    cbkfremdwort = indexOrDefault(platform::readInt32(image_, card::cbkfremdwort),
                                  CardWordFontSizes(), defaults.cbkfremdwort);
    cbkueber = indexOrDefault(platform::readInt32(image_, card::cbkueber),
                              CardTranslationFontSizes(), defaults.cbkueber);
    cbksonder = indexOrDefault(platform::readInt32(image_, card::cbksonder), CardSpecialFontSizes(),
                               defaults.cbksonder);
    cbklektion = indexOrDefault(platform::readInt32(image_, card::cbklektion),
                                CardLessonFontSizes(), defaults.cbklektion);
    return true;
}

QByteArray TPrintCardOptionsRec::toBytes() const {
    QByteArray image = image_;
    platform::writeBool(image, card::cbkartei, cbkartei);
    writeRadioGroup(image, CardKindButtons, kind);
    platform::writeBool(image, card::rbkrahmen, rbkrahmen);
    platform::writeBool(image, card::rbklektion, rbklektion);
    platform::writeBool(image, card::cbkvor, cbkvor);
    platform::writeBool(image, card::cbKartKopfFuss, cbKartKopfFuss);
    platform::writeInt32(image, card::cbkfremdwort, cbkfremdwort);
    platform::writeInt32(image, card::cbkueber, cbkueber);
    platform::writeInt32(image, card::cbksonder, cbksonder);
    platform::writeInt32(image, card::cbklektion, cbklektion);
    return image;
}

bool TPrintCardOptionsRec::load(const QString& path) {
    return fromBytes(platform::readRecordFile(path, RecordSize));
}

bool TPrintCardOptionsRec::save(const QString& path) {
    const QByteArray image = toBytes();
    if (!platform::saveRecordFile(path, image)) return false;
    image_ = image;
    return true;
}

int TPrintCardOptionsRec::wordFontSize() const {
    return CardWordFontSizes().at(indexOrDefault(cbkfremdwort, CardWordFontSizes(), 0));
}
int TPrintCardOptionsRec::translationFontSize() const {
    return CardTranslationFontSizes().at(indexOrDefault(cbkueber, CardTranslationFontSizes(), 0));
}
int TPrintCardOptionsRec::specialFontSize() const {
    return CardSpecialFontSizes().at(indexOrDefault(cbksonder, CardSpecialFontSizes(), 0));
}
int TPrintCardOptionsRec::lessonFontSize() const {
    return CardLessonFontSizes().at(indexOrDefault(cbklektion, CardLessonFontSizes(), 0));
}

// --- Text options --------------------------------------------------------------

namespace {

struct TextField {
    int offset;
    QString TPrintTextOptionsRec::*member;
};

const std::array<TextField, 10> TextFields{{{text::ekz, &TPrintTextOptionsRec::ekz},
                                            {text::efz, &TPrintTextOptionsRec::efz},
                                            {text::sro, &TPrintTextOptionsRec::sro},
                                            {text::sru, &TPrintTextOptionsRec::sru},
                                            {text::srl, &TPrintTextOptionsRec::srl},
                                            {text::srr, &TPrintTextOptionsRec::srr},
                                            {text::kkBreite, &TPrintTextOptionsRec::kkBreite},
                                            {text::kkHoehe, &TPrintTextOptionsRec::kkHoehe},
                                            {text::kkAbstandh, &TPrintTextOptionsRec::kkAbstandh},
                                            {text::kkAbstandv, &TPrintTextOptionsRec::kkAbstandv}}};

} // namespace

bool TPrintTextOptionsRec::fromBytes(const QByteArray& image) {
    if (image.size() < RecordSize) return false;
    image_ = image.left(RecordSize);
    for (const TextField& field : TextFields)
        this->*field.member = platform::readShortString(image_, field.offset, text::TextCapacity);
    return true;
}

QByteArray TPrintTextOptionsRec::toBytes() const {
    QByteArray image = image_;
    for (const TextField& field : TextFields)
        platform::writeShortString(image, field.offset, text::TextCapacity, this->*field.member);
    return image;
}

bool TPrintTextOptionsRec::load(const QString& path) {
    return fromBytes(platform::readRecordFile(path, RecordSize));
}

bool TPrintTextOptionsRec::save(const QString& path) {
    const QByteArray image = toBytes();
    if (!platform::saveRecordFile(path, image)) return false;
    image_ = image;
    return true;
}

// --- Selection options, bytes 0 to 235 ---------------------------------------

bool TPrintSelectionOptions::fromBytes(const QByteArray& image) {
    if (image.size() < sel::End) return false;
    const TPrintSelectionOptions defaults;
    format = readRadioGroup(image, FormatButtons, defaults.format);
    primary = readRadioGroup(image, PrimaryButtons, defaults.primary);
    secondary = readRadioGroup(image, SecondaryButtons, defaults.secondary);
    remarks = readRadioGroup(image, RemarkButtons, defaults.remarks);
    specialForms = readRadioGroup(image, SpecialFormButtons, defaults.specialForms);
    sab = platform::readBool(image, sel::sab);
    cbus = platform::readBool(image, sel::cbus);
    line = platform::readBool(image, sel::line);
    cbra = platform::readBool(image, sel::cbra);
    nge = platform::readBool(image, sel::nge);
    nse = platform::readBool(image, sel::nse);
    nst = platform::readBool(image, sel::nst);

    bool ok = false;
    const int index =
        platform::readShortString(image, sel::cbs, sel::TextCapacity).trimmed().toInt(&ok);
    cbs = ok ? indexOrDefault(index, ListFontSizes(), DefaultListFontIndex) : DefaultListFontIndex;
    zoomText = platform::readShortString(image, sel::ComboBox1, sel::TextCapacity);
    const int wordClass = platform::readInt32(image, sel::comw);
    comw = wordClass >= 0 && wordClass <= 14 ? wordClass : 0;
    return true;
}

void TPrintSelectionOptions::writeInto(QByteArray& image) const {
    Q_ASSERT(image.size() >= sel::End);
    writeRadioGroup(image, FormatButtons, format);
    writeRadioGroup(image, PrimaryButtons, primary);
    writeRadioGroup(image, SecondaryButtons, secondary);
    writeRadioGroup(image, RemarkButtons, remarks);
    writeRadioGroup(image, SpecialFormButtons, specialForms);
    platform::writeBool(image, sel::sab, sab);
    platform::writeBool(image, sel::cbus, cbus);
    platform::writeBool(image, sel::line, line);
    platform::writeBool(image, sel::cbra, cbra);
    platform::writeBool(image, sel::nge, nge);
    platform::writeBool(image, sel::nse, nse);
    platform::writeBool(image, sel::nst, nst);
    platform::writeShortString(image, sel::cbs, sel::TextCapacity, QString::number(cbs));
    platform::writeShortString(image, sel::ComboBox1, sel::TextCapacity, zoomText);
    platform::writeInt32(image, sel::comw, comw);
}

int TPrintSelectionOptions::listFontSize() const {
    return ListFontSizes().at(indexOrDefault(cbs, ListFontSizes(), DefaultListFontIndex));
}

bool TPrintSelectionOptions::load(const QString& path) {
    return fromBytes(platform::readRecordFile(path, TSelectionOptionsRec::RecordSize));
}

bool TPrintSelectionOptions::save(const QString& path) const {
    return updateSelectionOptionsFile(path, [this](QByteArray& image) { writeInto(image); });
}

// --- Files ---------------------------------------------------------------------

QString PrintCardOptionsFile() {
    return PrintCardOptionsPath.isEmpty() ? platform::dataFile(QStringLiteral("Dru2Opt.dat"))
                                          : PrintCardOptionsPath;
}

QString PrintTextOptionsFile() {
    return PrintTextOptionsPath.isEmpty() ? platform::dataFile(QStringLiteral("Dru3Opt.dat"))
                                          : PrintTextOptionsPath;
}

QString PrintSelectionOptionsFile() {
    return SelectionOptionsPath.isEmpty() ? platform::dataFile(QStringLiteral("AuswOpt.dat"))
                                          : SelectionOptionsPath;
}
