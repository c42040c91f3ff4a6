// demomap: draws the map of the city in a dispatch database and writes it where the
// workstation looks for it.
//   demomap <database> <base folder> [--name NAME] [--tile WIDTHxHEIGHT]
// The base folder is the workstation's executable folder: SETTING_KART.INI goes there
// and the tiles into its folder NAME (default: the city name of the dispatcher
// settings). Options --user and --password-file as for taxidb.
#include "DemoMapCity.h"
#include "DemoMapWriter.h"
#include "ToolCredentials.h"
#include "foundation/fb/DbError.h"
#include "foundation/fb/FbConnection.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QTextStream>

namespace {
int usage()
{
    QTextStream(stderr) << "usage: demomap <database> <base folder> [--name NAME] [--tile WIDTHxHEIGHT]\n"
                           "options: "
                        << ToolCredentials::kOptions << '\n';
    return 2;
}
} // namespace

int main(int argc, char** argv)
{
    // Fonts without a screen: the tiles are painted off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    ConnectionParameters params{{}, QStringLiteral("SYSDBA"), QStringLiteral("masterkey")};
    QString name;
    QSize tile(1000, 750);
    if (const QString refused = ToolCredentials::take(args, params); !refused.isEmpty()) {
        QTextStream(stderr) << "demomap: " << refused << '\n';
        return 2;
    }
    for (int i = 0; i < args.size();) {
        const QString option = args[i];
        if (!option.startsWith(QStringLiteral("--"))) {
            ++i;
            continue;
        }
        if (i + 1 >= args.size())
            return usage();
        const QString value = args[i + 1];
        if (option == QLatin1String("--name"))
            name = value;
        else if (option == QLatin1String("--tile")) {
            const auto match = QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)$")).match(value);
            if (!match.hasMatch())
                return usage();
            tile = QSize(match.captured(1).toInt(), match.captured(2).toInt());
        } else
            return usage();
        args.remove(i, 2);
    }
    if (args.size() != 2)
        return usage();
    params.database = args[0];
    try {
        FbConnection connection;
        connection.connect(params);
        const DemoMapCity city = DemoMapCity::read(connection);
        connection.disconnect();
        const QString folder = DemoMapWriter::folderName(name.isEmpty() ? city.cityName : name);
        const QString error = DemoMapWriter::write(city, args[1], folder, tile);
        if (!error.isEmpty()) {
            QTextStream(stderr) << "demomap: " << error << '\n';
            return 1;
        }
        QTextStream(stdout) << "demomap: " << city.points.size() << " points, " << city.streets.size()
                            << " streets drawn into " << args[1] << '/' << folder << '\n';
    } catch (const DbError& e) {
        QTextStream(stderr) << "demomap: " << e.message() << '\n';
        return 1;
    }
    return 0;
}
