// Fitting the paper of a new drawing into its view window: the scale that shows the whole
// paper inside the view less a margin, centred on the paper's middle.
#pragma once

struct PaperFit {
    double offsetX = 0.0;
    double offsetY = 0.0;
    double scale = 0.0;
};

// Margin 60 with the scale test button, else 20. 1 with the fit; 0 when the paper has no
// size or the view no room, and the caller then keeps the view as it is.
int FitPaperToView(int clientWidth, int clientHeight, int withScaleTestButton, double paperWidth,
                   double paperHeight, PaperFit* fit);
