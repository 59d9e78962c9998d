#include "database/lessonoperations.h"

#include "database/currentdatabase.h"
#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "platform/messagebox.h"

#include <QSet>
#include <memory>
#include <vector>

namespace {

const QString LektionField = QStringLiteral("Lektion");

bool isDigitText(const QString& text) {
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return !text.isEmpty();
}

QString selectFrom(const QString& tablePath) {
    return QStringLiteral("SELECT * FROM ") + engine::quoteLiteral(ShortPath(tablePath));
}

// A key of three characters names every section of a lesson number.
QString lessonCondition(const QString& key) {
    if (key.size() == LessonNumberLength)
        return QStringLiteral("WHERE Lektion LIKE ") + engine::quoteLiteral(key + QLatin1Char('%'));
    return QStringLiteral("WHERE Lektion = ") + engine::quoteLiteral(key);
}

void execute(engine::Query& Query, const QStringList& lines) {
    Query.close();
    Query.setSql(lines);
    Query.execSql();
}

// Puts the query on `code` as the current lesson. An editable query gives an
// empty lesson its first word at once, as a click on the lesson would.
void showLesson(engine::Query& Query, const QString& code) {
    CurrentLessonCode = code;
    if (Query.requestLive())
        OpenLesson(Query, code);
    else
        ReopenLessonQuery(Query);
}

// Runs the table's changes and writes the new list as one step: the
// transaction is committed only once the list file is written, and a failed
// commit puts the old list file back. The list in memory follows on success.
bool commitWithList(LessonList& list, const LessonList& updated,
                    const std::function<void()>& changeTable) {
    engine::Transaction transaction(CurrentTablePath);
    changeTable();
    if (!SaveLessonList(updated)) return false; // the transaction rolls back
    try {
        transaction.commit();
    } catch (...) {
        list.save(LessonListPath());
        throw;
    }
    list = updated;
    return true;
}

// The title of the first line of a code, empty when it has none.
QString titleOf(const LessonList& list, const QString& code) {
    const int index = list.indexOfCode(code);
    return index >= 0 ? LessonTitleOfLine(list.at(index)) : QString();
}

void removeCode(LessonList& list, const QString& code) {
    for (int i = list.count() - 1; i >= 0; --i)
        if (LessonCodeOfLine(list.at(i)) == code) list.removeAt(i);
}

bool hasNumber(const LessonList& list, const QString& number) {
    for (const QString& line : list.lines())
        if (line.startsWith(number)) return true;
    return false;
}

// The distinct lesson codes of a lesson number's words, in key order.
QStringList tableCodesOfNumber(const QString& tablePath, const QString& number) {
    engine::Query query;
    query.setRequestLive(false);
    query.setSql(SelectLessonWordsSql(tablePath, number));
    query.open();
    const int column = query.fieldIndex(LektionField);
    QStringList codes;
    QSet<QString> seen;
    for (int row = 0; row < query.recordCount() && column >= 0; ++row) {
        const QString code = query.valueAt(row, column).toString();
        if (!seen.contains(code)) {
            seen.insert(code);
            codes << code;
        }
    }
    return codes;
}

} // namespace

void ShowLessonResult(LessonResult result) {
    const QString error = QStringLiteral("Fehler");
    switch (result) {
    case LessonResult::InvalidLesson:
        platform::showMessage(QStringLiteral("Ungültige Lektion"), error, platform::Icon::Error);
        break;
    case LessonResult::LessonExists:
        platform::showMessage(QStringLiteral("Lektion schon vorhanden"), error,
                              platform::Icon::Error);
        break;
    case LessonResult::TargetExists:
        platform::showMessage(QStringLiteral("Ziellektion schon vorhanden !"));
        break;
    case LessonResult::OnlyLesson:
        platform::showMessage(QStringLiteral("Einzige Lektion kann nicht gelöscht werden"), error,
                              platform::Icon::Error);
        break;
    case LessonResult::SameAsSource:
        platform::showMessage(QStringLiteral("Es kann nicht in Quellektion verschoben werden !"),
                              error, platform::Icon::Error);
        break;
    case LessonResult::Done:
    case LessonResult::Unchanged:
    case LessonResult::ListNotSaved:
        break;
    }
}

QString CleanLessonTitle(const QString& title) {
    QString clean = title;
    for (QChar& c : clean)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    return clean.left(LessonTitleLength);
}

bool IsValidLessonNumber(const QString& numberText) {
    return numberText.size() <= LessonNumberLength && isDigitText(numberText) &&
           numberText.toInt() > 0;
}

