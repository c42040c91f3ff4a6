#pragma once

#include <QString>
#include <optional>

class TDANI;

// What the database knows about a telephone line and a caller: the dispatcher's number
// (his line's local port), the client whose telephones hold a number, and the open
// order whose contact telephone is the caller's. Numbers are cut to telephone
// characters before they reach any SQL; a failing query is no answer, never an error
// box in the middle of a ringing call.
class CallerLookup
{
public:
    explicit CallerLookup(TDANI& dani) : m_dani(dani) {}

    // TABLE_PRACIV_NOMER of the dispatcher; none when there is no such row or no number.
    std::optional<int> dispatcherNumber(const QString& fullName);
    // KLIENT_FIO of the first client whose KLIENT_TELEFON contains the number; empty when none.
    QString clientNameFor(const QString& number);
    // "№ 1234, pick-up, driver" of the newest open order whose contact telephone (the
    // text between "[" and "]" of its description) is the number, with or without prefix.
    std::optional<QString> openOrderFor(const QString& number, const QString& withPrefix = {});

    // "тел.:[067 123]  ..." → "067 123": the text between the first "[" and the first
    // "]" after it, trimmed; empty without such a pair (free text is never dialled).
    static QString telephoneIn(const QString& description);

private:
    TDANI& m_dani;
};
