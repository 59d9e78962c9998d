#include "typingaids.h"

#include "database/charsets.h"
#include "database/databaseoptions.h"
#include "greektyping.h"
#include "hebrewentry.h"
#include "platform/codec.h"
#include "specialchars.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>

namespace codec = platform::codec;

QString StoredFieldText(QWidget* field, int charset) {
    if (auto* edit = qobject_cast<QLineEdit*>(field)) return codec::fromDisplay(edit->text(), charset);
    if (auto* memo = qobject_cast<QPlainTextEdit*>(field))
        return codec::fromDisplay(memo->toPlainText(), charset);
    return {};
}

int FieldCaret(QWidget* field) {
    if (auto* edit = qobject_cast<QLineEdit*>(field)) return edit->cursorPosition();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(field)) return memo->textCursor().position();
    return 0;
}

void SetStoredFieldText(QWidget* field, const QString& stored, int caret, int charset) {
    const QString shown = codec::toDisplay(stored, charset);
    caret = std::clamp(caret, 0, int(shown.size()));
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        if (edit->text() != shown) edit->setText(shown);
        edit->setCursorPosition(caret);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(field)) {
        if (memo->toPlainText() != shown) {
            // Replaced through a cursor so that the user can undo it.
            QTextCursor all(memo->document());
            all.select(QTextCursor::Document);
            all.insertText(shown);
        }
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(caret);
        memo->setTextCursor(cursor);
    }
}

bool InsertStoredText(QWidget* field, const QString& stored, int charset) {
    const QString shown = codec::toDisplay(stored, charset);
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->insert(shown);
        return true;
    }
    if (auto* memo = qobject_cast<QPlainTextEdit*>(field)) {
        memo->insertPlainText(shown);
        return true;
    }
    return false;
}

TypingAids::TypingAids(QObject* parent, std::function<bool()> editable,
                       std::function<int()> charset)
    : QObject(parent), editable_(std::move(editable)), charset_(std::move(charset)) {}

int TypingAids::charset() const { return charset_ ? charset_() : WordFontCharset(); }

void TypingAids::watch(QLineEdit* field) {
    field->installEventFilter(this);
    // textEdited comes from the user only, never from setText.
    connect(field, &QLineEdit::textEdited, this, [this, field] { runAids(field); });
}

void TypingAids::watch(QPlainTextEdit* field) {
    field->installEventFilter(this);
    connect(field, &QPlainTextEdit::textChanged, this, [this, field] {
        if (typing_ == field) runAids(field);
    });
}

bool TypingAids::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QWidget*>(watched);
    if (!field) return false;
    if (event->type() == QEvent::FocusIn) {
        if (IsHebrewDatabase()) HebrewEnterText = StoredFieldText(field, charset());
    } else if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (InsertUserCharByHotkey(key->key(), key->modifiers())) return true;
        // A memo has no signal for the user's edits: what changes while the
        // key is handled was typed.
        typing_ = watched;
        QTimer::singleShot(0, this, [this] { typing_ = nullptr; });
    }
    return false;
}

void TypingAids::runAids(QWidget* field) {
    if (running_ || (editable_ && !editable_())) return;
    running_ = true;
    const int cs = charset();
    if (IsHebrewDatabase() && !HebrewInputBusy) {
        HebrewInputBusy = true;
        HebrewCaretPos = FieldCaret(field);
        const QString r = HebrewReorderKey(StoredFieldText(field, cs), HebrewCaretPos);
        SetStoredFieldText(field, r, HebrewCaretPos, cs);
        HebrewInputBusy = false;
    }
    if (GreekTypingActive() && !GreekInputBusy) {
        GreekInputBusy = true;
        GreekInputText = StoredFieldText(field, cs);
        GreekCaretPos = FieldCaret(field);
        sonderzeichen();
        SetStoredFieldText(field, GreekInputText, GreekCaretPos, cs);
        GreekInputBusy = false;
    }
    running_ = false;
}
