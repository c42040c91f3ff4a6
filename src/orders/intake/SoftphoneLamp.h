#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// The strip's small round lamp: it shows the audio object's status notices (message
// 1027) and, in its hint, how long the call has lasted. Colours are named here rather
// than held as QColor so the logic stays in the core library, free of Qt Gui.
class SoftphoneLamp
{
public:
    enum class Colour { White, Yellow, Green, Red, Black };

    Colour colour() const { return m_colour; }
    // Toggles between the notice's colour and white, so a repeated notice blinks.
    void showAudioStatus(int status);

    static Colour colourOf(int status);
    // The status line's text for a notice, if it has one.
    static std::optional<QString> statusLineText(int status, int detail);
    // Hours only once an hour has passed, then minutes and seconds of two digits.
    static QString callDuration(qint64 elapsedMs);

private:
    Colour m_colour = Colour::White;
};
