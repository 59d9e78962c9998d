#include "database/databasedisplay.h"

#include "database/databaseoptions.h"
#include "database/specialoptions.h"

#include <QFontDatabase>

LanguageLabels PlanLanguageLabels(const QString& language, bool hebrew, const QString& wordFont) {
    LanguageLabels labels;
    const bool greek = language == QLatin1String("Griechisch");
    labels.passiveTabOrder = greek ? std::array<int, 3>{2, 1, 0} : std::array<int, 3>{0, 1, 2};
    labels.centreForeignWord = hebrew;
    labels.panelGreVisible = greek || hebrew;

    if (hebrew)
        labels.formLabels = {QStringLiteral("Nif´al"), QStringLiteral("Pi´el"),
                             QStringLiteral("Pu´al"),  QStringLiteral("Hitpa´el"),
                             QStringLiteral("Hif´il"), QStringLiteral("Hof´al")};
    auto firstThree = [&](const char* a, const char* b, const char* c) {
        labels.formLabels[0] = QString::fromUtf8(a);
        labels.formLabels[1] = QString::fromUtf8(b);
        labels.formLabels[2] = QString::fromUtf8(c);
    };
    if (greek)
        firstThree("Futur:", "Aorist:", "Perfekt:");
    else if (language == QLatin1String("Latein"))
        firstThree("Präsens:", "Perfekt:", "Partizip Perfekt:");
    else if (language == QStringLiteral("Französisch"))
        firstThree("Femininum:", "Mehrzahl:", "Mehrzahl Femininum:");
    else if (language == QLatin1String("Englisch"))
        firstThree("past tense", "past participle", "Sonderform");
    else if (!hebrew)
        firstThree("Sonderform 1", "Sonderform 2", "Sonderform 3");

    // The Greek comparison follows the Greek font; its larger memos only
    // make sense for a Greek database in that font.
    labels.greekMode = wordFont == QLatin1String("Greek");
    labels.quizMemoPointSize = labels.greekMode && greek ? 14 : 10;
    return labels;
}

DatabaseFonts PlanDatabaseFonts(const TDatabaseOptionsRec& options, bool hebrew) {
    QString wordFont = options.WordFont;
    StripCharsetPrefixes(wordFont);
    DatabaseFonts fonts;
    fonts.tableWord = WordFontFor(options.TableWordFont, options.TableWordFontSize,
                                  options.TableWordFontBold, options.wordCharset());
    fonts.word =
        WordFontFor(wordFont, options.WordFontSize, options.WordFontBold, options.wordCharset());
    fonts.translation = WordFontFor(options.TranslationFont, options.TranslationFontSize,
                                    options.TranslationFontBold, options.translationCharset());
    fonts.tableTranslation =
        WordFontFor(options.TableTranslationFont, options.TableTranslationFontSize,
                    options.TableTranslationFontBold, options.translationCharset());
    fonts.centreForeignWord = hebrew;
    return fonts;
}

QString GenitivePrompt(const QString& genitiveCaption) {
    QString caption = genitiveCaption;
    if (caption.endsWith(QLatin1Char(':'))) caption.chop(1);
    return QStringLiteral("Bitte ") + caption + QStringLiteral(" eingeben:");
}

QFont CaptionFont(const SpecialFormCaptions& captions) {
    return WordFontFor(captions.FontName, captions.FontSize, captions.FontBold, 1).font;
}

QString MissingScriptFont(const TDatabaseOptionsRec& options, const QString& language, bool hebrew,
                          const std::function<bool(const QString&)>& installed) {
    QString font = options.WordFont;
    StripCharsetPrefixes(font);
    const int charset = options.wordCharset();
    const bool latinCodes = charset == 0 || charset == 1 || charset == 2;
    const bool script = hebrew || language == QLatin1String("Griechisch") ||
                        font == QLatin1String("Greek") || charset == 2;
    if (font.isEmpty() || !latinCodes || !script || installed(font)) return QString();
    return font;
}

bool FontInstalled(const QString& family) {
    return QFontDatabase::hasFamily(family);
}

QString MissingFontMessage(const QString& font, const QString& databaseName) {
    return QStringLiteral("Die Schriftart \"") + font +
           QStringLiteral("\" für die Fremdwörter der Datenbank \"") + databaseName +
           QStringLiteral(
               "\" ist auf diesem Rechner nicht installiert. Die Fremdwörter werden "
               "deshalb in einer Ersatzschrift als lateinische Buchstaben angezeigt.\n\n"
               "Installieren Sie die Schriftart, oder wählen Sie unter \"Einstellungen\" "
               "- \"Datenbank\" eine gewöhnliche Schriftart und den griechischen "
               "bzw. hebräischen Zeichensatz.");
}

NavButtons NavButtonsFor(int row, int count) {
    NavButtons buttons;
    if (count <= 0 || row < 0) return buttons;
    buttons.first = buttons.prior = row > 0;
    buttons.next = buttons.last = row < count - 1;
    return buttons;
}
