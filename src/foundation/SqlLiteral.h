#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <optional>

// Every value that goes into an SQL text goes through one of these: typed text, a
// caller's number or a file's value is never pasted in as it is.
namespace sql {

// 'text' with every single quote doubled, so the text is stored exactly as typed.
QString text(const QString& value);
// 'dd.mm.yyyy'
QString date(const QDate& value);
// 'hh:mm'
QString timeHm(const QTime& value);
// 'hh:mm:ss'
QString timeHms(const QTime& value);
// 'dd.mm.yyyy hh:mm:ss'
QString timestamp(const QDateTime& value);
// A number already parsed: only digits and a sign can come out.
QString integer(qint64 value);
// An amount with a decimal point, cut (not rounded) after two decimals.
QString amount(double value);
// An exact decimal already formatted with a decimal point ("-12.05", "7"), as the order
// form's amounts give it: only a sign, digits and one point can go in; any other text
// is written as 0.
QString decimal(const QString& plainDecimal);

// IIF((SELECT MAX(column) FROM table) IS NULL, first, (SELECT MAX(column) FROM table)+1)
QString nextNumber(const QString& column, const QString& table, int first);
// (column LIKE '%' || '[00042]' || '%'): the whole bracketed five-digit code, so code
// 42 never matches a text that merely contains the digits 42.
QString clientCodeCondition(const QString& column, qint64 code);
// (column LIKE '%' || 'text' || '%')
QString containsCondition(const QString& column, const QString& value);

} // namespace sql

// Numbers typed by the dispatcher or read from a file: text that does not parse counts as 0.
qint64 typedInteger(const QString& text);
// Accepts a decimal comma or point; text that does not parse counts as 0.
double typedAmount(const QString& text);
// An amount as shown: decimal comma, cut after two decimals.
QString shownAmount(double value);
