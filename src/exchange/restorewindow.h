#pragma once
// The restore window: backup files chosen in a folder are restored into the
// folder of the language folders: backup archives (".olx") and zipped backups
// of the older program (".olz", ".zip").
#include <QDialog>
#include <functional>

class DriveFolderPicker;
class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeView;

class Tzsichern : public QDialog {
    Q_OBJECT
  public:
    explicit Tzsichern(QWidget* parent = nullptr);

    // Shows the window modally (through the modal seam) after FormShow.
    int execute();

    void FormShow();
    void BitBtn1Click();
    void BitBtn2Click();

    // Restores one archive into the working folder and appends its result
    // line to `text`; `code` receives a failure code and stays as it was on
    // success.
    void neu_entzip(QString& text, int& code, const QString& displayName,
                    const QString& archivePath);
    // The same for an archive named on the command line: returns the result text.
    QString neu_entzip(const QString& archivePath);
    // Restores an old zipped backup and returns its result line. With
    // `openRestored` (the program was started with the backup) the restored
    // database is opened: its ".db", then its ".ol".
    QString entzip(const QString& archivePath, bool openRestored = false);

    // The folder whose backup files are listed, and choosing one.
    QString folder() const;
    void setFolder(const QString& folder);
    // Lists the backup files of the folder again.
    void refreshFiles();

    // Opens a database in the main window (Form1 unless replaced); used to
    // show the open database again after the restore replaced it.
    std::function<void(const QString&)> openDatabase;

    // Controls.
    QLabel* Label1;
    QComboBox* DriveComboBox1;
    QTreeView* dlb;
    QLabel* folderLabel; // the chosen folder under the tree
    QListWidget* flb;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QFrame* Panel1;
    QLabel* LZSA;

    // The result text of the last run.
    QString ResultText;

  private:
    void buildLayout();
    void showProgressPanel(const QString& name);
    void afterRestore(const QStringList& files);
    DriveFolderPicker* picker_;
};

extern Tzsichern* zsichern;
