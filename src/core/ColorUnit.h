// Colour values as the settings store them: 0x00BBGGRR for an explicit colour, or a
// system-colour reference 0xFF0000nn (negative in the file) where nn is the index of a
// desktop colour (window text, highlight, info background...). System colours follow the
// desktop's palette, so they map to QPalette roles.
#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>
#include <optional>

namespace nb::ui {

// The palette role a system-colour index stands for; nullopt for an unknown index.
std::optional<QPalette::ColorRole> SystemColorRole(int index);
QColor ColorValueToQColor(int32_t value, const QPalette& palette);

} // namespace nb::ui
