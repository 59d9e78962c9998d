#include "typingaids.h"

#include "database/charsets.h"
#include "database/databaseoptions.h"
#include "greektyping.h"
#include "hebrewentry.h"
#include "platform/codec.h"
#include "platform/memolimit.h"
#include "specialchars.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>
#include <optional>

namespace codec = platform::codec;

namespace {
// The field that InsertStoredText is putting a character into.
QPointer<QObject> insertingInto;

QString shownText(QObject* field) {
    if (auto* edit = qobject_cast<QLineEdit*>(field)) return edit->text();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(field)) return memo->toPlainText();
    return {};
}
} // namespace

QString StoredFieldText(QWidget* field, int charset) {
    return codec::fromDisplay(shownText(field), charset);
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
    const QPointer<QObject> previous = insertingInto;
    insertingInto = field;
    bool inserted = true;
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->insert(shown);
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(field)) {
        // As much as fits, as for a key: what is put in and cut again would
        // leave an undo step that undoes nothing.
        const auto* limit = platform::MemoLengthLimit::of(memo);
        memo->insertPlainText(limit ? limit->fittingPart(shown) : shown);
    } else
        inserted = false;
    insertingInto = previous;
    return inserted;
}

TypingAids::TypingAids(QObject* parent, std::function<bool()> editable,
                       std::function<int()> charset)
    : QObject(parent), editable_(std::move(editable)), charset_(std::move(charset)) {}

int TypingAids::charset() const {
    return charset_ ? charset_() : WordFontCharset();
}

void TypingAids::setAidSwitches(std::function<bool(QWidget*)> hebrew,
                                std::function<bool(QWidget*)> greek) {
    hebrew_ = std::move(hebrew);
    greek_ = std::move(greek);
}

bool TypingAids::hebrewActive(QWidget* field) const {
    return hebrew_ ? hebrew_(field) : HebrewEntryAidWanted();
}

bool TypingAids::greekActive(QWidget* field) const {
    return greek_ ? greek_(field) : GreekTypingActive();
}

void TypingAids::watch(QLineEdit* field) {
    field->installEventFilter(this);
    shown_.insert(field, field->text());
    connect(field, &QObject::destroyed, this, [this, field] { shown_.remove(field); });
    // textEdited comes from the user only, never from setText, and before
    // textChanged, which notes the text the next edit starts from.
    connect(field, &QLineEdit::textEdited, this, [this, field] { userChanged(field); });
    connect(field, &QLineEdit::textChanged, this, [this, field] { noteText(field); });
}

void TypingAids::watch(QPlainTextEdit* field) {
    field->installEventFilter(this);
    shown_.insert(field, field->toPlainText());
    connect(field, &QObject::destroyed, this, [this, field] { shown_.remove(field); });
    connect(field, &QPlainTextEdit::textChanged, this, [this, field] {
        if (typing_ == field || insertingInto == field) {
            // One key makes one change; whatever follows it is the program's.
            typing_ = nullptr;
            userChanged(field);
        }
        noteText(field);
    });
}

void TypingAids::noteText(QWidget* field) {
    const QString shown = shownText(field);
    shown_.insert(field, shown);
    if (field->hasFocus()) HebrewEnterText = codec::fromDisplay(shown, charset());
}

void TypingAids::recordLoaded() {
    for (auto it = shown_.begin(); it != shown_.end(); ++it)
        it.value() = shownText(it.key());
    if (auto* focused = QApplication::focusWidget(); focused && shown_.contains(focused))
        HebrewEnterText = StoredFieldText(focused, charset());
}

void TypingAids::userChanged(QWidget* field) {
    if (running_) return;
    runAids(field, codec::fromDisplay(shown_.value(field), charset()));
}

