#pragma once

// The drivers group of the main window as the data module uses it: whether the stand
// grid is the page shown, its repaint when the nearest stand moves, and the counts panel.
// The drivers panel implements it; tests use a recording one.
class DriversGroupView
{
public:
    virtual ~DriversGroupView() = default;

    virtual bool standGridShown() const = 0;
    virtual void repaintStandGrid() = 0;
    virtual void showStandCounters(int onAir, int gprs, int free, int freeAtStand) = 0;
};

// Shows nothing: the drivers group before the windows are wired.
class NullDriversGroupView : public DriversGroupView
{
public:
    bool standGridShown() const override { return false; }
    void repaintStandGrid() override {}
    void showStandCounters(int, int, int, int) override {}
};
