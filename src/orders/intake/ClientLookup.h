#pragma once

#include "foundation/fb/FbDataSet.h"
#include "foundation/fb/FbTransaction.h"
#include "orders/intake/ClientCard.h"

#include <QString>
#include <optional>

class IPrompts;
class TDANI;

// The client list of the order form: "SELECT KLIENT.* FROM  KLIENT", the filter line and
// the ordering line. The filter and ordering are the data module's list state
// (TDANI::clientsFilter, TDANI::clientsSort) and so persist between showings; every
// value goes in through the literal helpers. The list runs in a transaction of its own,
// committed before and after each query.
class ClientLookup
{
public:
    ClientLookup(TDANI& dani, IPrompts& prompts);

    // Filters. None of them re-queries.
    void filterByCode(qint64 code);
    // A code box's text: what is not a number searches for "00000".
    void filterByCodeText(const QString& typed);
    void filterUnknownClient() { filterByCode(0); }
    void filterByName(const QString& text);
    void filterByAddress(const QString& text);
    // A number of digits, "+", "*" and "#" is looked up among the telephones' suffixes
    // (KLIENT_TELEFON_SUFIKS, kept by a trigger), which finds what "LIKE '%number%'" finds
    // without reading every client; any other text, or a database without that table,
    // is searched with LIKE.
    void filterByTelephone(const QString& text);
    // The number of an incoming call, as it came from the network: only its digits,
    // "+", "*" and "#" are kept, at most 32 of them. False (and the filter unchanged)
    // when nothing is left.
    bool filterByCaller(const QString& networkNumber);
    static QString callerNumber(const QString& networkNumber);

    // Ordering by a clicked grid column: only a plain column of KLIENT is taken (false
    // for anything else, and the ordering stays).
    bool orderBy(const QString& column);

    QString statement() const;

    // Runs the list again with the current filter and ordering. A failure is shown and
    // leaves the list closed (false).
    bool requery();
    void close() { m_list.close(); }
    FbDataSet& list() { return m_list; }
    const FbDataSet& list() const { return m_list; }

    // The client of the grid's current row; none for a closed or empty list.
    std::optional<ClientCard> current() const;

private:
    void setFilter(const QString& condition);
    bool suffixTableExists();

    TDANI& m_dani;
    IPrompts& m_prompts;
    FbTransaction m_transaction;
    FbDataSet m_list;
    std::optional<bool> m_suffixTable; // known once asked
};
