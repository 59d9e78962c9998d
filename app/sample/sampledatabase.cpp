// Writes the sample database "Beispiel" that the program ships in its
// "Latein" folder: common Latin words in three lessons.
#include "database/databaseoptions.h"
#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "platform/paths.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

namespace {

struct Word {
    const char* lesson;
    const char* foreign;
    const char* translation; // meanings separated by "|"
    const char* genitive;
    const char* genus;
    int wordClass;
    const char* forms[3]; // present, perfect, participle
};

const Word words[] = {
    {"001A1", "amare", "lieben", "", "", 1, {"amo", "amavi", "amatum"}},
    {"001A1", "laudare", "loben", "", "", 1, {"laudo", "laudavi", "laudatum"}},
    {"001A1", "vocare", "rufen|nennen", "", "", 1, {"voco", "vocavi", "vocatum"}},
    {"001A1", "videre", "sehen", "", "", 1, {"video", "vidi", "visum"}},
    {"001A1", "habere", "haben|halten", "", "", 1, {"habeo", "habui", "habitum"}},
    {"001A1", "monere", "mahnen|erinnern", "", "", 1, {"moneo", "monui", "monitum"}},
    {"001A1", "audire", "hören", "", "", 1, {"audio", "audivi", "auditum"}},
    {"001A1", "venire", "kommen", "", "", 1, {"venio", "veni", "ventum"}},
    {"001A1", "dicere", "sagen|sprechen", "", "", 1, {"dico", "dixi", "dictum"}},
    {"001A1", "ducere", "führen", "", "", 1, {"duco", "duxi", "ductum"}},
    {"001A1", "esse", "sein", "", "", 1, {"sum", "fui", ""}},
    {"001A1", "dare", "geben", "", "", 1, {"do", "dedi", "datum"}},
    {"002A1", "amicus", "Freund", "amici", "m", 2, {"", "", ""}},
    {"002A1", "puella", "Mädchen", "puellae", "f", 2, {"", "", ""}},
    {"002A1", "servus", "Sklave|Diener", "servi", "m", 2, {"", "", ""}},
    {"002A1", "templum", "Tempel", "templi", "n", 2, {"", "", ""}},
    {"002A1", "rex", "König", "regis", "m", 2, {"", "", ""}},
    {"002A1", "urbs", "Stadt", "urbis", "f", 2, {"", "", ""}},
    {"002A1", "nomen", "Name", "nominis", "n", 2, {"", "", ""}},
    {"002A1", "bellum", "Krieg", "belli", "n", 2, {"", "", ""}},
    {"002A1", "via", "Weg|Straße", "viae", "f", 2, {"", "", ""}},
    {"002A1", "tempus", "Zeit", "temporis", "n", 2, {"", "", ""}},
    {"002A1", "vita", "Leben", "vitae", "f", 2, {"", "", ""}},
    {"002A1", "homo", "Mensch", "hominis", "m", 2, {"", "", ""}},
    {"003A1", "magnus", "groß", "", "", 3, {"", "", ""}},
    {"003A1", "bonus", "gut", "", "", 3, {"", "", ""}},
    {"003A1", "malus", "schlecht|böse", "", "", 3, {"", "", ""}},
    {"003A1", "novus", "neu", "", "", 3, {"", "", ""}},
    {"003A1", "longus", "lang", "", "", 3, {"", "", ""}},
    {"003A1", "parvus", "klein", "", "", 3, {"", "", ""}},
    {"003A1", "et", "und", "", "", 5, {"", "", ""}},
    {"003A1", "sed", "aber|sondern", "", "", 5, {"", "", ""}},
    {"003A1", "non", "nicht", "", "", 9, {"", "", ""}},
    {"003A1", "semper", "immer", "", "", 9, {"", "", ""}},
    {"003A1", "in", "in|auf", "", "", 4, {"", "", ""}},
    {"003A1", "cum", "mit", "", "", 4, {"", "", ""}},
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    platform::ensureFolder(folder);
    const QString base = platform::joinPath(folder, "Beispiel");
    // The program folder may hold the user's own changes to the sample: a
    // sample that is there already is never written again.
    if (QFile::exists(base + ".ol"))
        return 0;
    for (const char* ending : {".opt", ".lst"})
        QFile::remove(base + QLatin1String(ending));

    engine::Query query;
    CreateVocabularyTable(query, base + ".ol");
    query.clearSql();
    query.addSql("SELECT * FROM " + engine::quoteLiteral(base + ".ol"));
    query.open();
    for (const Word& w : words) {
        query.append();
        WriteNewRecordValues(query, QString::fromUtf8(w.lesson));
        query.setValue("Wortart", w.wordClass);
        query.setValue("Fremdwort", QString::fromUtf8(w.foreign));
        query.setValue("Uebersetzung", QString::fromUtf8(w.translation).replace("|", "\r\n"));
        query.setValue("Genitiv", QString::fromUtf8(w.genitive));
        query.setValue("Genus", QString::fromUtf8(w.genus));
        query.setValue("PraeFut", QString::fromUtf8(w.forms[0]));
        query.setValue("PerAor", QString::fromUtf8(w.forms[1]));
        query.setValue("Perfekt", QString::fromUtf8(w.forms[2]));
        query.post();
    }
    query.close();
    engine::releaseTable(base + ".ol");

    TDatabaseOptionsRec options = TDatabaseOptionsRec::forNewDatabase("Latein");
    if (!options.save(base + ".opt"))
        return 1;
    const LessonList lessons({QString::fromUtf8("001A1Verben"), QString::fromUtf8("002A1Substantive"),
                              QString::fromUtf8("003A1Adjektive und kleine Wörter")});
    return lessons.save(base + ".lst") ? 0 : 1;
}
