#include "points/Cant.h"

#include <climits>
#include <cmath>

namespace rigel {

int WholeMillimetres(double metres) {
    if (std::isnan(metres))
        return 999;
    double mm = metres * 1000.0;
    mm += mm >= 0 ? 1e-6 : -1e-6;
    mm = std::trunc(mm);
    if (mm >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (mm <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(mm);
}

} // namespace rigel
