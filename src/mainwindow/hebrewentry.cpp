#include "hebrewentry.h"

#include <algorithm>

QString HebrewEnterText;
int HebrewCaretPos = 0;
bool HebrewInputBusy = false;

bool IsHebrewMovingChar(QChar c) {
    static const QString moving = QStringLiteral("\"'()*+,./:;<=>?EIO\\]eiou|}");
    return moving.contains(c);
}

QString HebrewReorderKey(const QString& text, int caret) {
    const int n = text.size();
    const int p = std::clamp(caret, 0, n);
    QString r = text;

    // The caret goes back to the left of the character just typed; with the
    // caret at the start there is nothing left of it.
    HebrewCaretPos = std::max(0, p - 1);
    if (n >= 2 && p >= 1 && p < n && IsHebrewMovingChar(text.at(p - 1))) {
        r[p - 1] = text.at(p);
        r[p] = text.at(p - 1);
    }

    if (n < HebrewEnterText.size()) {
        // A deletion: the caret stays where the editor put it.
        HebrewCaretPos = p;
        const int k = HebrewCaretPos;
        if (n >= 1 && k < r.size() && r.at(k) != HebrewEnterText.at(k) &&
            IsHebrewMovingChar(r.at(k)))
            r[k] = HebrewEnterText.at(k);
    }
    HebrewCaretPos = std::clamp(HebrewCaretPos, 0, int(r.size()));
    HebrewEnterText = r;
    return r;
}
