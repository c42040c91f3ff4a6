#include "mainwindow/DriverMarkCommands.h"

#include "dispatch/DispatchContext.h"
#include "dispatch/DriversOnAir.h"
#include "platform/Prompts.h"

namespace {

void tell(DispatchContext& ctx, const QString& error)
{
    if (!error.isEmpty())
        ctx.prompts.message(error);
}

} // namespace

void DriverMarkCommands::resetJubileeMarks()
{
    tell(m_ctx, ResetExpiredJubileeMarks(m_ctx));
}

void DriverMarkCommands::resetRefusalMarks()
{
    tell(m_ctx, ResetExpiredRefusalMarks(m_ctx));
}

bool DriverMarkCommands::toggleAutoUpdate()
{
    m_autoUpdate = !m_autoUpdate;
    return m_autoUpdate;
}

void DriverMarkCommands::resetBothMarks()
{
    resetJubileeMarks();
    resetRefusalMarks();
}
