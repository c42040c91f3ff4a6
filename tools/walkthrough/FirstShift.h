#pragma once

#include "AnsweringPrompts.h"

#include "platform/Clock.h"
#include "platform/ProgramExit.h"
#include "platform/ShellOpen.h"

#include <QDir>
#include <QString>
#include <functional>
#include <memory>

class QWidget;
class Workstation;

// A newcomer's first shift on the demo desk, driven through the windows as the
// dispatcher would: log in, take an order for a coded client with a route of three
// points, price it, hand it to the nearest stand's first driver and close it. Each step
// leaves a picture of the window it happened in.
class FirstShift
{
public:
    // database: the copy the workstation opens.
    FirstShift(const QString& database, const QString& pictureFolder);
    ~FirstShift();

    // Runs the steps in order and stops at the first that cannot be done; returns how
    // many were done.
    int run();
    int stepCount() const;

private:
    struct Step
    {
        QString picture; // "NN-name", without ".png"
        std::function<QString()> act; // empty when done, otherwise why not
    };

    QString logInWindow();
    QString mainWindowAfterLogIn();
    QString clientChosen();
    QString routeBuilt();
    QString tariffAndPrice();
    QString newOrderWithNearestDriver();
    QString orderHandedOut();
    QString orderClosedThroughMaintenance();
    QString executedOrders();
    QString archiveClosedOrders();

    // Adds one route point as the keyboard does: the search text, the name (a street),
    // a house of it (the given one when it has it) and the flat, each with Enter.
    QString addPoint(const QString& search, const QString& name, const QString& house, const QString& flat);
    int highestOpenOrder() const;
    bool chooseNewOrder();
    void save(QWidget* window, const QString& name);
    void settle(int ms = 300);

    QString m_database;
    QDir m_pictures;
    QList<Step> m_steps;
    SystemClock m_clock;
    AnsweringPrompts m_prompts;
    RecordedExit m_exit;
    RecordedShellOpen m_shell; // nothing leaves for a browser
    std::unique_ptr<Workstation> m_ws;
    QString m_pendingPicture; // taken by the prompts while a window asks
    int m_openedBefore = 0; // the highest open order's number before ours was saved
    int m_newOrder = 0;
    QString m_driver;
};
