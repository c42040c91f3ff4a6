// walkthrough: a newcomer's first shift on the demo desk, in pictures.
//   walkthrough <demo database> <picture folder>
// Works on a copy of the database in a folder of its own (see DemoDesk) and needs a real
// display (Xvfb will do): the pictures are what the dispatcher would see.
#include "DemoDesk.h"
#include "FirstShift.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Диспетчер \"ZORvane - TAXI\" ver 3.2"));
    const QStringList args = app.arguments().mid(1);
    QTextStream err(stderr);
    if (args.size() != 2) {
        err << "usage: walkthrough <demo database> <picture folder>\n";
        return 2;
    }
    if (!QDir().mkpath(args[1])) {
        err << "walkthrough: cannot create " << args[1] << '\n';
        return 1;
    }
    DemoDesk desk;
    if (const QString error = desk.prepare(args[0]); !error.isEmpty()) {
        err << "walkthrough: " << error << '\n';
        return 1;
    }
    FirstShift shift(desk.database(), args[1]);
    const int done = shift.run();
    QTextStream(stdout) << "walkthrough: " << done << " of " << shift.stepCount() << " steps done" << Qt::endl;
    return done == shift.stepCount() ? 0 : 1;
}
