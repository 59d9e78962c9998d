// Printing from the print window: the printer set-up, and "&Drucken" onto the
// printer or, when the output is a file, into a PDF file the user names each
// time.
#include "printing/printwindow.h"

#include "database/currentdatabase.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/safefile.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>

namespace {

const QString PrintCaption = QStringLiteral("Drucken");

// Closes the busy cursor however printing ends.
struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::BusyCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// The whole PDF is made in memory and written through the checked routine:
// a disk that fills up is reported, and a file of that name stays as it was.
bool printIntoFile(const report::ReportDocument& document, const QString& path, QString* cause) {
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        if (!report::paintReport(document, writer)) return false;
    }
    return platform::writeWholeFile(path, pdf.data(), cause);
}

} // namespace

QString PrintFileProposal(const QString& folder, const QString& databaseName, bool cards) {
    QString name = databaseName.isEmpty() ? QStringLiteral("Vokabeln") : databaseName;
    if (cards) name += QStringLiteral(" - Karteikarten");
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

void Tdruck::SpeedButton1Click() {
    // Without a printer the dialog can only print into a file: it offers the
    // file the next printout would propose, not the home folder.
    if (printsToFile() && printer_->outputFileName().isEmpty())
        printer_->setOutputFileName(
            PrintFileProposal(printFolder(), CurrentDatabaseName, cardMode_));
    QPrintDialog dialog(printer_.get(), this);
    dialog.setWindowTitle(QStringLiteral("Druckeinstellungen"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    // Wide enough for a whole path in "Ausgabedatei".
    dialog.resize(dialog.sizeHint().expandedTo(QSize(600, 0)));
    if (platform::execModal(dialog) == QDialog::Accepted &&
        printer_->outputFormat() == QPrinter::PdfFormat)
        setupFile_ = printer_->outputFileName();
}

bool Tdruck::printsToFile() const {
    // Without a printer on the system the output can only be a file.
    return printer_->outputFormat() == QPrinter::PdfFormat || printer_->printerName().isEmpty();
}

QString Tdruck::printFolder() const {
    QString folder = printFolder_;
    if (folder.isEmpty() && !printer_->outputFileName().isEmpty())
        folder = QFileInfo(printer_->outputFileName()).absolutePath();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(folder).isDir()) folder = QDir::homePath();
    return folder;
}

QString Tdruck::choosePrintFile() {
    // A file named in the printer set-up since the last printout is proposed
    // as it is; otherwise one named after the database, in the last folder.
    QString proposal = setupFile_.isEmpty()
                           ? PrintFileProposal(printFolder(), CurrentDatabaseName, cardMode_)
                           : setupFile_;
    for (;;) {
        QFileDialog dialog(this, QStringLiteral("Drucken in Datei"));
        platform::prepareFileDialog(dialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        // The question about an existing file follows below, once.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setNameFilter(QStringLiteral("PDF-Dateien (*.pdf)"));
        dialog.setDefaultSuffix(QStringLiteral("pdf"));
        dialog.setDirectory(QFileInfo(proposal).absolutePath());
        dialog.selectFile(QFileInfo(proposal).fileName());
        const QString path = platform::chosenFile(dialog, platform::execModal(dialog));
        if (path.isEmpty()) return QString();
        proposal = path;
        if (QFileInfo(path).isDir()) continue;
        if (QFileInfo::exists(path) &&
            platform::showMessage(QStringLiteral("Die Datei „%1“ existiert bereits.\r\nSoll sie "
                                                 "überschrieben werden?")
                                      .arg(QDir::toNativeSeparators(path)),
                                  PrintCaption, platform::Icon::Question,
                                  platform::Buttons::YesNo) != platform::Answer::Yes)
            continue;
        printFolder_ = QFileInfo(path).absolutePath();
        setupFile_.clear();
        return path;
    }
}

void Tdruck::BitBtn3Click() {
    if (document_.pages.isEmpty()) {
        platform::showMessage(NothingToPrintText, PrintCaption, platform::Icon::Information);
        return;
    }
    // A file is named anew for every printout, so that nothing is written
    // silently over the last one.
    const bool toFile = printsToFile();
    if (toFile) {
        const QString path = choosePrintFile();
        if (path.isEmpty()) return;
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(path);
    }
    bool printed = false;
    QString cause;
    {
        BusyCursor busy;
        printed = toFile ? printIntoFile(document_, printer_->outputFileName(), &cause)
                         : report::paintReport(document_, *printer_);
    }
    if (!printed) {
        QString text = toFile ? QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden.")
                                    .arg(QDir::toNativeSeparators(printer_->outputFileName()))
                              : QStringLiteral("Der Drucker „%1“ konnte nicht angesprochen werden.")
                                    .arg(printer_->printerName());
        if (!cause.isEmpty()) text += QLatin1Char(' ') + cause;
        platform::showMessage(text, QStringLiteral("Fehler"), platform::Icon::Error);
    }
}
