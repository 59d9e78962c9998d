#include "database/lessons.h"

#include "database/currentdatabase.h"
#include "database/databasefiles.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "engine/tablefacts.h"
#include "platform/codec.h"
#include "platform/filemoves.h"
#include "platform/messagebox.h"
#include "platform/paths.h"
#include "platform/regularfile.h"
#include "platform/safefile.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QRandomGenerator>
#include <QSet>
#include <algorithm>
#include <limits>
#include <optional>
#include <sys/stat.h>

LessonList baumlist;

namespace {

const QString TopNodePrefix = QStringLiteral("Lektion ");

// The message for a list file that could not be written, with its cause when
// it is known.
QString listNotSavedText(const QString& path, const QString& cause) {
    QString text = QStringLiteral("Die Lektionsliste konnte nicht gespeichert werden:\r\n") +
                   QDir::toNativeSeparators(path);
    if (!cause.isEmpty()) text += QStringLiteral("\r\n\r\n") + cause;
    return text;
}

// The locale's case-insensitive order. Building a collator is not free, so
// one is kept per locale.
int localeCompare(const QString& a, const QString& b) {
    thread_local std::optional<QLocale> collatorLocale;
    thread_local QCollator collator;
    const QLocale locale;
    if (!collatorLocale || *collatorLocale != locale) {
        collatorLocale = locale;
        collator = QCollator(locale);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
    }
    const int c = collator.compare(a, b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// Texts the collator calls equal (differing in case, say) still get a fixed
// order, so sorting never depends on the order lines came in.
int totalCompare(const QString& a, const QString& b) {
    const int c = localeCompare(a, b);
    if (c != 0) return c;
    const int ordinal = QString::compare(a, b, Qt::CaseSensitive);
    return ordinal < 0 ? -1 : (ordinal > 0 ? 1 : 0);
}

// Leading decimal digits of a text as a number; 0 when it starts otherwise.
qint64 leadingNumber(const QString& text) {
    qint64 value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) break;
        if (value < (qint64(1) << 50)) value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

bool keyMatches(const QString& line, const QString& key) {
    if (key.size() != LessonNumberLength && key.size() != LessonCodeLength) return false;
    return line.size() >= key.size() && QStringView(line).left(key.size()) == key;
}

// A line of the list file holds one lesson: a title never carries a line
// break into it.
QString oneLine(QString line) {
    line.remove(QLatin1Char('\r'));
    line.remove(QLatin1Char('\n'));
    return line;
}

} // namespace

// --- Codes ------------------------------------------------------------------

QString NormalizeLessonNumber(const QString& number) {
    if (number.size() == 1) return QStringLiteral("00") + number;
    if (number.size() == 2) return QStringLiteral("0") + number;
    return number;
}

QString LessonCode(const QString& number, const QString& letter, const QString& digit) {
    return NormalizeLessonNumber(number) + letter + digit;
}

QString LessonCode(int number, QChar letter, QChar digit) {
    return QStringLiteral("%1").arg(number, LessonNumberLength, 10, QLatin1Char('0')) + letter +
           digit;
}

bool IsLessonCode(QStringView code) {
    const auto within = [](QChar c, char low, char high) {
        return c >= QLatin1Char(low) && c <= QLatin1Char(high);
    };
    return code.size() == LessonCodeLength && within(code[0], '0', '9') &&
           within(code[1], '0', '9') && within(code[2], '0', '9') && within(code[3], 'A', 'Z') &&
           within(code[4], '1', '9');
}

bool IsLessonLine(QStringView line) {
    return IsLessonCode(line.left(LessonCodeLength));
}

// --- The list ---------------------------------------------------------------

bool LessonList::lessThan(const QString& a, const QString& b) {
    // Codes first, so that the sections of one number stay together whatever
    // their titles; titles in the locale's order.
    const int code = QStringView(a)
                         .left(LessonCodeLength)
                         .compare(QStringView(b).left(LessonCodeLength), Qt::CaseInsensitive);
    if (code != 0) return code < 0;
    return localeCompare(a.mid(LessonCodeLength), b.mid(LessonCodeLength)) < 0;
}

void LessonList::setLines(const QStringList& lines) {
    clear();
    lines_.reserve(lines.size());
    for (const QString& line : lines)
        takeLine(oneLine(line));
    sortLines();
}

void LessonList::takeLine(const QString& line) {
    if (IsLessonLine(line))
        lines_.append(line);
    else if (!line.isEmpty())
        others_.append(line);
}

void LessonList::sortLines() {
    // Lists come back in the order they were saved in: one pass finds that out.
    for (QStringList* lines : {&lines_, &others_})
        if (!std::is_sorted(lines->begin(), lines->end(), &LessonList::lessThan))
            std::stable_sort(lines->begin(), lines->end(), &LessonList::lessThan);
}

int LessonList::add(const QString& text) {
    const QString line = oneLine(text);
    if (line.isEmpty()) return -1;
    QStringList& into = IsLessonLine(line) ? lines_ : others_;
    const auto at = std::upper_bound(into.begin(), into.end(), line, &LessonList::lessThan);
    const int index = int(at - into.begin());
    into.insert(index, line);
    return &into == &lines_ ? index : -1;
}

int LessonList::replace(int index, const QString& line) {
    lines_.removeAt(index);
    return add(line);
}

int LessonList::indexOfCode(const QString& code) const {
    if (code.size() != LessonCodeLength) return -1;
    for (int i = 0; i < lines_.size(); ++i)
        if (keyMatches(lines_.at(i), code)) return i;
    return -1;
}

bool LessonList::load(const QString& path, QString* error) {
    clear();
    if (error) error->clear();
    if (!platform::entryExists(path)) return false;
    QFile file;
    if (!platform::openRegularFile(file, path, error)) return false;
    if (file.size() > MaxLessonListBytes) {
        if (error) *error = LessonListTooLargeMessage(path);
        return false;
    }
    const QByteArray bytes = file.read(MaxLessonListBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxLessonListBytes) {
        if (error)
            *error = bytes.size() > MaxLessonListBytes
                         ? LessonListTooLargeMessage(path)
                         : QStringLiteral("Die Lektionsliste \"%1\" kann nicht gelesen werden.")
                               .arg(QDir::toNativeSeparators(path));
        return false;
    }
    // The lines hold no line breaks by construction: they go in as they are.
    const char* data = bytes.constData();
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i <= size; ++i) {
        if (i < size && data[i] != '\r' && data[i] != '\n') continue;
        if (i > start) takeLine(platform::codec::fromBytes(data + start, int(i - start)));
        if (i + 1 < size && data[i] == '\r' && data[i + 1] == '\n') ++i;
        start = i + 1;
    }
    sortLines();
    return true;
}

QString LessonListTooLargeMessage(const QString& path) {
    return QStringLiteral("Die Lektionsliste ist größer als %1 MB und wird nicht gelesen:\r\n%2")
        .arg(MaxLessonListBytes >> 20)
        .arg(QDir::toNativeSeparators(path));
}

bool LessonList::save(const QString& path, QString* error) const {
    QStringList all;
    all.reserve(lines_.size() + others_.size());
    std::merge(lines_.begin(), lines_.end(), others_.begin(), others_.end(),
               std::back_inserter(all), &LessonList::lessThan);
    QByteArray bytes;
    for (const QString& line : all) {
        bytes += platform::codec::toBytes(line);
        bytes += "\r\n";
    }
    return platform::writeWholeFile(path, bytes, error);
}

QString LessonListPath(const QString& databaseBase) {
    return DatabaseCompanionPath(databaseBase, QStringLiteral("lst"));
}

QString LessonListPath() {
    return LessonListPath(CurrentDatabaseBase);
}

namespace {

void dropListsWaitingFor(const QString& listPath);

// What a list file is on disk, so that a list kept in memory in its place
// gives way when another program (a restore, say) writes the file.
struct ListFileState {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    qint64 modified = 0; // nanoseconds
    bool operator==(const ListFileState&) const = default;
};

ListFileState listFileState(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) return {};
    return {true, info.st_dev, info.st_ino, info.st_size,
            qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

// Lists that could not be saved, by the path of their file, with the state
// the file had then.
struct KeptList {
    LessonList list;
    ListFileState file;
};

QHash<QString, KeptList>& keptLists() {
    static QHash<QString, KeptList> lists;
    return lists;
}

// List files whose failed save an opening has told of, since the last save
// that worked.
QSet<QString>& unsavedListsTold() {
    static QSet<QString> told;
    return told;
}

// Takes the list kept for the file instead of reading it; false when there
// is none or the file has changed since.
bool takeKeptList(LessonList& list, const QString& path) {
    const auto kept = keptLists().constFind(path);
    if (kept == keptLists().constEnd()) return false;
    if (kept->file != listFileState(path)) {
        keptLists().remove(path);
        return false;
    }
    list = kept->list;
    return true;
}

bool saveList(const LessonList& list, const QString& path, QString* error) {
    if (list.save(path, error)) {
        // A list still waiting from a sort or import whose own rename failed
        // is older than this one: at the next opening it must not win.
        dropListsWaitingFor(path);
        keptLists().remove(path);
        unsavedListsTold().remove(path);
        return true;
    }
    keptLists().insert(path, KeptList{list, listFileState(path)});
    return false;
}

} // namespace

bool SaveLessonList(const LessonList& list, const QString& path) {
    QString error;
    if (saveList(list, path, &error)) return true;
    platform::showMessage(listNotSavedText(path, error), QStringLiteral("Fehler"),
                          platform::Icon::Error);
    return false;
}

bool SaveLessonList(const LessonList& list) {
    return SaveLessonList(list, LessonListPath());
}

QString LessonCodeOfLine(const QString& line) {
    return line.left(LessonCodeLength);
}

QString LessonTitleOfLine(const QString& line) {
    return line.mid(LessonCodeLength);
}

bool LessonExists(const LessonList& list, const QString& code) {
    return list.indexOfCode(code) >= 0;
}

bool HasLessonLine(const LessonList& list) {
    return !list.isEmpty();
}

// --- Opening ----------------------------------------------------------------

namespace {

// Words whose lesson value is no code (an empty one, or a value an older
// program or another tool wrote) belong to no lesson: only the search would
// still find them. Opening gathers them into one lesson that the tree shows.
const QString StrayWordsLessonCode = QStringLiteral("000A1");
const QString StrayWordsLessonTitle = QStringLiteral("Ohne Lektion");

std::function<bool()>& gatheringInterruption() {
    static std::function<bool()> stop;
    return stop;
}

// The code a lesson value stands for: the value itself, or the code it is
// with the blanks around it dropped and small letters made capitals; empty
// when it stands for none.
QString lessonCodeOfValue(const QString& value) {
    if (IsLessonCode(value)) return value;
    QString code = value.trimmed();
    for (QChar& c : code)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 'a' + 'A');
    return IsLessonCode(code) ? code : QString();
}

QString codeOrGathered(const QString& value) {
    const QString code = lessonCodeOfValue(value);
    return code.isEmpty() ? StrayWordsLessonCode : code;
}

QString codesRestoredText(int count) {
    return (count == 1 ? QStringLiteral("Bei einer Vokabel")
                       : QStringLiteral("Bei %1 Vokabeln").arg(count)) +
           QStringLiteral(" war der Lektionscode abweichend gespeichert (in Kleinbuchstaben, mit "
                          "Leerzeichen oder nicht als Text); er ist jetzt in der üblichen Form "
                          "gespeichert.");
}

QString strayWordsGatheredText(const LessonList& list, int count) {
    QString title = StrayWordsLessonTitle;
    for (const QString& line : list.lines())
        if (LessonCodeOfLine(line) == StrayWordsLessonCode) {
            title = LessonTitleOfLine(line);
            break;
        }
    const QString place = LessonNodeText(StrayWordsLessonCode.left(3)) + QStringLiteral(", ") +
                          LessonChildText(StrayWordsLessonCode, title);
    if (count == 1)
        return QStringLiteral("Eine Vokabel gehörte zu keiner Lektion; sie steht jetzt unter "
                              "„%1“.")
            .arg(place);
    return QStringLiteral("%1 Vokabeln gehörten zu keiner Lektion; sie stehen jetzt unter „%2“.")
        .arg(count)
        .arg(place);
}

QString strayWordsKeptText(int count, const QString& cause) {
    return (count == 1 ? QStringLiteral("Eine Vokabel gehört zu keiner Lektion; sie bleibt so")
                       : QStringLiteral("%1 Vokabeln gehören zu keiner Lektion; sie bleiben so")
                             .arg(count)) +
           QStringLiteral(", weil die Tabelle nicht geschrieben werden kann:\r\n") + cause;
}

} // namespace

void SetGatheringInterruption(std::function<bool()> stop) {
    gatheringInterruption() = std::move(stop);
}

void LoadLessonListForOpening(LessonList& list, const QString& tablePath, QString* message) {
    if (message) message->clear();
    QStringList notes;
    SettlePendingLessonLists(tablePath);
    const QString path = LessonListPath(SplitTablePath(tablePath).base);
    // A list that stands there but cannot be read (no permission, no regular
    // file) may still hold the user's lesson titles: it is rebuilt for this
    // session only and never written over. One far too large is no real list.
    bool keepFile = false;
    QString error;
    if (!takeKeptList(list, path) && !list.load(path, &error) && !error.isEmpty()) {
        keepFile = error != LessonListTooLargeMessage(path);
        notes << error + QStringLiteral("\r\nDie Lektionen werden aus den Vokabeln der "
                                        "Datenbank neu zusammengestellt.");
    }
    QSet<QString> listed;
    for (const QString& line : list.lines())
        listed.insert(LessonCodeOfLine(line));
    // Adds the codes the list lacks and saves it when it changed.
    QString unsaved;
    const auto completeList = [&](const QStringList& values) {
        bool changed = false;
        for (const QString& code : values) {
            if (!IsLessonCode(code) || listed.contains(code)) continue;
            list.add(code == StrayWordsLessonCode ? code + StrayWordsLessonTitle : code);
            listed.insert(code);
            changed = true;
        }
        if (!changed || keepFile || saveList(list, path, &error)) return;
        if (unsavedListsTold().contains(path)) return;
        unsavedListsTold().insert(path);
        unsaved = listNotSavedText(path, error) +
                  QStringLiteral("\r\nBis zum Programmende gilt die Liste, wie sie jetzt "
                                 "angezeigt wird.");
    };

    const QString field = QStringLiteral("Lektion");
    bool allText = true;
    const QStringList values = engine::distinctValues(tablePath, field, &allText);
    if (allText && std::all_of(values.begin(), values.end(), IsLessonCode)) {
        completeList(values);
    } else {
        try {
            engine::Transaction change(tablePath);
            const int restored = engine::rewriteValues(tablePath, field, lessonCodeOfValue);
            const int gathered = engine::rewriteValues(tablePath, field, codeOrGathered);
            completeList(engine::distinctValues(tablePath, field));
            if (gatheringInterruption() && gatheringInterruption()()) return;
            change.commit();
            if (restored) notes << codesRestoredText(restored);
            if (gathered) notes << strayWordsGatheredText(list, gathered);
        } catch (const engine::EngineError& cause) {
            notes << strayWordsKeptText(engine::countRewrites(tablePath, field, codeOrGathered),
                                        cause.message());
            completeList(values);
        }
    }
    if (!unsaved.isEmpty()) notes << unsaved;
    if (message) *message = notes.join(QStringLiteral("\r\n\r\n"));
}

// --- A list written ahead of its table ---------------------------------------

namespace {

const QString PendingEnding = QStringLiteral(".pending");

// ".Caesar.ol.lst-": the table's own file name, so that a table of the other
// extension beside it keeps its own waiting list.
QString pendingPrefix(const QString& tablePath) {
    return QLatin1Char('.') + QFileInfo(tablePath).fileName() + QStringLiteral(".lst-");
}

// What this program leaves waiting is a regular file of a list's size. Any
// other entry under that name must not become the list: a symbolic link
// would have the next save write wherever it points, and a file too large
// would be refused at the next reading, its titles lost. False with the cause
// in `error`.
bool isWaitingList(const QString& pending, QString* error) {
    struct stat info {};
    if (::lstat(QFile::encodeName(pending).constData(), &info) != 0 || !S_ISREG(info.st_mode)) {
        if (error) *error = platform::notARegularFileMessage(pending);
        return false;
    }
    if (info.st_size > MaxLessonListBytes) {
        if (error) *error = LessonListTooLargeMessage(pending);
        return false;
    }
    return true;
}

// The lists waiting beside the tables (either extension) of the list file.
void dropListsWaitingFor(const QString& listPath) {
    const QFileInfo list(listPath);
    if (!list.fileName().endsWith(QStringLiteral(".lst"), Qt::CaseInsensitive)) return;
    const QString base = list.dir().filePath(list.fileName().chopped(4));
    for (const char* extension : {".ol", ".db"}) {
        const QString prefix = pendingPrefix(base + QLatin1String(extension));
        for (const QString& name : list.dir().entryList(QDir::Files | QDir::Hidden))
            if (name.startsWith(prefix, Qt::CaseInsensitive) && name.endsWith(PendingEnding))
                QFile::remove(list.dir().filePath(name));
    }
}

} // namespace

qint32 NewLessonListStamp() {
    return qint32(QRandomGenerator::global()->bounded(1, std::numeric_limits<qint32>::max()));
}

QString PendingLessonListPath(const QString& tablePath, qint32 stamp) {
    return QFileInfo(tablePath).dir().filePath(pendingPrefix(tablePath) + QString::number(stamp) +
                                               PendingEnding);
}

bool WritePendingLessonList(const LessonList& list, const QString& tablePath, qint32 stamp,
                            QString* error) {
    const QString pending = PendingLessonListPath(tablePath, stamp);
    QString cause;
    if (list.save(pending, &cause)) return true;
    QFile::remove(pending);
    if (error) *error = listNotSavedText(LessonListPath(SplitTablePath(tablePath).base), cause);
    return false;
}

bool CommitPendingLessonList(const QString& tablePath, qint32 stamp, QString* error) {
    const QString pending = PendingLessonListPath(tablePath, stamp);
    const QString target = LessonListPath(SplitTablePath(tablePath).base);
    QString cause;
    if (isWaitingList(pending, &cause) && platform::takePermissionsOf(pending, target) &&
        platform::renameReplacing(pending, target))
        return true;
    if (error) *error = listNotSavedText(target, cause);
    return false;
}

void DropPendingLessonList(const QString& tablePath, qint32 stamp) {
    QFile::remove(PendingLessonListPath(tablePath, stamp));
}

void SettlePendingLessonLists(const QString& tablePath) {
    // Only a table file can carry a stamp (and opening anything else could
    // wait for good, as on a FIFO).
    if (!platform::isRegularFile(tablePath)) return;
    const QDir folder = QFileInfo(tablePath).dir();
    const QString prefix = pendingPrefix(tablePath);
    QList<qint32> stamps;
    for (const QString& name :
         folder.entryList({QLatin1Char('*') + PendingEnding}, QDir::Files | QDir::Hidden)) {
        if (!name.startsWith(prefix) || !name.endsWith(PendingEnding)) continue;
        bool ok = false;
        const qint32 stamp =
            name.mid(prefix.size(), name.size() - prefix.size() - PendingEnding.size()).toInt(&ok);
        if (ok && stamp != 0) stamps << stamp;
    }
    if (stamps.isEmpty()) return;
    qint32 tableStamp = 0;
    try {
        tableStamp = engine::tableStamp(tablePath);
    } catch (const platform::Error&) {
        return; // a damaged table: whatever reads it next reports why
    }
    for (const qint32 stamp : stamps) {
        if (stamp == tableStamp && isWaitingList(PendingLessonListPath(tablePath, stamp), nullptr))
            CommitPendingLessonList(tablePath, stamp, nullptr); // else it waits for the next time
        else
            DropPendingLessonList(tablePath, stamp);
    }
}

// --- The tree as data -------------------------------------------------------

QString LessonNodeText(const QString& number) {
    QString shown = number;
    if (shown.startsWith(QLatin1Char('0'))) shown.remove(0, 1);
    if (shown.startsWith(QLatin1Char('0'))) shown.remove(0, 1);
    return TopNodePrefix + shown;
}

QString LessonChildText(const QString& code, const QString& title) {
    return code.mid(3, 1) + QLatin1Char(' ') + code.mid(4, 1) + QStringLiteral(" [") + title +
           QLatin1Char(']');
}

int CompareLessonNodeTexts(const QString& first, const QString& second) {
    const QString lektion = QStringLiteral("Lektion");
    if (first.startsWith(lektion) && second.startsWith(lektion)) {
        const qint64 a = leadingNumber(first.mid(TopNodePrefix.size()));
        const qint64 b = leadingNumber(second.mid(TopNodePrefix.size()));
        if (a != b) return a < b ? -1 : 1;
    }
    return totalCompare(first, second);
}

LessonTree BuildLessonTree(const QStringList& lines) {
    LessonTree tree;
    QHash<QString, qsizetype> nodeOfNumber;
    for (const QString& line : lines) {
        if (!IsLessonLine(line)) continue;
        const QString number = line.left(LessonNumberLength);
        auto found = nodeOfNumber.constFind(number);
        qsizetype node;
        if (found == nodeOfNumber.constEnd()) {
            node = tree.size();
            nodeOfNumber.insert(number, node);
            tree.append(LessonTreeNode{number, LessonNodeText(number), {}});
        } else {
            node = *found;
        }
        const QString code = LessonCodeOfLine(line);
        const QString title = LessonTitleOfLine(line);
        tree[node].children.append(LessonTreeChild{code, title, LessonChildText(code, title)});
    }
    // The lines come sorted by code, so the nodes mostly are in order already:
    // one pass finds that out before a sort is paid for.
    const auto sortByText = [](auto& items) {
        const auto less = [](const auto& a, const auto& b) {
            return CompareLessonNodeTexts(a.text, b.text) < 0;
        };
        if (!std::is_sorted(items.begin(), items.end(), less))
            std::stable_sort(items.begin(), items.end(), less);
    };
    sortByText(tree);
    for (LessonTreeNode& node : tree)
        sortByText(node.children);
    return tree;
}

QString LessonCodeFromNodeTexts(const QString& topNodeText, const QString& childText) {
    const QString number = NormalizeLessonNumber(topNodeText.mid(TopNodePrefix.size()));
    return number + childText.mid(0, 1) + childText.mid(2, 1);
}

QString LessonTitleFromChildText(const QString& childText) {
    QString title = childText.mid(5);
    if (title.endsWith(QLatin1Char(']'))) title.chop(1);
    return title;
}

QString FirstLessonCodeOf(const LessonTree& tree) {
    for (const LessonTreeNode& node : tree)
        if (!node.children.isEmpty())
            return LessonCodeFromNodeTexts(node.text, node.children.first().text);
    return QString();
}

// --- Changes of the list ----------------------------------------------------

int RemoveLessonLines(LessonList& list, const QString& key) {
    int first = -1;
    for (int i = list.count() - 1; i >= 0; --i) {
        if (keyMatches(list.at(i), key)) {
            list.removeAt(i);
            first = i;
        }
    }
    if (list.isEmpty()) return -1;
    return first >= 1 ? first - 1 : 0;
}

QString DeleteLessonFromList(LessonList& list, const QString& key, const QString& listPath) {
    const int keep = RemoveLessonLines(list, key);
    SaveLessonList(list, listPath);
    if (keep < 0) return QString();
    CurrentLessonCode = LessonCodeOfLine(list.at(keep));
    return CurrentLessonCode;
}

bool RebuildLessonListFromTable(engine::Query& Query, LessonList& list) {
    Query.close();
    Query.clearSql();
    Query.addSql(QStringLiteral("SELECT * FROM ") +
                 engine::quoteLiteral(ShortPath(CurrentTablePath)));
    Query.open();

    // One line per code found in the table, whatever order its words lie in;
    // a value that is no code would give a line that names no lesson.
    QStringList codes;
    QSet<QString> seen;
    const int column = Query.fieldIndex(QStringLiteral("Lektion"));
    const int rows = Query.recordCount();
    for (int row = 0; row < rows && column >= 0; ++row) {
        const QString code = Query.valueAt(row, column).toString();
        if (!IsLessonCode(code) || seen.contains(code)) continue;
        seen.insert(code);
        codes << code;
    }

    const bool hadWords = !codes.isEmpty();
    if (hadWords) {
        // Titles live only in the list: keep what the old list had for a code.
        QHash<QString, QString> titles;
        for (const QString& line : list.lines()) {
            const QString code = LessonCodeOfLine(line);
            if (!titles.contains(code)) titles.insert(code, LessonTitleOfLine(line));
        }
        QStringList lines = list.otherLines();
        for (const QString& code : codes)
            lines << code + titles.value(code);
        list.setLines(lines);
        CurrentLessonCode = codes.first();
        ReopenLessonQuery(Query);
    } else {
        list.setLines(list.otherLines() + QStringList{FirstLessonCode});
        CurrentLessonCode = FirstLessonCode;
        ReopenLessonQuery(Query);
        if (Query.isEmpty()) InsertNewWordRecord(Query, FirstLessonCode);
    }
    SaveLessonList(list);
    return hadWords;
}

bool OpenLesson(engine::Query& Query, const QString& code) {
    CurrentLessonCode = code;
    ReopenLessonQuery(Query);
    if (!Query.isEmpty()) return false;
    if (!Query.requestLive()) {
        Query.setRequestLive(true);
        ReopenLessonQuery(Query);
    }
    InsertNewWordRecord(Query, code);
    return true;
}
