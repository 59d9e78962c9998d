#pragma once
// The help window "Orvilex Hilfe": the contents and a full-text search on the
// left, the page on the right, with back and forward through the pages seen.
// It shows the pages of a help book; links between pages stay in the window,
// links to web pages and mail addresses go to the desktop.
#include <QMargins>
#include <QRect>
#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTextBrowser;
class QToolButton;
class QTreeWidget;
class QUrl;

namespace help {
class HelpBook;
}

// A window's geometry (its frame not included) fitted into a screen's free
// area: no larger than the area less the frame, and moved into it where it,
// or its frame, would stand out.
QRect FitIntoScreen(QRect geometry, const QMargins& frame, const QRect& available);

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(const help::HelpBook& book, QWidget* parent = nullptr);

    // Shows a page of the book ("html/x.htm", optionally with "#anchor").
    // False, and nothing changes, when the book has no such page.
    bool showPage(const QString& page);
    QString currentPage() const;
    QString currentTitle() const;

    // Runs the search for the field's words and lists the pages found.
    void runSearch();

    // Before the window is shown: its size and place fitted into the free
    // area of the screen it will be on; centred there the first time.
    void fitToScreen();

    QToolButton* contentsButton;
    QToolButton* backButton;
    QToolButton* forwardButton;
    QTabWidget* tabs;
    QTreeWidget* contentsTree;
    QLineEdit* searchField;
    QPushButton* searchButton;
    QLabel* searchResult;
    QListWidget* hitList;
    QTextBrowser* browser;

    // Opens web pages and mail addresses of the pages (the desktop's browser).
    std::function<void(const QUrl&)> openExternal;

  private:
    void fillContents();
    void linkClicked(const QUrl& url);
    void pageChanged(const QUrl& url);
    void openHit();

    const help::HelpBook& book_;
    QString searchedWords_;
    bool placed_ = false;
};
