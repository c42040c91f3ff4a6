#include "platform/ProgramExit.h"

#include <QCoreApplication>

void EventLoopExit::exitProgram(int code)
{
    // Queued, so that it also ends a loop that has not started yet (the start-up runs
    // before it); it then leaves every event loop, a modal box's included.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [code] { QCoreApplication::exit(code); }, Qt::QueuedConnection);
}
