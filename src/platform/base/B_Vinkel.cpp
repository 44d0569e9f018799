#include "platform/base/B_Vinkel.h"

#include <cmath>
#include <numbers>

double B_Vinkel::InitMellom0og2PI(double a) {
    constexpr double twoPi = 2.0 * std::numbers::pi;
    if (std::isfinite(a)) {
        a = std::fmod(a, twoPi);
        if (a < 0.0)
            a += twoPi;
        if (a >= twoPi) // -1e-17 + 2*pi rounds to 2*pi
            a = 0.0;
    }
    Init(a);
    return a;
}
