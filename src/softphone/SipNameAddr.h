#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Pieces of the address header values (From, To, Contact, Route; RFC 3261 section 25.1)
// that the dialogs need: the URI, a header parameter, and lists of several values.
namespace SipNameAddr {

// The URI of a name-addr: everything between "<" and ">", URI parameters included;
// without angle brackets the bare URI up to the first header parameter.
QByteArray Uri(QByteArrayView value);

// A header parameter after the URI (";tag=", ";expires=", ";branch="): its value up
// to the next ";", "," or blank; empty when absent.
QByteArray Parameter(QByteArrayView value, QByteArrayView name);

// The comma-separated entries of header values such as Record-Route, in order; a
// comma inside "<...>" or a quoted display name does not split.
QList<QByteArray> Entries(const QList<QByteArray>& values);

} // namespace SipNameAddr
