#pragma once

#include "analysis/history.h"

namespace ai {

// The window "Courbes", as the core sees it: one curve at a time, a value per load step with
// its bar of one standard deviation either side, a gap where a step has no value.
class CurvesWindowPort {
public:
    virtual ~CurvesWindowPort() = default;

    // Shows the curve, and the window without blocking the main window (again if it was
    // hidden or closed).
    virtual void showCurve(const HistoryCurve& curve) = 0;
};

} // namespace ai
