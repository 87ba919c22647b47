// The program's own icon: a small painter's palette with a brush.
#pragma once

#include <QIcon>

namespace quor {

QIcon quorIcon();

} // namespace quor
