#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// What the client page warns about before an order is taken.
class ClientWarnings
{
public:
    // The debtor panel's lines for a client code: the heading, 35 "=", every black-list
    // entry holding "[" code "]" after three blanks, 35 "=" and the closing line; empty
    // when no entry holds the code.
    static QStringList debtorLines(const QStringList& blackList, const QString& code);

    // Whether today is the client's birthday: day and month compared as dates, so a
    // one-digit day counts like any other. Someone born on 29 February has the birthday
    // on 28 February in a year without a 29th.
    static bool isBirthday(const QDate& birthDate, const QDate& today);

    static const QString kBirthdayText;
};
