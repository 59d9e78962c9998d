#include "specialcharwindow.h"

#include "database/charsets.h"
#include "database/databaseoptions.h"
#include "engine/query.h"
#include "mainwindow.h"
#include "platform/codec.h"
#include "platform/messagebox.h"
#include "specialchars.h"
#include "typingaids.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <utility>

Teinf* einf = nullptr;

namespace {
constexpr int StoredRole = Qt::UserRole;

QToolButton* helpButton(QWidget* parent, const QString& name, const QString& text) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::NoFocus);
    b->setText(QStringLiteral("?"));
    b->setFixedSize(20, 20);
    QObject::connect(b, &QToolButton::clicked, b, [text] {
        platform::showMessage(text, QStringLiteral("Information"), platform::Icon::Information,
                              platform::Buttons::Ok);
    });
    return b;
}

int userGridHeight(int g, int rows) { return int(std::nearbyint(g * 1.205 * 5 * rows)); }
} // namespace

Teinf::Teinf(QWidget* parent) : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("einf"));
    setWindowTitle(QStringLiteral("Sonderzeichen"));
    setModal(false);

    PageControl1 = new QTabWidget(this);
    TabSheet1 = new QWidget;
    TabSheet2 = new QWidget;
    PageControl1->addTab(TabSheet1, QStringLiteral("&Benutzertabelle"));
    PageControl1->addTab(TabSheet2, QStringLiteral("&Vollständige"));
    SpeedButton2 = helpButton(PageControl1, QStringLiteral("SpeedButton2"),
                              QStringLiteral("Tipp: Die ersten Zeichen der Benutzerzeichentabelle "
                                             "können Sie auch mit Strg+1, Strg+2, usw. einfügen"));
    PageControl1->setCornerWidget(SpeedButton2, Qt::TopRightCorner);

    SG = new QTableWidget(TabSheet1);
    sg2 = new QTableWidget(TabSheet2);
    sgall = new QTableWidget(TabSheet2);
    styleGrid(SG, UserCharColumns, 5);
    styleGrid(sg2, UserCharColumns, 5);
    styleGrid(sgall, 19, 12);
    SG->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgall->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sg2->setEditTriggers(QAbstractItemView::NoEditTriggers);

    Panel1 = new QWidget(TabSheet2);
    Label1 = new QLabel(QStringLiteral("Beim Anklicken von Tabelle rechts Zeichen einfügen:"), Panel1);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->setWordWrap(true);
    ben = new QRadioButton(QStringLiteral("in Benutzertabelle (oben)"), Panel1);
    dat = new QRadioButton(QStringLiteral("in Vokabel"), Panel1);
    ben->setChecked(true);
    SpeedButton28 = helpButton(Panel1, QStringLiteral("SpeedButton28"),
                               QStringLiteral("Das angeklickte Zeichen wird in das (vorher) markierte "
                                              "Feld der Tabelle oben eingefügt."));
    SpeedButton1 = helpButton(Panel1, QStringLiteral("SpeedButton1"),
                              QStringLiteral("In das Feld der Vokabeldatenbank (z. B. Fremdwort), das "
                                             "gerade bearbeitet wird, wird das gewählte Zeichen eingefügt."));
    BitBtn1 = new QPushButton(QStringLiteral("&OK"), TabSheet2);
    BitBtn2 = new QPushButton(QStringLiteral("&Abbruch"), TabSheet2);

    connect(SG, &QTableWidget::cellClicked, this, [this] { SGMouseUp(); });
    connect(sgall, &QTableWidget::cellClicked, this, [this] { sgallMouseUp(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] { PageControl1Change(); });

    SpecialCharHandlers.windowShown = [this] { return isVisible(); };
    SpecialCharHandlers.userCell = [this](int c, int r) { return userCell(c, r); };
    SpecialCharHandlers.deliver = [this] { deliver(); };
    FormCreate();
}

void Teinf::styleGrid(QTableWidget* grid, int columns, int rows) {
    grid->setColumnCount(columns);
    grid->setRowCount(rows);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    // The headers' default minimum would keep the small cells wide.
    grid->horizontalHeader()->setMinimumSectionSize(4);
    grid->verticalHeader()->setMinimumSectionSize(4);
    grid->setFrameShape(QFrame::Box);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
}

void Teinf::setCell(QTableWidget* grid, int column, int row, const QString& stored) {
    if (column >= grid->columnCount() || row >= grid->rowCount()) return;
    auto* item = grid->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        item->setTextAlignment(Qt::AlignCenter);
        grid->setItem(row, column, item);
    }
    item->setData(StoredRole, stored);
    item->setText(platform::codec::toDisplay(stored, WordFontCharset()));
}