bool TypingAids::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QWidget*>(watched);
    if (!field) return false;
    switch (event->type()) {
    case QEvent::FocusIn:
        HebrewEnterText = StoredFieldText(field, charset());
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (hotkeys_ && InsertUserCharByHotkey(key->key(), key->modifiers())) return true;
        if (composeAtWidth(field, *key)) return true;
        [[fallthrough]];
    }
    case QEvent::InputMethod:
        // A memo has no signal for the user's edits: what changes while the
        // key is handled was typed.
        typing_ = watched;
        QTimer::singleShot(0, this, [this] { typing_ = nullptr; });
        break;
    default:
        break;
    }
    return false;
}

namespace {

// The field's text with `typed` put in place of its selection, and the caret
// behind it; none for a read-only field or another widget.
struct TypedText {
    QString shown;
    int caret = 0;
};

std::optional<TypedText> textWithTyped(QWidget* field, const QString& typed) {
    QString shown;
    int from = 0, to = 0;
    if (auto* edit = qobject_cast<QLineEdit*>(field); edit && !edit->isReadOnly()) {
        shown = edit->text();
        from = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
        to = edit->hasSelectedText() ? edit->selectionEnd() : from;
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(field); memo && !memo->isReadOnly()) {
        shown = memo->toPlainText();
        from = memo->textCursor().selectionStart();
        to = memo->textCursor().selectionEnd();
    } else {
        return std::nullopt;
    }
    return TypedText{shown.left(from) + typed + shown.mid(to), from + int(typed.size())};
}

} // namespace

bool fitsField(QWidget* field, const QString& shown) {
    if (auto* edit = qobject_cast<QLineEdit*>(field)) return shown.size() <= edit->maxLength();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(field))
        if (auto* limit = platform::MemoLengthLimit::of(memo)) return limit->fits(shown);
    return true;
}

bool TypingAids::composeAtWidth(QWidget* field, const QKeyEvent& key) {
    const QString typed = key.text();
    if (typed.size() != 1 || !typed.at(0).isPrint() ||
        (key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
        return false;
    if (running_ || GreekInputBusy || (editable_ && !editable_()) || !greekActive(field) ||
        hebrewActive(field))
        return false;
    const std::optional<TypedText> after = textWithTyped(field, typed);
    if (!after || fitsField(field, after->shown)) return false;
    const int cs = charset();
    const QString before = StoredFieldText(field, cs);
    const QString stored = codec::fromDisplay(after->shown, cs);
    const GreekTypingResult r = greekRoutine_ ? greekRoutine_(before, stored, after->caret)
                                              : sonderzeichen(before, stored, after->caret);
    // A key that builds no letter short enough is left to the field, which
    // refuses it.
    if (r.text == stored || !fitsField(field, codec::toDisplay(r.text, cs))) return false;
    running_ = true;
    GreekInputBusy = true;
    SetStoredFieldText(field, r.text, r.caret, cs);
    GreekInputBusy = false;
    running_ = false;
    return true;
}

void TypingAids::runAids(QWidget* field, const QString& before) {
    if (running_ || (editable_ && !editable_())) return;
    running_ = true;
    const int cs = charset();
    QString text = StoredFieldText(field, cs);
    int caret = FieldCaret(field);
    const auto show = [&](const QString& result, int resultCaret) {
        if (result == text && resultCaret == caret) return;
        text = result;
        caret = resultCaret;
        SetStoredFieldText(field, text, caret, cs);
    };
    if (!HebrewInputBusy && hebrewActive(field)) {
        HebrewInputBusy = true;
        const HebrewEntryResult r = HebrewReorderKey(before, text, caret);
        HebrewCaretPos = r.caret;
        HebrewEnterText = r.text;
        show(r.text, r.caret);
        HebrewInputBusy = false;
    }
    if (!GreekInputBusy && greekActive(field)) {
        GreekInputBusy = true;
        const GreekTypingResult r =
            greekRoutine_ ? greekRoutine_(before, text, caret) : sonderzeichen(before, text, caret);
        show(r.text, r.caret);
        GreekInputBusy = false;
    }
    running_ = false;
}
