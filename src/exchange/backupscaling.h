#pragma once
// The optional scaling of the main window and the quiz window to the screen
// at start-up: the sizes and factors, without widgets.
#include <QSize>

// The main window's design size, which a factor of 1 keeps.
constexpr int DesignWidth = 800;
constexpr int DesignHeight = 600;

struct StartupScaling {
    bool scaleMain = false;
    QSize mainSize;          // the main window's new size
    double mainFactor = 1.0; // mainSize.width() / 800
    bool scaleQuiz = false;
    int desktopHeight = 0; // what the quiz window is scaled to
};

// `primary` is the primary screen's size, `desktop` the whole virtual desktop.
// The main window keeps a height of 0.7318 of its width within the desktop,
// and at most 4:3; nothing changes on an 800 × 600 screen.
StartupScaling ComputeStartupScaling(const QSize& primary, const QSize& desktop);

// The factor that scales a quiz window of this height to the desktop height.
double QuizScaleFactor(int desktopHeight, int quizHeight);
