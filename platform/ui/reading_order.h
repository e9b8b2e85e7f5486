// SPDX-License-Identifier: MIT
// The order in which screen readers present a dialog's controls.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "res/dialog_template.h"

namespace ui {

// The controls of a template in the order a reader meets them: template order, except that a
// group box comes where the first of itself and the controls it encloses stands, followed at
// once by those controls (each belongs to its innermost enclosing group box). Returns indexes
// into `controls`, each once. Stacking order is a matter of drawing and plays no part.
std::vector<std::size_t> ReadingOrder(std::span<const res::ControlTemplate> controls);

}  // namespace ui
