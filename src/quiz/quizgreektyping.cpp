#include "quiz/quizgreektyping.h"

#include "database/currentdatabase.h"
#include "database/generaloptions.h"
#include "mainwindow/typededit.h"

#include <algorithm>

bool QuizGreekTypingActive() {
    return GeneralOptions.AkzAkt && CurrentLanguage == QLatin1String("Griechisch");
}

GreekTypingResult QuizGreekTyping(const QString& before, const QString& after, int caret) {
    if (!QuizGreekTypingActive() || !TypedOneCharacter(before, after, caret))
        return {after, std::clamp(caret, 0, int(after.size())), 0};
    return composeGreekAtCaret(after, caret);
}
