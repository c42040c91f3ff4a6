#pragma once

#include "foundation/DataModuleView.h"
#include "foundation/DriversGroupView.h"
#include "foundation/HotOrdersView.h"
#include "foundation/MessagesView.h"
#include "foundation/fb/FbConnection.h"
#include "foundation/fb/FbDataSet.h"
#include "foundation/fb/FbEventListener.h"
#include "foundation/fb/FbQuery.h"
#include "foundation/fb/FbTransaction.h"

#include <QObject>

class IPrompts;
class SettingsStore;

// The data module: the one connection of the workstation, its transactions, the lists
// behind the main window with their remembered state, the scratch queries of the
// operations, and the reaction to database events from other workstations.
class TDANI : public QObject
{
    Q_OBJECT
public:
    static const QStringList& eventNames();
    static const QString kNotSet; // "не задано"
    static QString connectionFailedMessage();

    TDANI(SettingsStore& settings, IPrompts& prompts, QObject* parent = nullptr);
    ~TDANI() override;

    void setView(DataModuleView* view) { m_view = view ? view : &m_nullView; }
    DataModuleView& view() const { return *m_view; }
    void setHotOrdersView(HotOrdersView* view) { m_hotView = view ? view : &m_nullHotView; }
    HotOrdersView& hotOrdersView() const { return *m_hotView; }
    void setDriversGroupView(DriversGroupView* view) { m_driversView = view ? view : &m_nullDriversView; }
    DriversGroupView& driversGroupView() const { return *m_driversView; }
    void setMessagesView(MessagesView* view) { m_messages = view ? view : &m_nullMessages; }
    MessagesView& messagesView() const { return *m_messages; }
    SettingsStore& settings() const { return m_settings; }
    IPrompts& prompts() const { return m_prompts; }

    // Connects with the settings held by the settings window, registers the events and
    // sets the lists' initial state. On failure shows the message and stays disconnected.
    bool ConnectDatabase();
    void SetInitialListState();

    // The reaction to one alert: the names whose counts changed, handled in a fixed order.
    // What it closes or learns is announced by the signals below, in the same order.
    void OnEventAlert(const QStringList& names);

    // Connection and transactions.
    FbConnection BAZA;
    FbTransaction TRANZ_RIZNE;
    FbTransaction TRANZ_AKTIV_ZAMOVL;
    FbTransaction TRANZ_VIKON_ZAMOVL;
    FbTransaction TRANZ_DELETE_ZAMOVL;
    FbTransaction TRANZ_ZADIANI_AVTO;
    FbTransaction TRANZ_TABLE_ZADIANI_AVTO_GROUP;
    FbTransaction TRANZ_DIY_VODY_GPRS;
    FbTransaction TRANZ_TABL_KARTA;
    FbTransaction TRANZ_TABL_DELETE_POMITKI;
    FbTransaction TRANZ_FOR_EVENTS;
    FbTransaction TRANZ_ANALIZ;

    // Scratch queries.
    FbQuery RIZNE;
    FbQuery DODAT_RIZNE;
    FbQuery TABL_KARTA;
    FbQuery TABL_DELETE_POMITKI;
    FbQuery TABL_DELETE_POMITKI_DOD;
    FbQuery RIZNE_EVENTS;
    FbQuery RIZNE_DOD_EVENTS;
    FbQuery TABLE_ANALIZ;

    // Lists.
    FbDataSet TABL_AKTIV_ZAMOVL;
    FbDataSet TABL_VIKON_ZAMOVL;
    FbDataSet TABL_DELETE_ZAMOVL;
    FbDataSet TABL_ZADIANI_AVTO;
    FbDataSet TABLE_ZADIANI_AVTO_GROUP;
    FbDataSet TABL_DIY_VODY_GPRS;

    FbEventListener IBEvents1;

    // List state beyond the data sets' own.
    qint64 gprsLowerBound = 0; // largest GPRS action number at the shift change; 0 = no bound
    QString clientsSort;
    QString clientsFilter;
    QString NearestStand;

signals:
    // Lists were closed because other workstations changed their rows: whoever shows
    // them opens them again (the database was read before any later signal of the alert).
    void listsClosed();
    // Open orders were inserted or changed: their counters and the hot list may differ.
    void openOrdersChanged();
    // The drivers on air changed: the nearest stand or the head of its queue may differ.
    void driversChanged();
    // The current row of the open orders list moved (or the list opened at a row).
    void currentOpenOrderMoved();
    // Another workstation put a house or an object on the city map.
    void mapPointsAdded();

private:
    void wireListHooks();
    void afterExecutedOpened();
    void afterOpenOrdersOpened();
    void beforeDriversOpened();
    void afterClosedScrolled(FbDataSet& list, DataModuleView::ClosedList which);
    void afterOpenOrdersScrolled();
    int countRows(const QString& statement);

    void showNewDispatcherMessages();

    SettingsStore& m_settings;
    IPrompts& m_prompts;
    NullDataModuleView m_nullView;
    DataModuleView* m_view = &m_nullView;
    NullHotOrdersView m_nullHotView;
    HotOrdersView* m_hotView = &m_nullHotView;
    NullDriversGroupView m_nullDriversView;
    DriversGroupView* m_driversView = &m_nullDriversView;
    NullMessagesView m_nullMessages;
    MessagesView* m_messages = &m_nullMessages;
    qint64 m_lastShownMessage = -1; // -1: none shown yet, show only the newest
};
