#pragma once

class DeskOpeners;
class QAction;
struct DispatcherRights;

// The buttons of the main window's bottom bar.
class BottomBarActions
{
public:
    explicit BottomBarActions(DeskOpeners& open);

    // Putting drivers on air from here needs the right to hand out orders.
    void applyRights(const DispatcherRights& rights);

private:
    QAction* m_putOnAir = nullptr;
};
