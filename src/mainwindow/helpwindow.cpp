#include "mainwindow/helpwindow.h"

#include "mainwindow/helpbook.h"
#include "platform/formwidgets.h"
#include "platform/messagebox.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace {

using platform::named;

constexpr int PageRole = Qt::UserRole;

QToolButton* toolButton(QWidget* parent, const char* name, const QString& text,
                        QStyle::StandardPixmap icon, const QKeySequence& keys) {
    auto* button = named(new QToolButton(parent), name);
    button->setText(text);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setShortcut(keys);
    button->setToolTip(
        QStringLiteral("%1 (%2)").arg(text, keys.toString(QKeySequence::NativeText)));
    return button;
}

} // namespace

HelpWindow::HelpWindow(const help::HelpBook& book, QWidget* parent)
    : QWidget(parent, Qt::Window), book_(book) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Orvilex Hilfe"));
    // The help never keeps the program running once the main window is closed.
    setAttribute(Qt::WA_QuitOnClose, false);

    contentsButton =
        toolButton(this, "contentsButton", QStringLiteral("Inhalt"),
                   QStyle::SP_FileDialogContentsView, QKeySequence(Qt::ALT | Qt::Key_Home));
    backButton = toolButton(this, "backButton", QStringLiteral("Zurück"), QStyle::SP_ArrowBack,
                            QKeySequence(QKeySequence::Back));
    forwardButton = toolButton(this, "forwardButton", QStringLiteral("Vorwärts"),
                               QStyle::SP_ArrowForward, QKeySequence(QKeySequence::Forward));
    backButton->setEnabled(false);
    forwardButton->setEnabled(false);

    tabs = named(new QTabWidget(this), "tabs");
    contentsTree = named(new QTreeWidget(tabs), "contentsTree");
    contentsTree->setHeaderHidden(true);
    contentsTree->setRootIsDecorated(true);
    tabs->addTab(contentsTree, QStringLiteral("&Inhalt"));

    auto* searchPage = new QWidget(tabs);
    searchField = named(new QLineEdit(searchPage), "searchField");
    searchField->setPlaceholderText(QStringLiteral("Gesuchte Wörter"));
    searchField->setClearButtonEnabled(true);
    searchButton = named(new QPushButton(QStringLiteral("S&uchen"), searchPage), "searchButton");
    searchResult = named(new QLabel(searchPage), "searchResult");
    searchResult->setWordWrap(true);
    hitList = named(new QListWidget(searchPage), "hitList");
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchField, 1);
    searchRow->addWidget(searchButton);
    auto* searchLayout = new QVBoxLayout(searchPage);
    auto* searchLabel = new QLabel(QStringLiteral("Zu suchende &Wörter eingeben:"), searchPage);
    searchLabel->setBuddy(searchField);
    searchLayout->addWidget(searchLabel);
    searchLayout->addLayout(searchRow);
    searchLayout->addWidget(searchResult);
    searchLayout->addWidget(hitList, 1);
    tabs->addTab(searchPage, QStringLiteral("&Suchen"));

    browser = named(new QTextBrowser(this), "browser");
    browser->setOpenLinks(false);
    browser->document()->setDefaultStyleSheet(
        QStringLiteral("h1 { color: #1f3c78; font-size: x-large; }"
                       "h2 { color: #1f3c78; font-size: large; margin-top: 14px; }"
                       "h3 { font-size: medium; }"
                       "th { background-color: #dfe6f3; text-align: left; }"
                       "pre { background-color: #f2f2f2; }"
                       "p.siehe { margin-top: 18px; color: #555555; }"));

    auto* splitter = new QSplitter(this);
    splitter->addWidget(tabs);
    splitter->addWidget(browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({300, 820});

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contentsButton);
    buttons->addWidget(backButton);
    buttons->addWidget(forwardButton);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);
    resize(1160, 780);
    // Escape closes the help, as it closes a dialog.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    fillContents();

    connect(contentsButton, &QToolButton::clicked, this, [this] { showPage(help::ContentsPage); });
    connect(backButton, &QToolButton::clicked, browser, &QTextBrowser::backward);
    connect(forwardButton, &QToolButton::clicked, browser, &QTextBrowser::forward);
    connect(browser, &QTextBrowser::backwardAvailable, backButton, &QWidget::setEnabled);
    connect(browser, &QTextBrowser::forwardAvailable, forwardButton, &QWidget::setEnabled);
    connect(browser, &QTextBrowser::anchorClicked, this, &HelpWindow::linkClicked);
    connect(browser, &QTextBrowser::sourceChanged, this, &HelpWindow::pageChanged);
    connect(contentsTree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const QString page = item->data(0, PageRole).toString();
        if (!page.isEmpty()) showPage(page);
    });
    connect(contentsTree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        const QString page = item->data(0, PageRole).toString();
        if (!page.isEmpty() && page != currentPage()) showPage(page);
    });
    connect(tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == 1) searchField->setFocus();
    });
    connect(searchField, &QLineEdit::returnPressed, this, &HelpWindow::runSearch);
    connect(searchButton, &QPushButton::clicked, this, &HelpWindow::runSearch);
    connect(hitList, &QListWidget::itemActivated, this, &HelpWindow::openHit);
    connect(hitList, &QListWidget::itemClicked, this, &HelpWindow::openHit);
}

