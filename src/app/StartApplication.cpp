#include "app/StartApplication.h"

#include "citymap/ui/TForm8.h"
#include "citymap/ui/TForm9.h"
#include "fleet/ui/TForm5.h"
#include "dispatch/DataModuleWiring.h"
#include "dispatch/DispatchContext.h"
#include "foundation/SettingsStore.h"
#include "foundation/TDANI.h"
#include "foundation/ui/TForm4.h"
#include "mainwindow/ui/TForm1.h"
#include "mainwindow/ui/TForm10.h"
#include "mainwindow/ui/TForm12.h"
#include "mainwindow/ui/TForm13.h"
#include "mainwindow/ui/TForm3.h"
#include "orders/intake/ui/TForm2.h"
#include "orders/intake/ui/TForm6.h"
#include "orders/intake/ui/TForm7.h"
#include "orders/maintenance/ui/TForm11.h"
#include "platform/Clock.h"
#include "platform/ui/QtPrompts.h"

#include <QApplication>

int StartApplication(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The title of message boxes; the main window keeps its own caption.
    QApplication::setApplicationName(QStringLiteral("Диспетчер \"ZORvane - TAXI\" ver 3.2"));

    SettingsStore settings;
    // The order matters: the settings window reads SETSERVER.INI when it is created,
    // and the data module, created later, connects with what it holds.
    TForm1 form1;
    QtPrompts prompts(&form1);
    TForm2 form2;
    TForm3 form3;
    TForm4 form4(settings);
    TForm5 form5;
    TForm6 form6;
    TForm7 form7;
    TForm8 form8;
    TForm9 form9;
    TForm10 form10;
    TForm11 form11;
    TDANI dani(settings, prompts);
    dani.setView(&form1);
    dani.ConnectDatabase();
    SystemClock clock;
    DispatchContext dispatch{dani, settings, prompts, clock, {}, false, {}, {}, {}};
    WireDispatchIntoDataModule(dispatch);
    TForm12 form12;
    TForm13 form13;
    form1.setMessagesForm(&form12);

    // The main window is disabled while the settings window is shown.
    QObject::connect(&form1, &TForm1::settingsRequested, &form4, [&] {
        form1.setEnabled(false);
        form4.show();
    });
    QObject::connect(&form4, &FormShell::closed, &form1, [&] { form1.setEnabled(true); });
    QObject::connect(&form1, &TForm1::shiftChangeRequested, &form3, &QWidget::show);

    form1.show();
    return app.exec();
}