bool IsValidLessonCode(const QString& code) {
    return IsLessonCode(code) && IsValidLessonNumber(code.left(LessonNumberLength));
}

QStringList MoveLessonWordsSql(const QString& tablePath, const QString& fromCode,
                               const QString& toCode) {
    return {QStringLiteral("UPDATE ") + engine::quoteLiteral(tablePath),
            QStringLiteral("SET Lektion = ") + engine::quoteLiteral(toCode),
            QStringLiteral("WHERE Lektion = ") + engine::quoteLiteral(fromCode)};
}

QStringList DeleteLessonWordsSql(const QString& tablePath, const QString& key) {
    return {QStringLiteral("DELETE FROM ") + engine::quoteLiteral(ShortPath(tablePath)),
            lessonCondition(key)};
}

QStringList SelectLessonWordsSql(const QString& tablePath, const QString& key) {
    return {selectFrom(tablePath), lessonCondition(key)};
}

int CountLessonWords(const QString& tablePath, const QString& key) {
    engine::Query query;
    query.setRequestLive(false);
    query.setSql(SelectLessonWordsSql(tablePath, key));
    query.open();
    return query.recordCount();
}

int CopyWords(const QString& tablePath, const QStringList& whereLines, const QString& target,
              const WordCopyProgress& progress) {
    // Every source is selected before the first copy is written: a result
    // keeps the keys it found at open, so no copy is ever copied again.
    std::vector<std::unique_ptr<engine::Query>> sources;
    int total = 0;
    for (const QString& where : whereLines) {
        auto source = std::make_unique<engine::Query>();
        source->setRequestLive(false);
        source->setSql({selectFrom(tablePath), where});
        source->open();
        total += source->recordCount();
        sources.push_back(std::move(source));
    }

    engine::Query writer;
    writer.setRequestLive(true);
    writer.setSql({QStringLiteral("SELECT * FROM ") + engine::quoteLiteral(tablePath),
                   QStringLiteral("WHERE ID = 0")});
    writer.open();
    const QStringList fields = writer.fieldNames();

    if (progress.start) progress.start(total);
    int done = 0;
    try {
        engine::Transaction transaction(tablePath);
        for (const auto& source : sources) {
            QList<int> columns;
            for (const QString& field : fields)
                columns << source->fieldIndex(field);
            for (int row = 0; row < source->recordCount(); ++row) {
                writer.append();
                for (int k = 0; k < fields.size(); ++k) {
                    if (columns[k] < 0 ||
                        fields[k].compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0)
                        continue;
                    writer.setValue(fields[k], source->valueAt(row, columns[k]));
                }
                writer.setValue(LektionField, target);
                writer.post();
                ++done;
                if (progress.advance) progress.advance(done);
            }
        }
        transaction.commit();
    } catch (...) {
        if (writer.state() == engine::Query::State::Insert) writer.cancel();
        if (progress.finish) progress.finish();
        throw;
    }
    if (progress.finish) progress.finish();
    return done;
}

// --- new lesson -----------------------------------------------------------------

LessonResult NewLesson(engine::Query& Query, LessonList& list, const QString& numberText,
                       const QString& letter, const QString& digit, const QString& title) {
    Query.close();
    const QString code = LessonCode(numberText, letter, digit);
    LessonResult result = LessonResult::Done;
    if (!IsValidLessonNumber(numberText) || !IsValidLessonCode(code))
        result = LessonResult::InvalidLesson;
    // A listed section without words exists as much as one with words.
    else if (CountLessonWords(CurrentTablePath, code) > 0 || LessonExists(list, code))
        result = LessonResult::LessonExists;
    if (result != LessonResult::Done) {
        showLesson(Query, CurrentLessonCode);
        return result;
    }
    LessonList updated = list;
    updated.add(code + CleanLessonTitle(title));
    if (!SaveLessonList(updated)) {
        showLesson(Query, CurrentLessonCode);
        return LessonResult::ListNotSaved;
    }
    list = updated;
    CurrentLessonCode = code;
    ReopenLessonQuery(Query);
    if (Query.isEmpty()) InsertNewWordRecord(Query, code);
    return LessonResult::Done;
}

// --- rename ---------------------------------------------------------------------