QString Teinf::cell(const QTableWidget* grid, int column, int row) const {
    const auto* item = grid->item(row, column);
    return item ? item->data(StoredRole).toString() : QString();
}

QString Teinf::userCell(int column, int row) const { return cell(SG, column, row); }
QString Teinf::editCell(int column, int row) const { return cell(sg2, column, row); }

int Teinf::sizeFactor() const {
    const int g = GeneralOptions.charTableSize();
    return g == 0 ? 5 : g;
}

void Teinf::FormCreate() {
    // Edits still open in the window belong to the table they were made in,
    // which is about to be replaced by another language's.
    if (created_) writeUserTable(true);
    tableFile_ = CharTableFile();
    resize(190, 225);
    CharTableOptions.load(tableFile_);
    const int rows = UserCharRowCount();
    SG->setRowCount(rows);
    sg2->setRowCount(rows);
    for (int code = 33; code <= 255; ++code) {
        const int n = code - 32; // code 33 stands in column 1 of row 0
        setCell(sgall, n % 19, n / 19, QString(platform::codec::storedChar(uchar(code))));
    }
    for (int c = 0; c < UserCharColumns; ++c)
        for (int r = 0; r < rows; ++r) {
            setCell(SG, c, r, CharTableOptions.UserCharTable[c][r]);
            setCell(sg2, c, r, CharTableOptions.UserCharTable[c][r]);
        }
    created_ = true;
    PageControl1Change();
}

void Teinf::PageControl1Change() {
    if (!created_) return;
    const int rows = UserCharRowCount();
    SG->setRowCount(rows);
    sg2->setRowCount(rows);
    const int g = sizeFactor();
    const int gridH = userGridHeight(g, rows);
    const QFont font = WordFontFor(DatabaseOptions.TableWordFont, DatabaseOptions.TableWordFontSize,
                                   DatabaseOptions.TableWordFontBold, WordFontCharset())
                           .font;
    for (QTableWidget* grid : {SG, sg2, sgall}) {
        grid->setFont(font);
        for (int c = 0; c < grid->columnCount(); ++c) grid->setColumnWidth(c, 5 * g);
        for (int r = 0; r < grid->rowCount(); ++r) grid->setRowHeight(r, 6 * g);
    }
    // Edits made on the second page appear on the first.
    for (int c = 0; c < UserCharColumns; ++c)
        for (int r = 0; r < rows; ++r) setCell(SG, c, r, editCell(c, r));

    SG->setGeometry(4, 4, 30 * g + 6, gridH + 5);
    sg2->setGeometry(4, 4, 30 * g + 10, gridH + 9);
    const int panelWidth = layoutChoicePanel(std::max(30 * g + 10, 170));
    // The complete table stands right of the panel, further right (and the
    // window wider) when the panel's texts need more room in this font.
    sgall->setGeometry(std::max({30 * g + 26, 186, 4 + panelWidth + 6}), 4, 95 * g + 19,
                       72 * g + 12);

    const int tabBar = PageControl1->tabBar()->sizeHint().height();
    int w, h;
    if (PageControl1->currentIndex() == 1) {
        w = 125 * g + 73;
        if (w < 698) w = 95 * g + 223;
        w = std::max(w, sgall->geometry().right() + 19);
        h = std::max(72 * g + 78, 340);
        h = std::max(h, sg2->height() + 106 + Panel1->height());
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QPoint at = pos();
        if (at.x() > screen.width() - 665) at.setX(screen.width() - 665);
        if (at.y() > screen.height() - 376) at.setY(screen.height() - 376);
        if (at != pos()) move(at);
    } else {
        // Narrow, but never so narrow that the tab captions scroll out of sight.
        w = std::max(30 * g + 40, PageControl1->tabBar()->sizeHint().width() +
                                      SpeedButton2->width() + 12);
        h = gridH + 75;
    }
    setFixedSize(w, h);
    PageControl1->setGeometry(0, 0, w, h);
    const int pageH = h - tabBar - 6;
    BitBtn1->setGeometry(w - 190, pageH - 36, 85, 28);
    BitBtn2->setGeometry(w - 100, pageH - 36, 85, 28);
}

