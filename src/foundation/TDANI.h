#pragma once

#include "foundation/DataModuleView.h"
#include "foundation/MapPoints.h"
#include "foundation/fb/FbConnection.h"
#include "foundation/fb/FbDataSet.h"
#include "foundation/fb/FbEventListener.h"
#include "foundation/fb/FbQuery.h"
#include "foundation/fb/FbTransaction.h"

#include <QObject>
#include <functional>

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
    SettingsStore& settings() const { return m_settings; }
    IPrompts& prompts() const { return m_prompts; }

    // Connects with the settings held by the settings window, registers the events and
    // sets the lists' initial state. On failure shows the message and stays disconnected.
    bool ConnectDatabase();
    void SetInitialListState();

    // Nearest stand with a free driver for the current open order, and its first driver.
    void ShowNearestStand();
    // The reaction to one alert: the names whose counts changed, handled in a fixed order.
    void OnEventAlert(const QStringList& names);

    // Operations of the dispatch layer the reactions call (no-ops until it is wired).
    std::function<void()> refreshLists;
    std::function<void()> refreshOrderCounters;
    std::function<void()> listHotOrders;
    std::function<QString(const QString& pickup)> findNearestStand;

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
    MapPoints mapPoints;

private:
    void wireListHooks();
    void afterExecutedOpened();
    void afterOpenOrdersOpened();
    void beforeDriversOpened();
    void afterClosedScrolled(FbDataSet& list, DataModuleView::ClosedList which);
    void afterOpenOrdersScrolled();
    int countRows(const QString& statement);

    void showNewDispatcherMessages();
    void reactToDriversChange();
    void loadNewMapPoints();
    QString firstDriverText(const QString& stand);
    QString nearestStandFor(const QString& pickup);

    SettingsStore& m_settings;
    IPrompts& m_prompts;
    NullDataModuleView m_nullView;
    DataModuleView* m_view = &m_nullView;
    QString m_shownFirstDriver;
    qint64 m_lastShownMessage = -1; // -1: none shown yet, show only the newest
};