LessonResult RenameLessonNumber(engine::Query& Query, LessonList& list, const QString& oldNumber,
                                const QString& numberText) {
    Query.close();
    const QString newNumber = NormalizeLessonNumber(numberText);
    LessonResult result = LessonResult::Done;
    if (!IsValidLessonNumber(numberText) || oldNumber.size() != LessonNumberLength)
        result = LessonResult::InvalidLesson;
    else if (newNumber == oldNumber)
        result = LessonResult::Unchanged;
    else if (CountLessonWords(CurrentTablePath, newNumber) > 0 || hasNumber(list, newNumber))
        result = LessonResult::LessonExists;
    if (result != LessonResult::Done) {
        showLesson(Query, CurrentLessonCode);
        return result;
    }

    // Every code of the old number, whether the list or only the table knows
    // it: words whose section had no line would otherwise be left behind
    // under a number that no longer shows in the tree.
    QStringList codes;
    for (const QString& line : list.lines())
        if (line.startsWith(oldNumber) && !codes.contains(LessonCodeOfLine(line)))
            codes << LessonCodeOfLine(line);
    const QStringList listedCodes = codes;
    const QStringList tableCodes = tableCodesOfNumber(CurrentTablePath, oldNumber);

    LessonList updated = list;
    for (int i = updated.count() - 1; i >= 0; --i)
        if (updated.at(i).startsWith(oldNumber)) updated.removeAt(i);
    for (const QString& line : list.lines())
        if (line.startsWith(oldNumber)) updated.add(newNumber + line.mid(LessonNumberLength));
    for (const QString& code : tableCodes) {
        if (codes.contains(code)) continue;
        codes << code;
        // A value that is no code moves with its number but names no lesson.
        if (IsLessonCode(code)) updated.add(newNumber + code.mid(LessonNumberLength));
    }

    const bool saved = commitWithList(list, updated, [&] {
        for (const QString& code : codes)
            execute(Query, MoveLessonWordsSql(CurrentTablePath, code,
                                              newNumber + code.mid(LessonNumberLength)));
    });
    if (!saved) {
        showLesson(Query, CurrentLessonCode);
        return LessonResult::ListNotSaved;
    }
    // The last listed section of the new number is shown.
    const QStringList& shown = listedCodes.isEmpty() ? codes : listedCodes;
    showLesson(Query, shown.isEmpty() ? CurrentLessonCode
                                      : newNumber + shown.last().mid(LessonNumberLength));
    return LessonResult::Done;
}

LessonResult RenameLessonSection(engine::Query& Query, LessonList& list, const QString& oldCode,
                                 const QString& numberText, const QString& letter,
                                 const QString& digit, const QString& title) {
    Query.close();
    const QString newCode = LessonCode(numberText, letter, digit);
    const QString newTitle = CleanLessonTitle(title);
    if (!IsValidLessonNumber(numberText) || !IsValidLessonCode(newCode)) {
        showLesson(Query, CurrentLessonCode);
        return LessonResult::InvalidLesson;
    }

    if (newCode == oldCode) {
        // Only the title changes; the words stay where they are.
        const int index = list.indexOfCode(oldCode);
        if (index >= 0 && LessonTitleOfLine(list.at(index)) == newTitle) {
            showLesson(Query, CurrentLessonCode);
            return LessonResult::Unchanged;
        }
        LessonList updated = list;
        removeCode(updated, oldCode);
        updated.add(oldCode + newTitle);
        if (!SaveLessonList(updated)) {
            showLesson(Query, CurrentLessonCode);
            return LessonResult::ListNotSaved;
        }
        list = updated;
        showLesson(Query, CurrentLessonCode);
        return LessonResult::Done;
    }

    if (CountLessonWords(CurrentTablePath, newCode) > 0 || LessonExists(list, newCode)) {
        showLesson(Query, CurrentLessonCode);
        return LessonResult::LessonExists;
    }
    LessonList updated = list;
    removeCode(updated, oldCode);
    updated.add(newCode + newTitle);
    const bool saved = commitWithList(list, updated, [&] {
        execute(Query, MoveLessonWordsSql(CurrentTablePath, oldCode, newCode));
    });
    if (!saved) {
        showLesson(Query, CurrentLessonCode);
        return LessonResult::ListNotSaved;
    }
    showLesson(Query, newCode);
    return LessonResult::Done;
}

// --- delete ---------------------------------------------------------------------

LessonResult DeleteLesson(engine::Query& Query, LessonList& list, const QString& key) {
    Query.close();
    LessonList updated = list;
    const int keep = RemoveLessonLines(updated, key);
    if (keep < 0) {
        showLesson(Query, CurrentLessonCode);
        return LessonResult::OnlyLesson;
    }
    const bool saved = commitWithList(
        list, updated, [&] { execute(Query, DeleteLessonWordsSql(CurrentTablePath, key)); });
    if (!saved) {
        showLesson(Query, CurrentLessonCode);
        return LessonResult::ListNotSaved;
    }
    showLesson(Query, LessonCodeOfLine(list.at(keep)));
    return LessonResult::Done;
}

