#include "mainwindow/typededit.h"

#include <algorithm>

TextEdit FindTextEdit(const QString& before, const QString& after, int caret) {
    TextEdit edit;
    const int oldLength = int(before.size());
    caret = std::clamp(caret, 0, int(after.size()));
    // Everything behind the caret must be the old text's end, unchanged.
    const int tail = int(after.size()) - caret;
    if (tail > oldLength || QStringView(before).right(tail) != QStringView(after).right(tail))
        return edit;
    const int limit = std::min(caret, oldLength - tail);
    int start = 0;
    while (start < limit && before.at(start) == after.at(start))
        ++start;
    edit.caretBehindChange = true;
    edit.start = start;
    edit.inserted = caret - start;
    edit.removed = oldLength - tail - start;
    return edit;
}

bool TypedOneCharacter(const QString& before, const QString& after, int caret) {
    const TextEdit edit = FindTextEdit(before, after, caret);
    return edit.caretBehindChange && edit.inserted == 1;
}
