#include "foundation/fb/DbError.h"
#include "foundation/fb/FbConnection.h"
#include "foundation/fb/FbEventListener.h"
#include "foundation/fb/FbQuery.h"
#include "foundation/fb/FbTransaction.h"
#include "support/DatabaseSuite.h"
#include "support/WaitFor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <atomic>
#include <memory>
#include <thread>

// Alerts keep arriving on the client library's threads while listeners are destroyed
// and registered anew on the UI thread: nothing freed may be touched, and an alert of an
// earlier registration must not count for the present one. Run under ASan
// (-DWITH_ASAN=ON) this also shows any use of freed memory.
class EventListenerLifetime : public DatabaseSuite
{
protected:
    void SetUp() override
    {
        connection.connect(db->params());
        poster = std::thread([this] { postUntilStopped(); });
        // The poster is running once its first post is committed.
        ASSERT_TRUE(waitFor([this] { return posts.load() > 0; }));
    }
    void TearDown() override
    {
        stop = true;
        poster.join();
        EXPECT_TRUE(posterError.empty()) << posterError;
        connection.disconnect();
    }

    // Another workstation posting as fast as it can, on a connection and thread of its own.
    void postUntilStopped()
    {
        try {
            FbConnection other;
            other.connect(db->params());
            FbTransaction t(other, QStringLiteral("POSTER"));
            FbQuery q(t);
            while (!stop) {
                q.exec(QStringLiteral("EXECUTE BLOCK AS BEGIN POST_EVENT 'EV_REFLESH_ZAD_AVTO'; "
                                      "POST_EVENT 'EV_InsertZAMOVLENNIA'; END"));
                t.commit();
                ++posts;
            }
        } catch (const DbError& e) {
            posterError = e.message().toStdString();
            ++posts; // lets SetUp go on to report it
        }
    }
    static void pump(int ms)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }

    const QStringList names = {QStringLiteral("EV_REFLESH_ZAD_AVTO"), QStringLiteral("EV_InsertZAMOVLENNIA")};
    FbConnection connection;
    std::thread poster;
    std::atomic<bool> stop{false};
    std::atomic<int> posts{0};
    std::string posterError;
};

TEST_F(EventListenerLifetime, ListenersDestroyedWhileAlertsArriveTouchNothingFreed)
{
    int alerts = 0;
    for (int round = 0; round < 200; ++round) {
        auto listener = std::make_unique<FbEventListener>();
        QObject::connect(listener.get(), &FbEventListener::eventsAlert, listener.get(),
                         [&](const QStringList&) { ++alerts; });
        listener->registerEvents(connection, names);
        pump(round % 3); // sometimes destroyed with alerts still queued for it
        if (round % 2)
            listener->cancel();
    }
    // A listener made after all that still hears every post.
    FbEventListener last;
    QStringList heard;
    QObject::connect(&last, &FbEventListener::eventsAlert, &last,
                     [&](const QStringList& changed) { heard = changed; });
    last.registerEvents(connection, names);
    ASSERT_TRUE(waitFor([&] { return heard.size() == 2; }));
    EXPECT_EQ(heard, names);
    EXPECT_GT(alerts, 0);
}

TEST_F(EventListenerLifetime, AlertsOfAnEarlierRegistrationNeverCountForTheNextOne)
{
    FbEventListener listener;
    QList<QStringList> alerts;
    QObject::connect(&listener, &FbEventListener::eventsAlert, &listener,
                     [&](const QStringList& changed) { alerts << changed; });
    for (int round = 0; round < 200; ++round) {
        // Registered for one name only every other round: an alert of the other
        // registration's block would name the wrong event or none at all.
        listener.registerEvents(connection, round % 2 ? names : names.mid(0, 1));
        pump(round % 3);
    }
    listener.registerEvents(connection, names.mid(1));
    alerts.clear();
    ASSERT_TRUE(waitFor([&] { return !alerts.isEmpty(); }));
    for (const QStringList& changed : alerts)
        EXPECT_EQ(changed, names.mid(1));
}