// --- copy -----------------------------------------------------------------------

LessonResult CopyLessonSection(engine::Query& Query, LessonList& list, const QString& sourceCode,
                               const QString& targetCode, const WordCopyProgress& progress) {
    Query.close();
    LessonResult result = LessonResult::Done;
    if (targetCode.size() != LessonCodeLength) {
        result = LessonResult::InvalidLesson;
    } else if (!LessonExists(list, targetCode)) {
        // The target was picked from the tree, so it has a line; should it
        // not, it gets one, so that the copies can be found.
        LessonList updated = list;
        updated.add(targetCode);
        const bool saved = commitWithList(list, updated, [&] {
            CopyWords(CurrentTablePath, {lessonCondition(sourceCode)}, targetCode, progress);
        });
        if (!saved) result = LessonResult::ListNotSaved;
    } else {
        CopyWords(CurrentTablePath, {lessonCondition(sourceCode)}, targetCode, progress);
    }
    showLesson(Query, CurrentLessonCode);
    return result;
}

LessonResult CopyLessonSectionToNumber(engine::Query& Query, LessonList& list,
                                       const QString& sourceCode, const QString& targetNumber,
                                       const WordCopyProgress& progress) {
    Query.close();
    const QString target = NormalizeLessonNumber(targetNumber) + sourceCode.mid(LessonNumberLength);
    LessonResult result = LessonResult::Done;
    if (target.size() != LessonCodeLength) {
        result = LessonResult::InvalidLesson;
    } else if (LessonExists(list, target)) {
        result = LessonResult::TargetExists;
    } else {
        LessonList updated = list;
        updated.add(target + titleOf(list, sourceCode));
        const bool saved = commitWithList(list, updated, [&] {
            CopyWords(CurrentTablePath, {lessonCondition(sourceCode)}, target, progress);
        });
        if (!saved) result = LessonResult::ListNotSaved;
    }
    showLesson(Query, CurrentLessonCode);
    return result;
}

// --- move -----------------------------------------------------------------------

LessonResult MoveLessonSection(engine::Query& Query, LessonList& list, const QString& sourceCode,
                               const QString& targetCode) {
    Query.close();
    LessonResult result = LessonResult::Done;
    if (targetCode == sourceCode) {
        result = LessonResult::SameAsSource;
    } else if (targetCode.size() != LessonCodeLength) {
        result = LessonResult::InvalidLesson;
    } else {
        LessonList updated = list;
        const QString title = titleOf(list, sourceCode);
        removeCode(updated, sourceCode);
        if (!LessonExists(updated, targetCode)) updated.add(targetCode + title);
        // The words join the target's: an UPDATE of the source's code leaves
        // the target's own words where they are.
        const bool saved = commitWithList(list, updated, [&] {
            execute(Query, MoveLessonWordsSql(CurrentTablePath, sourceCode, targetCode));
        });
        if (!saved) result = LessonResult::ListNotSaved;
    }
    showLesson(Query, result == LessonResult::Done ? targetCode : CurrentLessonCode);
    return result;
}

LessonResult MoveLessonSectionToNumber(engine::Query& Query, LessonList& list,
                                       const QString& sourceCode, const QString& targetNumber) {
    Query.close();
    const QString target = NormalizeLessonNumber(targetNumber) + sourceCode.mid(LessonNumberLength);
    LessonResult result = LessonResult::Done;
    if (target == sourceCode) {
        result = LessonResult::SameAsSource;
    } else if (target.size() != LessonCodeLength) {
        result = LessonResult::InvalidLesson;
    } else if (LessonExists(list, target) || CountLessonWords(CurrentTablePath, target) > 0) {
        result = LessonResult::TargetExists;
    } else {
        LessonList updated = list;
        const QString title = titleOf(list, sourceCode);
        removeCode(updated, sourceCode);
        updated.add(target + title);
        const bool saved = commitWithList(list, updated, [&] {
            execute(Query, MoveLessonWordsSql(CurrentTablePath, sourceCode, target));
        });
        if (!saved) result = LessonResult::ListNotSaved;
    }
    showLesson(Query, result == LessonResult::Done ? target : CurrentLessonCode);
    return result;
}
