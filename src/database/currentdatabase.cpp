#include "database/currentdatabase.h"

QString CurrentTablePath;
QString CurrentDatabaseFolder;
QString CurrentDatabaseName;
QString CurrentDatabaseBase;
QString CurrentExtension;
QString CurrentLanguage;
QString CurrentLessonCode;
QString SelectionOptionsPath;
QString QuizOptionsPath;
QString CharTableOptionsPath;
QString InterruptedQuizPath;
