#pragma once

class TDANI;

// The three filter items of the drivers menu; exactly one is checked.
class DriversFilter
{
public:
    enum class Kind { All, Free, FreeAtStands };

    explicit DriversFilter(TDANI& dani) : m_dani(dani) {}

    // Sets the list's filter clause and reopens the list at once. Throws DbError.
    void choose(Kind kind);
    Kind checked() const { return m_checked; }

    static const char* clause(Kind kind);

private:
    TDANI& m_dani;
    Kind m_checked = Kind::All;
};
