#include "platform/memolimit.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace platform {

MemoLengthLimit::MemoLengthLimit(QPlainTextEdit* memo, StoredLength storedLength)
    : QObject(memo), memo_(memo), storedLength_(std::move(storedLength)) {
    setObjectName(QStringLiteral("MemoLengthLimit"));
    // A memo may be given another document later; the one it has is watched.
    connect(memo->document(), &QTextDocument::contentsChange, this, &MemoLengthLimit::noteChange);
    connect(memo, &QPlainTextEdit::textChanged, this, &MemoLengthLimit::trim);
}

MemoLengthLimit* MemoLengthLimit::of(const QPlainTextEdit* memo) {
    return memo->findChild<MemoLengthLimit*>(QStringLiteral("MemoLengthLimit"),
                                             Qt::FindDirectChildrenOnly);
}

void MemoLengthLimit::noteChange(int position, int removed, int added) {
    // A change the memo does not report (its signals blocked) is not trimmed.
    if (trimming_ || !memo_ || memo_->signalsBlocked()) return;
    if (insertedFrom_ < 0) {
        insertedFrom_ = position;
        insertedTo_ = position + added;
        return;
    }
    // Several changes before the memo reports one: their inserted parts
    // together, as they now stand in the text.
    if (insertedTo_ > position) insertedTo_ = std::max(position, insertedTo_ - removed) + added;
    insertedFrom_ = std::min(insertedFrom_, position);
    insertedTo_ = std::max(insertedTo_, position + added);
}

void MemoLengthLimit::trim() {
    if (trimming_ || !memo_) return;
    const int from = insertedFrom_;
    int to = insertedTo_;
    insertedFrom_ = insertedTo_ = -1;
    if (width_ <= 0 || from < 0) return;
    const QString text = memo_->toPlainText();
    if (storedLength_(text) <= width_) return;
    // The document counts a last paragraph end that the plain text lacks.
    to = std::clamp(to, from, int(text.size()));
    if (from >= to) return;
    const QString inserted = text.mid(from, to - from);
    qsizetype room = width_ - storedLength_(text.left(from) + text.mid(to));
    int kept = 0;
    while (kept < inserted.size()) {
        const qsizetype length = storedLength_(inserted.mid(kept, 1));
        if (length > room) break;
        room -= length;
        ++kept;
    }
    trimming_ = true;
    QTextCursor cursor(memo_->document());
    // One undo step takes back the edit and what was dropped of it together.
    cursor.joinPreviousEditBlock();
    cursor.setPosition(from + kept);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.endEditBlock();
    trimming_ = false;
}

qsizetype StoredMemoLength(const QString& shown) {
    return shown.size() + shown.count(QLatin1Char('\n'));
}

} // namespace platform
