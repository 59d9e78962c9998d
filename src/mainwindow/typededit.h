#pragma once
// What one edit of a text field did, worked out from the text before it, the
// text after it and the caret after it (an editor leaves the caret behind what
// it inserted). The typing aids act only on a character the user typed: a
// deletion, a paste of several characters or a text put in as a whole is left
// as it is, so that an aid never works again on letters it built earlier.
#include <QString>

struct TextEdit {
    bool caretBehindChange = false; // the inserted part ends at the caret
    int start = 0;                  // where the change begins
    int removed = 0;                // characters of the old text replaced
    int inserted = 0;               // characters put in their place
};

// The change that turns `before` into `after`, read so that its inserted part
// ends at `caret`. When no change ends there (the whole text was replaced and
// the caret put elsewhere), caretBehindChange is false.
TextEdit FindTextEdit(const QString& before, const QString& after, int caret);

// Whether the edit typed exactly one character, the one just left of the
// caret (alone or over a selection).
bool TypedOneCharacter(const QString& before, const QString& after, int caret);
