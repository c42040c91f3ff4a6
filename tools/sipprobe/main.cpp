#include "ProbeOptions.h"
#include "SipProbe.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("sipprobe"));
    const std::optional<ProbeOptions> options = ProbeOptions::Parse(QCoreApplication::arguments());
    if (!options)
        return SipProbe::Failed;
    SipProbe probe(*options);
    QObject::connect(&probe, &SipProbe::Finished, &app, [&app, &probe] { app.exit(probe.Result()); });
    probe.Start();
    return app.exec();
}
