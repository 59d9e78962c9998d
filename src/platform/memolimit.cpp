#include "platform/memolimit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
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
    memo->installEventFilter(this);
}

bool MemoLengthLimit::fits(const QString& shown) const {
    return width_ <= 0 || storedLength_(shown) <= width_;
}

int MemoLengthLimit::keptLength(const QString& inserted, const QString& around) const {
    if (width_ <= 0) return int(inserted.size());
    qsizetype room = width_ - storedLength_(around);
    int kept = 0;
    while (kept < inserted.size()) {
        const qsizetype length = storedLength_(inserted.mid(kept, 1));
        if (length > room) break;
        room -= length;
        ++kept;
    }
    return kept;
}

QString MemoLengthLimit::fittingPart(const QString& inserted) const {
    if (!memo_) return inserted;
    const QTextCursor cursor = memo_->textCursor();
    const QString text = memo_->toPlainText();
    const QString around = text.left(cursor.selectionStart()) + text.mid(cursor.selectionEnd());
    return inserted.left(keptLength(inserted, around));
}

namespace {

// The text a key or an input method puts into the memo; empty for a key that
// inserts nothing.
QString typedText(const QPlainTextEdit& memo, QEvent* event) {
    if (event->type() == QEvent::InputMethod) {
        const auto* input = static_cast<QInputMethodEvent*>(event);
        return input->preeditString().isEmpty() ? input->commitString() : QString();
    }
    if (event->type() != QEvent::KeyPress) return {};
    const auto* key = static_cast<QKeyEvent*>(event);
    // Shortcuts (undo, paste, ...) insert nothing themselves.
    if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return {};
    if (key->matches(QKeySequence::InsertParagraphSeparator) ||
        key->matches(QKeySequence::InsertLineSeparator))
        return QStringLiteral("\n");
    const QString text = key->text();
    if (text.isEmpty()) return {};
    if (text.at(0) == QLatin1Char('\t')) return memo.tabChangesFocus() ? QString() : text;
    return text.at(0).isPrint() ? text : QString();
}

} // namespace

bool MemoLengthLimit::eventFilter(QObject* watched, QEvent* event) {
    // Only typing inserts; the other events also come while the memo is being
    // destroyed, when it is no longer a memo to look at.
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::InputMethod) return false;
    if (watched != memo_ || width_ <= 0 || memo_->isReadOnly()) return false;
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
        // A paste of which nothing fits changes nothing; one that fits in part
        // is cut when it is made, in the paste's own undo step.
        const QString pasted = QGuiApplication::clipboard()->text();
        return !pasted.isEmpty() && fittingPart(pasted).isEmpty();
    }
    const QString typed = typedText(*memo_, event);
    if (typed.isEmpty()) return false;
    const QString part = fittingPart(typed);
    if (part == typed) return false;
    if (!part.isEmpty()) memo_->insertPlainText(part);
    return true;
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
    const int kept = keptLength(text.mid(from, to - from), text.left(from) + text.mid(to));
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
