#pragma once

#include <QObject>

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

class CityMapData;
class ISoftphoneLine;
struct DispatchContext;

// What the log-in grants: each right is on when its PRACIVNIK column holds 1.
struct DispatcherRights
{
    bool admin = false;      // the period pickers of the closed-order tabs
    bool takeOrders = false; // the order form's create-order buttons
    bool handOut = false;    // the active orders tab, putting drivers on air
    bool maps = false;       // the city map
    bool tariffs = false;
    bool closedOrders = false; // the executed and deleted orders tabs
};

// The period of the executed and deleted lists: from roll call to roll call.
struct ShiftPeriod
{
    QDate from;
    QDate to;
};

// The log-in of the shift change window: checks the dispatcher's password, hands the
// workstation over to him and loads everything his shift works with.
class ShiftChangeController : public QObject
{
    Q_OBJECT
public:
    ShiftChangeController(DispatchContext& ctx, CityMapData& map, ISoftphoneLine& line);

    // Every dispatcher with at least one right, sorted. Throws DbError.
    QStringList dispatcherNames();

    struct Outcome
    {
        bool loggedIn = false;
        // The password was accepted but the new shift could not be read: nobody is on
        // shift now and nothing of the previous shift stays in force.
        bool loggedOut = false;
        DispatcherRights rights;
        std::optional<ShiftPeriod> period; // none: the period stays as it was
        QString rollCallLabel;             // hh:mm
    };
    // A wrong name or password changes nothing and tells nothing; the line of the
    // dispatcher on shift is released only once the new password was accepted. The new
    // shift is read in full first and put in force at once; a database error on the way
    // shows its message and leaves the workstation logged out.
    Outcome logIn(const QString& name, const QString& password);

    // 5 → 00:05, 930 → 09:30, 1930 → 19:30; five characters and more as they are.
    static QString normaliseRollCall(const QString& stored);
    // After the roll call today to tomorrow, else yesterday to today.
    static ShiftPeriod periodFor(const QDateTime& now, const QString& rollCall);

signals:
    // The district tables or the map points are being read: done of total rows. The
    // last report of a load has done == total.
    void loadProgress(int done, int total);

private:
    struct NewShift;
    // Each read throws DbError and changes nothing but the new shift (and TARIF.INI,
    // which mirrors the database).
    void readCompanySettings(NewShift& shift, Outcome& outcome);
    void readWorkstationSettings(NewShift& shift);
    void readMap(NewShift& shift);
    void readGprsPeriod(NewShift& shift);
    void readOrderCounts(NewShift& shift);
    void putInForce(NewShift& shift, const Outcome& outcome);
    void leaveNobodyOnShift();

    DispatchContext& m_ctx;
    CityMapData& m_map;
    ISoftphoneLine& m_line;
};
