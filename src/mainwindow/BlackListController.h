#pragma once

#include "foundation/fb/FbDataSet.h"
#include "foundation/fb/FbTransaction.h"

#include <QObject>
#include <QStringList>

struct DispatchContext;

// The black list window's state and commands: the list of active bars, the pending
// list of callsigns to bar together, and the callsign and reason boxes. The window
// shows what this holds and passes the dispatcher's keys and clicks on.
class BlackListController : public QObject
{
    Q_OBJECT
public:
    explicit BlackListController(DispatchContext& ctx, QObject* parent = nullptr);

    // The active bars, by callsign.
    FbDataSet& list() { return m_list; }
    const QStringList& pending() const { return m_pending; }
    const QString& callsignBox() const { return m_callsignBox; }
    const QString& reasonBox() const { return m_reasonBox; }
    void setReasonBox(const QString& text) { m_reasonBox = text; }

    // The window was shown: the boxes and the pending list start empty, the list is
    // read anew. Closed: the main window's lists are refreshed and this list closed.
    void Shown();
    void Closed();

    // A key typed into the callsign box: digits are taken, everything else ignored
    // (Enter adds the box to the pending list). Returns whether the key was handled.
    bool CallsignKey(int key, const QString& text);
    void AddTypedToPending();
    void ClearPending();
    void RemovePending(int index);

    // "Добавити до списка": asks for one callsign and its reason, then bars it.
    void BarOneCallsign();
    // "Добавити вказані водії у чорний список": bars every pending callsign.
    void BarPendingCallsigns();
    // "Видалити з чорного списку": lifts the bar of the chosen entry.
    void LiftChosen();

signals:
    // The boxes or the pending list changed.
    void boxesChanged();
    // The list was read anew.
    void listReopened();

private:
    void reopenList();
    void bar(const QList<qint64>& callsigns, const QString& reason);

    DispatchContext& m_ctx;
    FbTransaction m_transaction;
    FbDataSet m_list;
    QStringList m_pending;
    QString m_callsignBox;
    QString m_reasonBox;
};
