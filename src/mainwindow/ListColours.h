#pragma once

#include <QString>
#include <optional>

// Background colours (0xRRGGBB) the main window's lists use to draw attention.
namespace ListColours {
inline constexpr quint32 kLime = 0x00FF00;
inline constexpr quint32 kYellow = 0xFFFF00;
inline constexpr quint32 kRed = 0xFF0000;
// Design colours of grid columns.
inline constexpr quint32 kMoneyGreen = 0xC0DCC0;
inline constexpr quint32 kSkyBlue = 0xA6CAF0;
inline constexpr quint32 kSilver = 0xC0C0C0;

// A GPRS action by its whole text, compared exactly; none for any other text.
std::optional<quint32> gprsAction(const QString& text);
} // namespace ListColours
