// Colours as words for assistive tools: a common Chinese name where one
// fits exactly, and always the three components.
#pragma once

#include "core/colour.h"

#include <QString>

namespace quor {

// "红色 (255, 0, 0)", or "(255, 224, 192)" for a colour without a name.
QString colourName(Colour c);

} // namespace quor
