#pragma once
// The program's help: German HTML pages shipped inside the program as
// resources below ":/help" (pages in "html", pictures in "bilder"). The help
// commands name a page the way they always have, "Orvilex.chm" for the
// contents and "Orvilex.chm::/html/page.htm" for one page; this book turns
// such a topic into a page, knows each page's title and searches the text of
// all pages. No widgets here: the help window shows what the book finds.
#include <QList>
#include <QMap>
#include <QString>
#include <QUrl>

namespace help {

// The page the help opens on when no page is named.
inline const QString ContentsPage = QStringLiteral("html/inhalt.htm");

// A help command's topic split into the help file's name and the page
// ("html/x.htm", without the leading "/"; empty for the contents).
struct Topic {
    QString file;
    QString page;
};
Topic parseTopic(const QString& topic);

struct PageEntry {
    QString page;
    QString title;
};

// One group of the contents page: its heading and the pages it links to.
struct ContentsGroup {
    QString heading;
    QList<PageEntry> pages;
};

class HelpBook {
  public:
    // Reads every page below `root` (":/help" in the program).
    explicit HelpBook(const QString& root = QStringLiteral(":/help"));

    bool hasPage(const QString& page) const { return pages_.contains(normalPage(page)); }
    QStringList pages() const { return pages_.keys(); }
    QString title(const QString& page) const;
    QString html(const QString& page) const;

    // Where a page lies for the text browser, and back.
    QUrl url(const QString& page) const;
    QString pageOf(const QUrl& url) const;

    // The contents page's headings and links, in its order.
    QList<ContentsGroup> contents() const;

    // Pages that hold every word of `words` (case does not matter), the best
    // match first: words in the title count more than words in the text.
    QList<PageEntry> search(const QString& words) const;

    // "html/./x.htm", "/html/x.htm" and "HTML/X.HTM" all name "html/x.htm".
    static QString normalPage(const QString& page);

  private:
    struct Page {
        QString title;
        QString html;
        QString foldedText; // title and text, case-folded for the search
    };
    QString root_;
    QMap<QString, Page> pages_;
};

// The message for a page the help does not have.
QString missingPageText(const QString& page);

// The program's help book, read once.
const HelpBook& book();

} // namespace help
