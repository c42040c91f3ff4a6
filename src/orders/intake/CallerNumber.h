#pragma once

#include <QString>

// The caller of an incoming call as the softphone panel shows it, worked out from the
// SIP address the agent reports (`CallerId`), the city code (`KODMISTA`) and the count
// of leading characters to delete from an international number (`DELETEZNAK`).
struct CallerNumber
{
    // Longest number that reaches the telephone search: a real number with a prefix and
    // an extension fits; anything longer is a hostile or broken message.
    static constexpr int MaxLength = 32;

    QString fullAddress;   // the address as received, for display only
    QString withPrefix;    // the user part, cut to the characters a telephone number has
    QString withoutDigits; // after `DELETEZNAK`, or ten "*" when the city code matched
    QString withoutCode;   // after the city code, or ten "*" when it did not match
    QString normalised;    // the number the search and the status line use

    static CallerNumber fromCallerId(const QString& callerId, const QString& cityCode,
                                     const QString& digitsToDelete);
    // Keeps digits, "+", "*" and "#", at most MaxLength of them: the text comes from the
    // network and goes on into searches, SQL literals and an order's description.
    static QString telephoneCharacters(const QString& text);
};
