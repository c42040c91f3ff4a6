#pragma once

#include <QString>
#include <optional>

// Background colours (0xRRGGBB) the main window's lists use to draw attention.
namespace ListColours {
inline constexpr quint32 kLime = 0x00FF00;
inline constexpr quint32 kYellow = 0xFFFF00;
inline constexpr quint32 kRed = 0xFF0000;

// A GPRS action by its whole text, compared exactly; none for any other text.
std::optional<quint32> gprsAction(const QString& text);
} // namespace ListColours
