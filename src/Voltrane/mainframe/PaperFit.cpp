#include "mainframe/PaperFit.h"

int FitPaperToView(int clientWidth, int clientHeight, int withScaleTestButton, double paperWidth,
                   double paperHeight, PaperFit* fit)
{
    if (fit == nullptr) return 0;
    // A drawing whose information block has no paper size yet must not divide by zero.
    if (!(paperWidth > 0.0) || !(paperHeight > 0.0)) return 0;
    int margin = withScaleTestButton ? 60 : 20;
    double usableWidth = static_cast<double>(clientWidth - margin);
    double usableHeight = static_cast<double>(clientHeight - margin);
    if (usableWidth <= 0.0 || usableHeight <= 0.0) return 0;
    double scaleX = usableWidth / paperWidth;
    double scaleY = usableHeight / paperHeight;
    fit->scale = scaleX < scaleY ? scaleX : scaleY;
    fit->offsetX = -paperWidth / 2.0;
    fit->offsetY = -paperHeight / 2.0;
    return 1;
}
