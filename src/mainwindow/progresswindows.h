#pragma once
// The two progress windows. Long loops run on the GUI thread without a message
// loop, so every change repaints the window at once.
#include <QDialog>

class QLabel;
class QProgressBar;
struct WordCopyProgress;

// Progress of record-by-record work (search, sort, copying, export, import).
class TFortschritt : public QDialog {
    Q_OBJECT
  public:
    explicit TFortschritt(QWidget* parent = nullptr);

    // Sets the maximum, puts the bar on 0 and shows the window (not modal).
    void start(int steps);
    // Puts the bar on step `position` (1-based) and repaints it.
    void setPosition(int position);
    // One step further.
    void step();
    // Closes the window.
    void finish();

    QProgressBar* anzeige;
};

// Progress of preparing the words at the start or resume of a quiz.
class Tfosc : public QDialog {
    Q_OBJECT
  public:
    explicit Tfosc(QWidget* parent = nullptr);

    // Shows the window with an empty bar.
    void start();
    // Word `done` of `total` is prepared: the bar at 200·done/total and the
    // label at 100·done/total percent, each rounded halves to even.
    void setProgress(int done, int total);
    // Closes the window and resets it for the next quiz.
    void finish();

    QProgressBar* fs;
    QLabel* Label1;
    QLabel* Label2;
};

extern TFortschritt* Fortschritt;
extern Tfosc* fosc;

// Word-by-word work (copying, moving, sorting) reported in `Fortschritt`; does
// nothing while the program has no progress window.
WordCopyProgress ProgressInWindow();
