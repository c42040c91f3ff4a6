#pragma once

struct DispatchContext;

// The two expired-mark resets of the drivers menu and "Автоматичне обновлення
// поміток", which makes the minute tick run both instead of the dispatcher.
class DriverMarkCommands
{
public:
    explicit DriverMarkCommands(DispatchContext& ctx) : m_ctx(ctx) {}

    void resetJubileeMarks();
    void resetRefusalMarks();

    bool autoUpdate() const { return m_autoUpdate; }
    // Flips the check mark; returns the new state.
    bool toggleAutoUpdate();
    // The two reset items are in the menu only while the tick does not run them.
    bool resetItemsVisible() const { return !m_autoUpdate; }
    // What the minute tick runs while the automatic update is on: jubilee first.
    void resetBothMarks();

private:
    DispatchContext& m_ctx;
    bool m_autoUpdate = false;
};
