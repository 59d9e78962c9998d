#pragma once
// The evaluation window "Auswertung der Abfrage": how a quiz went, as bar
// charts and a pie. Filled by the quiz window at the end of a quiz and by its
// "&Statistik" while the quiz runs.
#include "quiz/countbars.h"
#include "quiz/quizevaluation.h"

#include <QDialog>

class QAction;
class QChartView;
class QMenuBar;
class QPushButton;
class QTabWidget;
class QPieSeries;
class QStackedBarSeries;

class Tauswertung : public QDialog {
    Q_OBJECT
  public:
    explicit Tauswertung(QWidget* parent = nullptr);
    ~Tauswertung() override;

    // Replaces the points of the three charts.
    void fill(const EvaluationFigures& figures);
    // The points shown now, as fill() set them (empty before the first fill).
    const EvaluationFigures& shown() const { return shown_; }

    // Shows the window modally (through the modal seam).
    int showModal();

    void OKButtonClick();
    void Button1Click();
    void EndeClick();

    QMenuBar* MainMenu1;
    QAction* Ende; // "Auswertung &schließen"
    QTabWidget* TabbedNotebook1;
    QChartView* chart;   // bars "Richtig" / "Falsch"
    QChartView* Chart1;  // the same as a pie
    QChartView* DBChart; // bars per attempt, on the detailed page
    QStackedBarSeries* Series1;
    QPieSeries* BarSeries1;
    QStackedBarSeries* Series2;
    QPushButton* OKButton;
    QPushButton* Button1;

  private:
    EvaluationFigures shown_;
};

extern Tauswertung* auswertung;
