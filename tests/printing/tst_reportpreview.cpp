// The preview of a printout: pages added while it is shown, the page at the
// top as pages are turned, zoomed and scrolled.
#include "printing/reportpreview.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

namespace {

report::ReportPage pageSaying(const QString& text) {
    report::ReportPage page;
    report::ReportItem item;
    item.rect = QRectF(1000, 1000, 4000, 300);
    item.text = text;
    item.font = report::reportFont(QStringLiteral("Arial"), 12);
    page.items << item;
    return page;
}

} // namespace

class TestReportPreview : public QObject {
    Q_OBJECT

  private slots:
    void pagesComeWhileTheFirstIsShown() {
        report::ReportDocument document;
        report::ReportPreview preview;
        preview.resize(400, 500);
        preview.setZoomFactor(0.35);
        preview.setDocument(&document);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QCOMPARE(preview.pageCount(), 0);
        QCOMPARE(preview.currentPage(), 0);

        QSignalSpy changed(&preview, &report::ReportPreview::previewChanged);
        document.pages << pageSaying("eins");
        preview.pagesAdded();
        QCOMPARE(preview.pageCount(), 1);
        QCOMPARE(preview.currentPage(), 1);
        QVERIFY(!changed.isEmpty());
        for (int i = 2; i <= 30; ++i)
            document.pages << pageSaying(QString::number(i));
        preview.pagesAdded();
        QCOMPARE(preview.pageCount(), 30);
        QCOMPARE(preview.currentPage(), 1);
        // What is shown is painted without complaint.
        QVERIFY(!preview.viewport()->grab().isNull());
    }

    void theTurnedPageStaysAtTheTopAtAnyZoom() {
        report::ReportDocument document;
        for (int i = 1; i <= 12; ++i)
            document.pages << pageSaying(QString::number(i));
        report::ReportPreview preview;
        preview.resize(400, 500);
        preview.setDocument(&document);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        for (const double zoom : {0.1, 0.35, 1.0, 2.0}) {
            preview.setZoomFactor(zoom);
            preview.setCurrentPage(5);
            QCOMPARE(preview.currentPage(), 5);
            preview.setZoomFactor(zoom * 1.5);
            QCOMPARE(preview.currentPage(), 5);
        }
        preview.setCurrentPage(99);
        QCOMPARE(preview.currentPage(), 12);
        preview.setCurrentPage(0);
        QCOMPARE(preview.currentPage(), 1);

        // Scrolling by hand makes the page at the top the current one.
        preview.setZoomFactor(0.5);
        preview.setCurrentPage(1);
        QScrollBar* bar = preview.verticalScrollBar();
        bar->setValue(bar->value() + 3 * (bar->maximum() / 11));
        QVERIFY(preview.currentPage() >= 3 && preview.currentPage() <= 5);

        // Fitting changes the zoom to what the view holds.
        preview.fitInView();
        QVERIFY(preview.zoomFactor() > 0.05 && preview.zoomFactor() < 1.0);
        const double whole = preview.zoomFactor();
        preview.fitToWidth();
        QVERIFY(preview.zoomFactor() >= whole);
    }
};

QTEST_MAIN(TestReportPreview)
#include "tst_reportpreview.moc"
