#include "mainwindow/OpenOrderFilters.h"

#include "dispatch/DispatchContext.h"
#include "dispatch/ListRefresh.h"
#include "foundation/TDANI.h"

void OpenOrderFilters::flip(Toggle which)
{
    State& state = m_state[index(which)];
    state.pressed = !state.pressed;
    state.menuChecked = state.pressed;
    if (m_ctx.dani.TABL_AKTIV_ZAMOVL.isOpen())
        m_ctx.dani.TABL_AKTIV_ZAMOVL.close();
    RefreshLists(m_ctx);
}
