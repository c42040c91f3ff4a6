#include "mainwindow/HotKeyDispatch.h"

#include "dispatch/DispatchContext.h"
#include "foundation/fb/DbError.h"
#include "mainwindow/MainWindowCommands.h"
#include "platform/Prompts.h"

HotKeyDispatch::HotKeyDispatch(DispatchContext& ctx, MainWindowCommands& commands, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_commands(commands)
{
}

void HotKeyDispatch::press(HotKey key, const HotKeyState& state)
{
    try {
        run(resolveHotKey(key, state), state);
    } catch (const DbError& e) {
        m_ctx.prompts.message(e.message());
    }
}

void HotKeyDispatch::run(const HotKeyAction& action, const HotKeyState& state)
{
    switch (action.command) {
    case HotKeyCommand::ShowMessage:
        m_ctx.prompts.message(action.message);
        break;
    case HotKeyCommand::PutDriverOnAir: {
        const auto outcome = m_commands.driverAir().putDriverOnAir();
        if (outcome.carCard)
            emit carCardRequested();
        else if (outcome.blackListed)
            emit blackListRequested();
        break;
    }
    case HotKeyCommand::TakeDriverOffAir:
        m_commands.driverAir().takeCurrentDriverOffAir();
        break;
    case HotKeyCommand::TakeStandDriverOffAir:
        m_commands.driverAir().takeStandDriverOffAir();
        break;
    case HotKeyCommand::SendMessageToDriver:
        m_commands.messages().sendToCurrentDriver();
        break;
    case HotKeyCommand::RemoveDriverFromStand:
        m_commands.driverAir().removeCurrentDriverFromStand();
        break;
    case HotKeyCommand::RemoveStandDriverFromStand:
        m_commands.driverAir().removeDriverFromSelectedStand();
        break;
    case HotKeyCommand::NewUncodedOrder:
        emit orderFormRequested(OrderFormOpening::UncodedOrder);
        break;
    case HotKeyCommand::CloseCurrentOrder:
        requestMaintenance(OrderMaintenanceRequest::Variant::CloseOne, state);
        break;
    case HotKeyCommand::CloseOrderGroup:
        requestMaintenance(OrderMaintenanceRequest::Variant::CloseGroup, state);
        break;
    case HotKeyCommand::NextOrdersPage:
        emit nextOrdersPageRequested();
        break;
    case HotKeyCommand::None:
        break;
    }
}

void HotKeyDispatch::requestMaintenance(OrderMaintenanceRequest::Variant variant, const HotKeyState& state)
{
    if (const auto request =
            OrderMaintenanceRequest::forCurrentRow(variant, m_ctx.dani, state.hotOrdersPageShown))
        emit maintenanceRequested(*request);
}
