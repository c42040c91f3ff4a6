#pragma once

#include "orders/intake/WebDistanceClient.h"
#include "orders/intake/WebDistanceReply.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <optional>

struct DispatchContext;
class IShellOpen;
class OrderIntake;
class RoutePointEntry;

// The order form's routes on the web, without widgets: "Прорахувати" asks the web
// distance service for the outside addresses of the first step, the route result
// window (its success page "TRUE" or error page "ERROR") shows the answer and carries
// it back into the form, and the route list's two ends are opened in the online city
// map in the browser.
class WebRouteController : public QObject
{
    Q_OBJECT
public:
    static const QString kCalculateHint;
    static const QString kBrowserHint;
    static const QString kEmptyValueMessage;
    static const QString kEditStartQuestion;
    static const QString kEditDestinationQuestion;
    static const QString kNoEndsMessage;
    static const QString kOffMapMessage;
    static const QString kNoBindingMessage;

    WebRouteController(DispatchContext& ctx, RoutePointEntry& entry, OrderIntake& order, IShellOpen& shell,
                       QObject* parent = nullptr);

    // ---- web distance --------------------------------------------------------------
    // "Прорахувати": the two outside ends as the first step holds them.
    void calculate();
    // The order form closed: a request in progress is dropped without a word.
    void cancel() { m_client.cancel(); }
    bool busy() const { return m_client.busy(); }

    // ---- route result window -------------------------------------------------------
    const WebDistanceResult& result() const { return m_result; }
    // "відстань приймати по тарифу за містом", as the dispatcher left it.
    bool outOfTown() const { return m_outOfTown; }
    void setOutOfTown(bool outOfTown) { m_outOfTown = outOfTown; }
    // Success page: the service's start or destination into the first step's place box.
    void copyStart();
    void copyDestination();
    // Error page: the same after the dispatcher's Yes.
    void editStart();
    void editDestination();
    // "У форму вибору тарифа": the distance, cut after two decimals, and the tick become
    // the first step's calculated distance, the order form goes on to its tariff step with
    // the distance in or out of town, and the window closes. An order without a route yet
    // takes the service's start (with "{" destination house "}" after it when that box
    // holds one) and destination as its route, off the internal map.
    void takeToTariffStep();

    // ---- browser -------------------------------------------------------------------
    // The route list's first and last points in the online city map.
    void openInBrowser();

    // The distance text cut two characters after its first "," and then two after its
    // first ".": "12,3456" gives "12,34".
    static QString cutDistance(const QString& distance);

signals:
    // A page was filled: the window shows it.
    void resultShown();
    void closeRequested();
    // The order form's last step with these kilometres in and out of town.
    void tariffStepRequested(const QString& kmInTown, const QString& kmOutOfTown);

private:
    void show(const WebDistanceResult& result);
    void copy(const QString& text, bool start);
    // The order's route from this window's two addresses; false (told why) when they
    // give none.
    bool routeFromResult();
    std::optional<QPoint> mapCoordinates(qint64 mapPoint);

    DispatchContext& m_ctx;
    RoutePointEntry& m_entry;
    OrderIntake& m_order;
    IShellOpen& m_shell;
    WebDistanceClient m_client;
    WebDistanceResult m_result;
    bool m_outOfTown = true;
};
