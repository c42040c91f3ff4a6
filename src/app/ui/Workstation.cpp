#include "app/ui/Workstation.h"

#include "citymap/ui/TForm8.h"
#include "citymap/ui/TForm9.h"
#include "fleet/ui/TForm5.h"
#include "mainwindow/ui/DriversPanel.h"
#include "mainwindow/ui/HotOrdersPage.h"
#include "mainwindow/ui/TForm10.h"
#include "mainwindow/ui/TForm13.h"
#include "orders/intake/ui/SoftphoneOptions.h"
#include "orders/intake/ui/SoftphoneStrip.h"
#include "orders/intake/ui/TForm6.h"
#include "orders/intake/ui/TForm7.h"
#include "orders/maintenance/ui/TForm11.h"
#include "platform/BaseFolder.h"
#include "platform/ProgramExit.h"
#include "platform/audio/qt/QtAudioSystem.h"
#include "platform/ui/DesktopShellOpen.h"
#include "platform/ui/QtPrompts.h"

namespace {
IPrompts* promptsFor(IPrompts* given, std::unique_ptr<IPrompts>& own, QWidget* parent)
{
    if (given)
        return given;
    own = std::make_unique<QtPrompts>(parent);
    return own.get();
}

IProgramExit* exitFor(IProgramExit* given, std::unique_ptr<IProgramExit>& own)
{
    if (given)
        return given;
    own = std::make_unique<EventLoopExit>();
    return own.get();
}

IShellOpen* shellFor(IShellOpen* given, std::unique_ptr<IShellOpen>& own)
{
    if (given)
        return given;
    own = std::make_unique<DesktopShellOpen>();
    return own.get();
}
AudioSystem* audioFor(AudioSystem* given, std::unique_ptr<AudioSystem>& own)
{
    if (given)
        return given;
    own = std::make_unique<QtAudioSystem>();
    return own.get();
}
} // namespace

// The members are created in declaration order, which is the windows' fixed order: the
// settings window reads SETSERVER.INI when it is created, and the data module, created
// later, connects with what it holds. The wiring of each subsystem comes last, once
// everything it ties together exists.
Workstation::Workstation(IClock& clockToUse, IPrompts* givenPrompts, IProgramExit* givenExit,
                         IShellOpen* givenShell, AudioSystem* givenAudio)
    : prompts(*promptsFor(givenPrompts, ownPrompts, &form1)), programExit(*exitFor(givenExit, ownExit)),
      shellOpen(*shellFor(givenShell, ownShell)), audio(*audioFor(givenAudio, ownAudio)), form4(settings),
      form5(std::make_unique<TForm5>()), form6(std::make_unique<TForm6>()), form7(std::make_unique<TForm7>()),
      form8(std::make_unique<TForm8>()), form9(std::make_unique<TForm9>()),
      form11(std::make_unique<TForm11>()), dani(settings, prompts), form13(std::make_unique<TForm13>()),
      clock(clockToUse), map(dani, clock), dispatch{dani, settings, prompts, clock, map, {}, {}},
      orderForm(dispatch), softphone(dispatch, orderForm, audio, BaseFolder::path()),
      shiftChange(dispatch, map, softphone), carCard(dispatch),
      commands(dispatch, carCard, [this] { return form13->fromAllStands(); }), dispatcherMessages(dispatch),
      mapWindow(dispatch, map, *form8, shellOpen), dataModuleWiring(dispatch),
      webRoute(dispatch, orderForm.routeEntry(), orderForm.order(), shellOpen),
      maintenance(dispatch, orderForm), blackList(dispatch), form10(std::make_unique<TForm10>(blackList)),
      mainWindow({form1, form3, form4, form12, form2, *form5, *form8, *form10, *form11, *form13},
                 {dispatch, shiftChange, commands, dataModuleWiring.nearestStand(), programExit, orderForm,
                  mapWindow, maintenance, carCard, softphone}),
      orderFormWiring(form2, *form6, *form7, orderForm, clock, mainWindow.timer(), mapWindow, webRoute,
                      *form9),
      softphoneWiring(softphone, orderForm, form2, prompts)
{
    form1.setSoftphoneStrip(softphoneWiring.strip(), softphoneWiring.options());
    form5->setController(carCard);
    carCard.setMapWindow(mapWindow);
    form8->setController(mapWindow);
    form11->setController(maintenance);
    form12.setMessages(dispatcherMessages);
    form9->setController(webRoute);
    dani.setView(&form1);
    dani.setHotOrdersView(form1.hotPage());
    dani.setDriversGroupView(form1.driversPanel());
    dani.ConnectDatabase();
}

Workstation::~Workstation() = default;

void Workstation::start()
{
    form1.show();
    if (!dani.BAZA.isConnected()) {
        programExit.exitProgram(1);
        return;
    }
    mainWindow.openShiftChange();
}
