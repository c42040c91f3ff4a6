#pragma once

#include <QStringList>

class TDANI;

// The pick-up addresses of a client's last executed orders, offered as route points.
class PreviousAddresses
{
public:
    static constexpr int kLimit = 15;

    // Walks the addresses newest first and takes one unless it already occurs within
    // the text of those taken; stops at 15.
    static QStringList pick(const QStringList& newestFirst);

    // For a client code (none for the unknown client 0): executed orders of the current
    // table and of the archive together, newest order number first, so the list is the
    // same whether or not the server side has archived the latest ones yet. Throws DbError.
    static QStringList forClient(TDANI& dani, qint64 clientCode);
};
