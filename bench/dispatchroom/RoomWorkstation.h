#pragma once

#include "RoomClock.h"
#include "RoomLog.h"

#include "citymap/CityMapData.h"
#include "dispatch/DataModuleWiring.h"
#include "dispatch/DispatchContext.h"
#include "foundation/ServerSettings.h"
#include "foundation/SettingsStore.h"
#include "foundation/TDANI.h"
#include "foundation/fb/FbTransaction.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompts.h"
#include "support/RecordingView.h"

#include <QObject>
#include <QTimer>
#include <memory>
#include <random>

// One dispatcher's workstation of the room, in a process of its own as on the desks:
// the real data module with its event listener, the lists reopened by the list refresh
// whenever the data module closes them, the dispatch layer's reactions to changed orders
// and drivers. Its dispatcher records orders and hands them out at the room's pace, and
// the workstation notes when its open-orders list first shows each order and its driver.
class RoomWorkstation : public QObject
{
    Q_OBJECT
public:
    struct Pace
    {
        double ordersPerSimulatedHour = 600; // recorded by this workstation
        double handOutDelaySimulatedSeconds = 60;
    };

    RoomWorkstation(int index, const ServerSettings& server, const RoomSchedule& schedule, const Pace& pace);
    ~RoomWorkstation() override;

    // Connects, reads its lists and waits for the room's start. False when it cannot.
    bool connect();
    // Works from the room's start until the end of the schedule, then a while longer to
    // see the last changes of the others.
    void run(qint64 startNs, qint64 drainNs);
    const RoomLog& log() const { return m_log; }

private:
    void reactToClosedLists();
    void noteShownOrders();
    void recordOrder();
    void handOutOrder();
    bool tryHandOut(qint64 order, const QString& pickup);
    qint64 freeDriverFor(const QString& pickup);
    qint64 nextIntervalNs(double perSimulatedHour);
    void arm(QTimer& timer, double perSimulatedHour);

    int m_index;
    RoomSchedule m_schedule;
    Pace m_pace;
    SettingsStore m_store;
    ScriptedPrompts m_prompts;
    RecordingView m_view;
    SystemClock m_clock;
    std::unique_ptr<TDANI> m_dani;
    std::unique_ptr<CityMapData> m_map;
    std::unique_ptr<DispatchContext> m_ctx;
    std::unique_ptr<DataModuleWiring> m_wiring;
    std::unique_ptr<FbTransaction> m_orderTransaction; // the order form's own, as OrderIntake has
    QTimer m_recordTimer;
    QTimer m_handOutTimer;
    std::mt19937 m_random;
    int m_recordedHere = 0;
    int m_listGeneration = -1;
    RoomLog m_log;
};
