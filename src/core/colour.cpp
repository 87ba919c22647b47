#include "core/colour.h"

#include <cmath>

namespace quor {

int roundHalfEven(double v)
{
    return int(std::nearbyint(v)); // default rounding mode: to nearest, ties to even
}

} // namespace quor
