#include "ColorUnit.h"

namespace nb::ui {

std::optional<QPalette::ColorRole> SystemColorRole(int index) {
    // The desktop colour indexes, in their documented numbering.
    switch (index) {
    case 1:  // desktop background
    case 12: // application workspace
    case 15: // button face
        return QPalette::Button;
    case 2:  // active caption
    case 13: // highlight
    case 26: // hot-tracked item
    case 27: // active caption gradient
    case 29: // menu highlight
        return QPalette::Highlight;
    case 0:  // scroll bar
    case 4:  // menu
    case 10: // active border
    case 11: // inactive border
    case 30: // menu bar
        return QPalette::Window;
    case 3:  // inactive caption
    case 28: // inactive caption gradient
    case 16: // button shadow
        return QPalette::Mid;
    case 5: // window
        return QPalette::Base;
    case 6:  // window frame
    case 21: // 3-D dark shadow
        return QPalette::Shadow;
    case 7:  // menu text
    case 8:  // window text
        return QPalette::WindowText;
    case 9:  // caption text
    case 14: // highlight text
        return QPalette::HighlightedText;
    case 17: // grey text
    case 19: // inactive caption text
        return QPalette::PlaceholderText;
    case 18: // button text
        return QPalette::ButtonText;
    case 20: // button highlight
        return QPalette::Light;
    case 22: // 3-D light
        return QPalette::Midlight;
    case 23: // info text
        return QPalette::ToolTipText;
    case 24: // info background
        return QPalette::ToolTipBase;
    default:
        return std::nullopt;
    }
}

QColor ColorValueToQColor(int32_t value, const QPalette& palette) {
    const auto u = static_cast<uint32_t>(value);
    if ((u >> 24) == 0xFF) {
        const auto role = SystemColorRole(static_cast<int>(u & 0xFF));
        return palette.color(role.value_or(QPalette::WindowText));
    }
    return QColor(static_cast<int>(u & 0xFF), static_cast<int>((u >> 8) & 0xFF),
                  static_cast<int>((u >> 16) & 0xFF));
}

} // namespace nb::ui