QRect FitIntoScreen(QRect geometry, const QMargins& frame, const QRect& available) {
    const QRect room = available.marginsRemoved(frame);
    geometry.setSize(geometry.size().boundedTo(room.size()));
    if (geometry.right() > room.right()) geometry.moveRight(room.right());
    if (geometry.bottom() > room.bottom()) geometry.moveBottom(room.bottom());
    if (geometry.left() < room.left()) geometry.moveLeft(room.left());
    if (geometry.top() < room.top()) geometry.moveTop(room.top());
    return geometry;
}

namespace {

// The frame the window system puts around a top-level window: that of the
// window in front, or of this one once it has been shown.
QMargins frameMargins(const QWidget& window) {
    const QWidget* framed = window.isVisible() ? &window : QApplication::activeWindow();
    if (!framed) return {};
    const QRect outer = framed->frameGeometry(), inner = framed->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

} // namespace

void HelpWindow::fitToScreen() {
    const QWidget* owner = parentWidget() ? parentWidget()->window() : QApplication::activeWindow();
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect available = screen->availableGeometry();
    QRect wanted = geometry();
    if (!placed_) wanted.moveCenter(available.center());
    placed_ = true;
    setGeometry(FitIntoScreen(wanted, frameMargins(*this), available));
}

void HelpWindow::fillContents() {
    auto* start = new QTreeWidgetItem(contentsTree, {book_.title(help::ContentsPage)});
    start->setData(0, PageRole, help::ContentsPage);
    for (const help::ContentsGroup& group : book_.contents()) {
        QTreeWidgetItem* parent = nullptr;
        if (!group.heading.isEmpty()) {
            parent = new QTreeWidgetItem(contentsTree, {group.heading});
            parent->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
        }
        for (const help::PageEntry& entry : group.pages) {
            auto* item = parent ? new QTreeWidgetItem(parent, {entry.title})
                                : new QTreeWidgetItem(contentsTree, {entry.title});
            item->setData(0, PageRole, entry.page);
            item->setIcon(0, style()->standardIcon(QStyle::SP_FileIcon));
        }
    }
    contentsTree->expandAll();
}

bool HelpWindow::showPage(const QString& page) {
    const qsizetype hash = page.indexOf(QLatin1Char('#'));
    const QString file = hash < 0 ? page : page.left(hash);
    if (!book_.hasPage(file)) return false;
    QUrl url = book_.url(file);
    if (hash >= 0) url.setFragment(page.mid(hash + 1));
    browser->setSource(url);
    return true;
}

QString HelpWindow::currentPage() const {
    return book_.pageOf(browser->source());
}

QString HelpWindow::currentTitle() const {
    return browser->documentTitle();
}

void HelpWindow::linkClicked(const QUrl& link) {
    const QUrl url = browser->source().resolved(link);
    if (url.scheme() != browser->source().scheme()) {
        if (openExternal) openExternal(url);
        return;
    }
    const QString page = book_.pageOf(url);
    if (book_.hasPage(page)) {
        browser->setSource(url);
        return;
    }
    platform::showMessage(help::missingPageText(page.isEmpty() ? link.toString() : page),
                          QStringLiteral("Hilfe"), platform::Icon::Warning);
}

// The browser reports the new page before its source() follows.
void HelpWindow::pageChanged(const QUrl& url) {
    const QString title = currentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Orvilex Hilfe")
                                   : QStringLiteral("Orvilex Hilfe – ") + title);
    // The contents follow the page shown.
    const QString page = book_.pageOf(url);
    for (QTreeWidgetItemIterator it(contentsTree); *it; ++it) {
        if ((*it)->data(0, PageRole).toString() == page) {
            contentsTree->setCurrentItem(*it);
            break;
        }
    }
}

void HelpWindow::runSearch() {
    searchedWords_ = searchField->text().simplified();
    hitList->clear();
    if (searchedWords_.isEmpty()) {
        searchResult->setText(QStringLiteral("Bitte geben Sie ein oder mehrere Wörter ein."));
        return;
    }
    const QList<help::PageEntry> hits = book_.search(searchedWords_);
    for (const help::PageEntry& hit : hits) {
        auto* item = new QListWidgetItem(hit.title, hitList);
        item->setData(PageRole, hit.page);
    }
    if (hits.isEmpty())
        searchResult->setText(
            QStringLiteral("Keine Seite enthält „%1“.").arg(searchedWords_.toHtmlEscaped()));
    else
        searchResult->setText(hits.size() == 1
                                  ? QStringLiteral("1 Seite gefunden:")
                                  : QStringLiteral("%1 Seiten gefunden:").arg(hits.size()));
    tabs->setCurrentIndex(1);
    // The best page is shown at once; the others are a click away.
    if (!hits.isEmpty()) {
        hitList->setCurrentRow(0);
        openHit();
    }
}

void HelpWindow::openHit() {
    QListWidgetItem* item = hitList->currentItem();
    if (!item || !showPage(item->data(PageRole).toString())) return;
    // The first place of the first word searched for is marked on the page.
    const QString first = searchedWords_.section(QLatin1Char(' '), 0, 0);
    browser->moveCursor(QTextCursor::Start);
    if (first.isEmpty() || !browser->find(first)) return;
    // The place found stands near the top of the page, not at its bottom edge.
    QScrollBar* bar = browser->verticalScrollBar();
    bar->setValue(bar->value() + browser->cursorRect().top() - 2 * browser->fontMetrics().height());
}
