#include "mainwindow/OrderPanels.h"

namespace OrderPanels {

int panelCount(int height)
{
    return height > 0 ? height / 160 : 0;
}

Status status(qint64 callsign, const QDateTime& orderTime, int leadMinutes, const QDateTime& now)
{
    if (callsign != 0)
        return Status::Carried;
    return now >= orderTime.addSecs(-60LL * leadMinutes) ? Status::Due : Status::Preliminary;
}

QString caption(Status status)
{
    switch (status) {
    case Status::Due:
        return QStringLiteral("!");
    case Status::Preliminary:
        return QStringLiteral("?");
    case Status::Carried:
        break;
    }
    return {};
}

} // namespace OrderPanels
