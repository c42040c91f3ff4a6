#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// A passage from one street onto another that the street graph forbids; the opposite
// direction stays allowed.
struct OneWayPassage
{
    int from = 0;
    int to = 0;
    bool operator==(const OneWayPassage& other) const = default;
};

// The entries of ODNOSTORONNI_VULICI as the settings window lists them: each entry names
// two street numbers, "[" a "]" … "[" b "]", with any text around them.
class OneWayPassages
{
public:
    // An entry that could not be read, for a warning in the settings window.
    struct Skipped
    {
        int entry = 0; // position in the list, from 0
        QString text;
        bool operator==(const Skipped& other) const = default;
    };

    // An entry that is not two bracketed whole numbers is skipped and reported; the
    // other entries still apply. An entry with a 0 is left out without a report, as a
    // way of switching a passage off.
    static OneWayPassages parse(const QStringList& entries);

    const std::vector<OneWayPassage>& passages() const { return m_passages; }
    const std::vector<Skipped>& skipped() const { return m_skipped; }
    // The warning lines for the skipped entries (empty when none was skipped).
    QStringList warnings() const;

private:
    std::vector<OneWayPassage> m_passages;
    std::vector<Skipped> m_skipped;
};
