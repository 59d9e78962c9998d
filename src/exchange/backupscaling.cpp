#include "exchange/backupscaling.h"

#include <cmath>

namespace {

constexpr double HeightPerWidth = 0.7318;

int roundEven(double value) {
    return int(std::nearbyint(value));
}

} // namespace

StartupScaling ComputeStartupScaling(const QSize& primary, const QSize& desktop) {
    StartupScaling result;
    const int w = desktop.width();
    const int h = desktop.height();
    if (primary != QSize(DesignWidth, DesignHeight) && w > 0 && h > 0) {
        int width = w;
        int height = roundEven(w * HeightPerWidth);
        if (h < height) {
            width = roundEven(h / HeightPerWidth);
            height = h;
        }
        if (4 * height > 3 * width) width = roundEven(double(height) / DesignHeight * DesignWidth);
        result.scaleMain = true;
        result.mainSize = QSize(width, height);
        result.mainFactor = double(width) / DesignWidth;
    }
    if (primary.height() != DesignHeight && h > 0) {
        result.scaleQuiz = true;
        result.desktopHeight = h;
    }
    return result;
}

double QuizScaleFactor(int desktopHeight, int quizHeight) {
    const int reference = roundEven(quizHeight * 1.03);
    return reference > 0 ? double(desktopHeight) / reference : 1.0;
}
