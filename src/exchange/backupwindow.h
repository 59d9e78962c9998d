#pragma once
// The backup window: the user picks installed databases and a target folder,
// and each database is written to one backup archive there. Its creation at
// start-up also sets up the temporary folder and, when the general settings
// ask for it, scales the main window and the quiz window to the screen.
#include "exchange/backupscaling.h"

#include <QDialog>
#include <QStringList>
#include <functional>

class DriveFolderPicker;
class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;
class QTreeView;

class Tsichern : public QDialog {
    Q_OBJECT
  public:
    // Runs the creation handler: WorkDir, the general settings and the main
    // window must be in place.
    explicit Tsichern(QWidget* parent = nullptr);

    // Shows the window modally (through the modal seam) after FormShow.
    int execute();

    void FormCreate();
    void FormShow();
    void BitBtn1Click();
    void BitBtn2Click();
    void BneuClick();
    void eoClick();
    void SpeedButton1Click();
    void SpeedButton9Click();
    // Makes sure WorkDir + "/backup" exists and empties the temporary folder.
    void cleartemp();
    // Empties and removes the temporary folder (at shutdown).
    void removeTempFolder();

    // The target folder chosen in the folder tree, and choosing one.
    QString targetFolder() const;
    void setTargetFolder(const QString& folder);

    // Scales the main window (Form1) and the quiz window as worked out.
    void ScaleWindows(const StartupScaling& scaling);
    // Scales the quiz window when the start-up scaling asked for it, once;
    // called when both windows exist, whichever was created first.
    void ApplyQuizScaling(QWidget* quizWindow);

    // What the window sets off in the main window; both call Form1 unless
    // replaced.
    std::function<void()> disableDatabaseControls;
    std::function<void()> enableDatabaseControls;

    // Controls.
    QLabel* Label1;
    QListWidget* lbds;
    QStringList dbnames; // full path of the database on each line of lbds
    QLabel* Label2;
    QComboBox* drive;
    QTreeView* dlb1;
    QLabel* folderLabel; // the chosen folder under the tree
    QPushButton* Bneu;
    QPushButton* eo;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton9;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QFrame* Panel2;
    QLabel* lnam;
    QLabel* onamm;

    // The result text of the last run.
    QString ResultText;

  private:
    void buildLayout();
    void showProgressPanel(const QString& archiveName);
    DriveFolderPicker* picker_;
    // Desktop height the quiz window is scaled to; 0 when it is not scaled.
    int pendingQuizHeight_ = 0;
};

// Scales a window's fonts (its own and those its controls set themselves) and
// the fixed sizes of its controls by the factor.
void ScaleWidget(QWidget* widget, double factor);

extern Tsichern* sichern;
