#include "mainwindow/helpbook.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <algorithm>

namespace help {
namespace {

QString titleOf(const QString& html) {
    static const QRegularExpression title(QStringLiteral("<title>(.*)</title>"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption |
                                              QRegularExpression::InvertedGreedinessOption);
    const auto match = title.match(html);
    return match.hasMatch()
               ? QTextDocumentFragment::fromHtml(match.captured(1)).toPlainText().simplified()
               : QString();
}

int occurrences(const QString& text, const QString& word) {
    int count = 0;
    for (qsizetype at = text.indexOf(word); at >= 0; at = text.indexOf(word, at + word.size()))
        ++count;
    return count;
}

} // namespace

Topic parseTopic(const QString& topic) {
    const qsizetype separator = topic.indexOf(QLatin1String("::"));
    if (separator < 0) return {topic.trimmed(), QString()};
    return {topic.left(separator).trimmed(), HelpBook::normalPage(topic.mid(separator + 2))};
}

QString HelpBook::normalPage(const QString& page) {
    QString path = QDir::cleanPath(QString(page).replace(QLatin1Char('\\'), QLatin1Char('/')));
    while (path.startsWith(QLatin1Char('/')))
        path.remove(0, 1);
    return path == QLatin1String(".") ? QString() : path.toLower();
}

HelpBook::HelpBook(const QString& root) : root_(root) {
    QDirIterator it(root + QStringLiteral("/html"), {QStringLiteral("*.htm")}, QDir::Files);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) continue;
        Page page;
        page.html = QString::fromUtf8(file.readAll());
        page.title = titleOf(page.html);
        page.foldedText = (page.title + QLatin1Char('\n') +
                           QTextDocumentFragment::fromHtml(page.html).toPlainText())
                              .toCaseFolded();
        pages_.insert(normalPage(path.mid(root.size())), page);
    }
}

QString HelpBook::title(const QString& page) const {
    return pages_.value(normalPage(page)).title;
}

QString HelpBook::html(const QString& page) const {
    return pages_.value(normalPage(page)).html;
}

QUrl HelpBook::url(const QString& page) const {
    QString path = root_;
    if (path.startsWith(QLatin1Char(':'))) path.remove(0, 1);
    QUrl url;
    url.setScheme(root_.startsWith(QLatin1Char(':')) ? QStringLiteral("qrc")
                                                     : QStringLiteral("file"));
    url.setPath(path + QLatin1Char('/') + normalPage(page));
    return url;
}

QString HelpBook::pageOf(const QUrl& url) const {
    QString root = root_;
    if (root.startsWith(QLatin1Char(':'))) root.remove(0, 1);
    const QString path = url.path();
    if (!path.startsWith(root + QLatin1Char('/'))) return QString();
    return normalPage(path.mid(root.size()));
}

QList<ContentsGroup> HelpBook::contents() const {
    // Headings of the second level open a group; every link to a page adds
    // that page to the group above it.
    static const QRegularExpression parts(
        QStringLiteral("<h2[^>]*>(.*)</h2>|<a\\s+href=\"([^\"#:]+\\.htm)[^\"]*\""),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption |
            QRegularExpression::InvertedGreedinessOption);
    QList<ContentsGroup> groups;
    auto it = parts.globalMatch(html(ContentsPage));
    while (it.hasNext()) {
        const auto match = it.next();
        if (!match.captured(1).isEmpty()) {
            groups.append(
                {QTextDocumentFragment::fromHtml(match.captured(1)).toPlainText().simplified(),
                 {}});
            continue;
        }
        const QString page = normalPage(QStringLiteral("html/") + match.captured(2));
        if (!hasPage(page)) continue;
        if (groups.isEmpty()) groups.append({QString(), {}});
        groups.last().pages.append({page, title(page)});
    }
    return groups;
}

QList<PageEntry> HelpBook::search(const QString& words) const {
    const QStringList wanted =
        words.toCaseFolded().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (wanted.isEmpty()) return {};
    struct Hit {
        PageEntry entry;
        int score;
    };
    QList<Hit> hits;
    for (auto it = pages_.cbegin(); it != pages_.cend(); ++it) {
        int score = 0;
        const QString foldedTitle = it->title.toCaseFolded();
        for (const QString& word : wanted) {
            const int count = occurrences(it->foldedText, word);
            if (count == 0) {
                score = 0;
                break;
            }
            score += count + 10 * occurrences(foldedTitle, word);
        }
        if (score > 0) hits.append({{it.key(), it->title}, score});
    }
    std::stable_sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) {
        return a.score != b.score ? a.score > b.score
                                  : a.entry.title.localeAwareCompare(b.entry.title) < 0;
    });
    QList<PageEntry> result;
    for (const Hit& hit : hits)
        result.append(hit.entry);
    return result;
}

QString missingPageText(const QString& page) {
    return QStringLiteral("Die Hilfeseite „%1“ wurde in der Hilfe zu Orvilex nicht gefunden.")
        .arg(page);
}

const HelpBook& book() {
    static const HelpBook pages;
    return pages;
}

} // namespace help
