#pragma once
// An angle in radians.

#include "platform/base/DT_Double.h"

class B_Vinkel : public DT_Double {
public:
    using DT_Double::DT_Double;
    const char* KlasseNavn() const override { return "B_Vinkel"; }

    // Sets the angle to a brought into [0, 2*pi) and returns it. A non-finite a is kept as is.
    double InitMellom0og2PI(double a);
};
