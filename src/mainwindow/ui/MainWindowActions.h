#pragma once

#include "mainwindow/HandOutCommands.h"
#include "mainwindow/HotKeyDispatch.h"
#include "mainwindow/ui/BottomBarActions.h"
#include "mainwindow/ui/DeskOpeners.h"
#include "mainwindow/ui/DriverActions.h"
#include "mainwindow/ui/ExecutedActions.h"
#include "mainwindow/ui/OrderActions.h"
#include "mainwindow/ui/OrderRecordPanels.h"

// Everything the dispatcher can do from the main window besides its lists: the tool
// strips, the popup menus, the bottom bar, the hot keys, the title clicks and the
// double-clicks on the grids. Made once the window's lists are attached.
class MainWindowActions
{
public:
    MainWindowActions(DispatchContext& ctx, MainWindowCommands& commands, TForm1& form, DeskWindows windows,
                      OrderFormController& orderForm, MapWindowController& cityMap,
                      OrderMaintenanceController& maintenance, CarCard& carCard, SoftphonePanel& softphone);

    void applyRights(const DispatcherRights& rights) { m_bottomBar.applyRights(rights); }
    HotKeyDispatch& hotKeys() { return m_hotKeys; }
    OrderActions& orders() { return m_orders; }
    DriverActions& drivers() { return m_drivers; }
    ExecutedActions& executed() { return m_executed; }

private:
    void sort(int model, const QString& field);
    void doubleClicked(int model);
    void panelDoubleClicked(OrderRecordPanels::Spot spot, const QString& value);
    void enterPressed(int model);
    // The order views' page and the chosen hot order, for the hand-out commands.
    HandOutCommands::Shown shown() const;
    // Runs a command; a database failure is shown, never thrown out of a slot.
    void guarded(const std::function<void()>& command);

    DeskOpeners m_open;
    HotKeyDispatch m_hotKeys;
    OrderActions m_orders;
    DriverActions m_drivers;
    ExecutedActions m_executed;
    BottomBarActions m_bottomBar;
};
