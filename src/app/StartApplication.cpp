#include "app/StartApplication.h"

#include "app/ui/Workstation.h"

#include <QApplication>

int StartApplication(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The title of message boxes; the main window keeps its own caption.
    QApplication::setApplicationName(QStringLiteral("Диспетчер \"ZORvane - TAXI\" ver 3.2"));
    SystemClock clock;
    Workstation workstation(clock);
    workstation.start();
    return app.exec();
}
