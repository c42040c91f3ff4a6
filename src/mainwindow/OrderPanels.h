#pragma once

#include <QDateTime>
#include <QString>

// The record panels of the open orders: how many fit, and what each one's status square shows.
namespace OrderPanels {

// Whole panels of 160 pixels that fit the height.
int panelCount(int height);

enum class Status { Carried, Due, Preliminary };
// Carried when a driver has the order; due ("!") once now is at or after its time minus
// the preliminary lead; preliminary ("?") before that.
Status status(qint64 callsign, const QDateTime& orderTime, int leadMinutes, const QDateTime& now);
QString caption(Status status);

} // namespace OrderPanels
