#pragma once

struct DispatchContext;

// The two toggles of the order strip that narrow the open orders list, each mirrored
// by a check mark of the order menu. The list refresh reads them through the window's
// page state (onlyToHandOut, onlyCarried).
class OpenOrderFilters
{
public:
    enum class Toggle { ToHandOut, Carried };

    explicit OpenOrderFilters(DispatchContext& ctx) : m_ctx(ctx) {}

    // Flips the button, sets its menu check mark to match, closes the open orders list
    // and refreshes the lists. Throws DbError.
    void flip(Toggle which);

    bool pressed(Toggle which) const { return m_state[index(which)].pressed; }
    // Both items start checked while both buttons start raised; after a flip the
    // check mark follows its button.
    bool menuChecked(Toggle which) const { return m_state[index(which)].menuChecked; }
    bool onlyToHandOut() const { return pressed(Toggle::ToHandOut); }
    bool onlyCarried() const { return pressed(Toggle::Carried); }

private:
    struct State
    {
        bool pressed = false;
        bool menuChecked = true;
    };
    static int index(Toggle which) { return which == Toggle::ToHandOut ? 0 : 1; }

    DispatchContext& m_ctx;
    State m_state[2];
};
