// webdistance: a stand-in for the web distance service on 127.0.0.1, so that the order
// form's "Прорахувати" works on a desk without the internet (the demo) and in tests.
//   webdistance [--port N] [--path PATH] [--key KEY]
// --port 0 (the default) takes a free port. Once listening it prints
//   webdistance: listening on 127.0.0.1:<port>
// and then one line per request answered. It runs until it is stopped.
// The workstation reaches it with TARIF.INI's [SET_WEB_VIDSTAN]: SCHEME=http,
// HOST=127.0.0.1, PORT=<port>, PATH as given here, API_KEY as given here (or empty).
#include "WebDistanceStandIn.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

namespace {

int usage()
{
    QTextStream(stderr) << "usage: webdistance [--port N] [--path PATH] [--key KEY]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    WebDistanceStandIn::Options options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& name = args[i];
        if (i + 1 >= args.size())
            return usage();
        const QString& value = args[++i];
        if (name == QLatin1String("--port")) {
            bool ok = false;
            const uint port = value.toUInt(&ok);
            if (!ok || port > 65535)
                return usage();
            options.port = static_cast<quint16>(port);
        } else if (name == QLatin1String("--path")) {
            options.path = value.startsWith(QLatin1Char('/')) ? value : QLatin1Char('/') + value;
        } else if (name == QLatin1String("--key")) {
            options.apiKey = value;
        } else {
            return usage();
        }
    }

    WebDistanceStandIn standIn(options);
    QString error;
    if (!standIn.listen(error)) {
        QTextStream(stderr) << "webdistance: cannot listen on 127.0.0.1:" << options.port << ": " << error
                            << Qt::endl;
        return 1;
    }
    QTextStream(stdout) << "webdistance: listening on 127.0.0.1:" << standIn.port() << Qt::endl;
    return app.exec();
}