int Teinf::layoutChoicePanel(int minimumWidth) {
    const int help = SpeedButton28->width();
    const int choice = std::max(ben->sizeHint().width(), dat->sizeHint().width());
    const int width = std::max(minimumWidth, choice + 4 + help);
    // The bold label wraps over as many lines as it needs.
    const int labelHeight = Label1->heightForWidth(width);
    Label1->setGeometry(0, 0, width, labelHeight);
    const int row = std::max(ben->sizeHint().height(), help);
    int y = labelHeight + 6;
    for (auto [radio, button] : {std::pair{ben, SpeedButton28}, std::pair{dat, SpeedButton1}}) {
        radio->setGeometry(0, y, width - help - 4, row);
        button->move(width - help, y + (row - help) / 2);
        y += row + 4;
    }
    Panel1->setGeometry(4, sg2->geometry().bottom() + 12, width, y);
    return width;
}

void Teinf::SetWordFontCharset() {
    for (QTableWidget* grid : {SG, sg2, sgall})
        for (int r = 0; r < grid->rowCount(); ++r)
            for (int c = 0; c < grid->columnCount(); ++c)
                if (QTableWidgetItem* item = grid->item(r, c))
                    item->setText(platform::codec::toDisplay(item->data(StoredRole).toString(),
                                                             WordFontCharset()));
    PageControl1Change();
}

void Teinf::Sonderzeicheneinfgen1Click() {
    PageControl1->setCurrentIndex(1);
    dat->setChecked(true);
    PageControl1Change();
    show();
    raise();
}

void Teinf::HufigeSonderzeichen1Click() {
    PageControl1->setCurrentIndex(0);
    ben->setChecked(true);
    PageControl1Change();
    show();
    raise();
}

void Teinf::deliver() {
    if (Form1 && Form1->isVisible()) {
        Form1->activateWindow();
        InsertPendingCharInMainWindow();
    }
    if (hooks.quizVisible && hooks.quizVisible() && hooks.quizInsert) hooks.quizInsert();
    CharInsertPending = false;
}

void Teinf::SGMouseUp() {
    const QString chosen = cell(SG, SG->currentColumn(), SG->currentRow());
    if (chosen.isEmpty()) return; // an empty cell would delete the field's selection
    CharToInsert = chosen;
    CharInsertPending = true;
    deliver();
}

void Teinf::sgallMouseUp() {
    const QString chosen = cell(sgall, sgall->currentColumn(), sgall->currentRow());
    if (chosen.isEmpty()) return;
    if (dat->isChecked()) {
        CharToInsert = chosen;
        CharInsertPending = true;
        close();
        deliver();
    } else if (sg2->currentRow() >= 0 && sg2->currentColumn() >= 0) {
        setCell(sg2, sg2->currentColumn(), sg2->currentRow(), chosen);
        setCell(SG, sg2->currentColumn(), sg2->currentRow(), chosen);
    }
}

void Teinf::BitBtn1Click() {
    if (PageControl1->currentIndex() == 0) {
        SGMouseUp();
    } else {
        sgallMouseUp();
        close();
    }
}

void Teinf::BitBtn2Click() { close(); }

void Teinf::FormClose() {
    writeUserTable(false);
}

void Teinf::writeUserTable(bool onlyWhenEdited) {
    const int rows = UserCharRowCount();
    UserCharCells cells;
    bool edited = false;
    for (int c = 0; c < UserCharColumns; ++c)
        for (int r = 0; r < rows; ++r) {
            cells[c][r] = editCell(c, r);
            edited = edited || cells[c][r] != CharTableOptions.UserCharTable[c][r];
        }
    if (onlyWhenEdited && !edited) return;
    // Into the file the table was read from, whichever language's table
    // the settings name by now.
    if (WriteUserCharTable(tableFile_, cells, rows)) CharTableOptions.load(tableFile_);
}

void Teinf::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (hooks.takeCharWindowWasOpen && hooks.takeCharWindowWasOpen()) {
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    if (PageControl1->currentIndex() == 1) sgall->setFocus();
    else SG->setFocus();
}

void Teinf::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) FormClose();
}

void InsertPendingCharInMainWindow() {
    if (!CharInsertPending || !Form1) return;
    const bool open = Form1->SpeedDruck && Form1->SpeedDruck->isEnabled();
    if (Form1->Tab1->currentIndex() == 0 && open) {
        QWidget* focused = Form1->focusWidget();
        const QList<QWidget*> fields = {Form1->DBFremdwort,     Form1->DBGenetiv,
                                        Form1->DBPraeFut,       Form1->DBPerAor,
                                        Form1->DBPerfekt,       Form1->DBPerfektPassiv,
                                        Form1->DBAoristPassiv,  Form1->DBFuturPassiv};
        if (focused && fields.contains(focused)) {
            if (Form1->Query && Form1->Query->state() == engine::Query::State::Browse &&
                Form1->Query->canModify())
                Form1->Query->edit();
            InsertStoredText(focused, CharToInsert, WordFontCharset());
        }
    }
    CharInsertPending = false;
}
