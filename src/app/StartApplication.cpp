#include "app/StartApplication.h"

#include "app/ui/Workstation.h"

#include "platform/StopSignals.h"
#include "platform/audio/FakeAudioSystem.h"

#include <QApplication>
#include <QSocketNotifier>

int StartApplication(int argc, char** argv)
{
    const int stopSignals = StopSignals::block(); // before any thread exists
    QApplication app(argc, argv);
    // Ended from outside: the workstation goes without asking, as the close refusal
    // only guards the dispatcher's own close.
    QSocketNotifier stop(stopSignals, QSocketNotifier::Read);
    stop.setEnabled(stopSignals >= 0);
    QObject::connect(&stop, &QSocketNotifier::activated, &app, [] { QApplication::quit(); });
    // The title of message boxes; the main window keeps its own caption.
    QApplication::setApplicationName(QStringLiteral("Диспетчер \"ZORvane - TAXI\" ver 3.2"));
    SystemClock clock;
    // --silent-headset: a headset that hears silence and plays into nothing, for a
    // demonstration on a computer without a sound card (the line still registers,
    // rings and answers).
    FakeAudioSystem silentHeadset;
    const bool silent = QApplication::arguments().contains(QStringLiteral("--silent-headset"));
    Workstation workstation(clock, nullptr, nullptr, nullptr, silent ? &silentHeadset : nullptr);
    workstation.start();
    return app.exec();
}
