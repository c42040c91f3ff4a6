#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class SettingsStore;

// One softphone operator of TARIF.INI (SET_SIP, "OPERATOR{n}"):
// OPER [name] ATOR<Dostup>..</Dostup><IpServer>..</IpServer><PortServer>..</PortServer>
// <IdOperator>..</IdOperator><PassServer>..</PassServer><DostupOutCall>..</DostupOutCall>
// Each value is the text between the first opening and the first closing tag; a missing
// tag gives empty text (and false for the two yes/no parts).
struct SipOperatorEntry
{
    QString dispatcher;  // full name as the dispatcher logs in
    bool access = false; // may use the softphone
    QString server;      // SIP server address
    QString port;        // as written; the caller decides what an unreadable port means
    QString extension;   // SIP user number
    QString password;
    bool outgoingCalls = false;

    static SipOperatorEntry parse(const QString& entry);
    // The first entry that belongs to the dispatcher (names compared exactly).
    static std::optional<SipOperatorEntry> findFor(const QStringList& entries, const QString& dispatcher);
    // The same over the entries the TARIF.INI load put into the store.
    static std::optional<SipOperatorEntry> findFor(const SettingsStore& store, const QString& dispatcher);
};
