#pragma once

#include "dispatch/DispatchContext.h"
#include "mainwindow/ClientCall.h"
#include "mainwindow/DriverAirCommands.h"
#include "mainwindow/DriverMarkCommands.h"
#include "mainwindow/DriverMessageDialog.h"
#include "mainwindow/DriversFilter.h"
#include "mainwindow/GprsActionDetails.h"
#include "mainwindow/HandOutCommands.h"
#include "mainwindow/ListSorting.h"
#include "mainwindow/OpenOrderFilters.h"
#include "mainwindow/RecordOpeners.h"

// The command controllers of the main window, made once with the window and living as
// long as it: the state they keep (check marks, toggles) is the window's state.
class MainWindowCommands
{
public:
    MainWindowCommands(DispatchContext& ctx, ICarCardStands& carCard, std::function<bool()> fromAllStands)
        : m_driverAir(ctx, carCard, std::move(fromAllStands)), m_messages(ctx),
          m_gprsDetails(ctx, m_messages), m_marks(ctx), m_driversFilter(ctx.dani), m_sorting(ctx),
          m_orderFilters(ctx), m_openers(ctx), m_clientCall(ctx), m_handOut(ctx)
    {
    }

    DriverAirCommands& driverAir() { return m_driverAir; }
    DriverMessageDialog& messages() { return m_messages; }
    GprsActionDetails& gprsDetails() { return m_gprsDetails; }
    DriverMarkCommands& marks() { return m_marks; }
    DriversFilter& driversFilter() { return m_driversFilter; }
    ListSorting& sorting() { return m_sorting; }
    OpenOrderFilters& orderFilters() { return m_orderFilters; }
    RecordOpeners& openers() { return m_openers; }
    ClientCall& clientCall() { return m_clientCall; }
    HandOutCommands& handOut() { return m_handOut; }

private:
    DriverAirCommands m_driverAir;
    DriverMessageDialog m_messages;
    GprsActionDetails m_gprsDetails; // offers m_messages: declared after it
    DriverMarkCommands m_marks;
    DriversFilter m_driversFilter;
    ListSorting m_sorting;
    OpenOrderFilters m_orderFilters;
    RecordOpeners m_openers;
    ClientCall m_clientCall;
    HandOutCommands m_handOut;
};
