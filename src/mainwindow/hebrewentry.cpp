#include "hebrewentry.h"

#include "mainwindow/typededit.h"

#include <algorithm>

QString HebrewEnterText;
int HebrewCaretPos = 0;
bool HebrewInputBusy = false;

bool IsHebrewMovingChar(QChar c) {
    static const QString moving = QStringLiteral("\"'()*+,./:;<=>?EIO\\]eiou|}");
    return moving.contains(c);
}

HebrewEntryResult HebrewReorderKey(const QString& before, const QString& after, int caret) {
    const int n = int(after.size());
    const int p = std::clamp(caret, 0, n);
    if (!TypedOneCharacter(before, after, p)) return {after, p};

    // The typed character stands left of the caret; the caret goes to its
    // left, so that the next one lands there.
    HebrewEntryResult result{after, p - 1};
    if (n >= 2 && p < n && IsHebrewMovingChar(after.at(p - 1))) {
        result.text[p - 1] = after.at(p);
        result.text[p] = after.at(p - 1);
    }
    return result;
}

QString HebrewReorderKey(const QString& text, int caret) {
    const HebrewEntryResult result = HebrewReorderKey(HebrewEnterText, text, caret);
    HebrewCaretPos = result.caret;
    HebrewEnterText = result.text;
    return result.text;
}
