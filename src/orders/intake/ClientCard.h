#pragma once

#include <QDate>
#include <QString>

class FbDataSet;

// One KLIENT row as the client pages show it. KLIENT_DODATKOVO holds
// "[" code "] приватний (" password ")": the code is five digits with leading zeros
// (longer codes as they are), "00000" the unknown client.
struct ClientCard
{
    static const QString kUnknownCode; // "00000"

    qint64 number = 0; // KLIENT_NUMBER
    QString code = kUnknownCode;
    QString password;
    QString extra; // KLIENT_DODATKOVO as stored
    QString name;
    QString address;
    QString telephones;
    QDate birthDate; // not valid: no birth date
    // Shown as the details panel shows them (amounts with a decimal comma); empty for NULL.
    QString balance;
    QString discount;
    QString tripsUntilJubilee; // KLIENT_KIL_VIKLIK
    QString jubileeTrips;      // KLIENT_KIL_FREE_VIKLIK

    // The code as a number: what orders store as ZAMOVL_NOMER_KLIENT (0 for none).
    qint64 codeNumber() const;

    // The current row of a client list; an empty card for an empty list.
    static ClientCard fromCurrentRow(const FbDataSet& list);

    // 12 → "00012"; five digits and more as they are.
    static QString codeText(qint64 code);
    // The text between the first "[" and the first "]" after it; "00000" without one.
    static QString codeIn(const QString& extra);
    // The text between the first "(" and the first ")" after it; empty without one.
    static QString passwordIn(const QString& extra);
};
