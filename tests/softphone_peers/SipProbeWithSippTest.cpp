#include "SippProcess.h"

#include "../softphone/SoftphoneTestSupport.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef SIPPROBE_PATH

namespace {

// Runs the headless probe to its end while the event loop keeps sipp's side going.
struct ProbeRun
{
    int exitCode = -1;
    QString output;
};

ProbeRun runProbe(const QStringList& arguments)
{
    QProcess probe;
    probe.setProcessChannelMode(QProcess::MergedChannels);
    probe.start(QStringLiteral(SIPPROBE_PATH), arguments);
    ProbeRun run;
    if (!probe.waitForStarted(5000))
        return run;
    WaitUntil([&] { return probe.state() == QProcess::NotRunning; }, 30000);
    run.output = QString::fromLocal8Bit(probe.readAll());
    run.exitCode = probe.state() == QProcess::NotRunning ? probe.exitCode() : -1;
    return run;
}

} // namespace

TEST(ProbeWithSipp, DialsHearsTheCalleeAndHangsUp)
{
    const QString recording = SippProcess::AlawRecording();
    if (SippProcess::Executable().isEmpty() || recording.isEmpty())
        GTEST_SKIP() << "sipp or its g711a.pcap is missing: the probe against sipp not tested";
    const quint16 sippPort = FreeUdpPort();
    SippProcess callee(QStringLiteral("uas_answer_with_audio.xml"), sippPort,
                       {QStringLiteral("-mp"), QString::number(FreeUdpPortPair())},
                       {{QStringLiteral("PCAP"), recording}});
    ASSERT_TRUE(callee.Start()) << callee.Report().toStdString();
    QTemporaryDir folder;
    const QString record = folder.filePath(QStringLiteral("heard.raw"));
    const ProbeRun run = runProbe({QStringLiteral("--server"),
                                   QStringLiteral("127.0.0.1:%1").arg(sippPort),
                                   QStringLiteral("--user"),
                                   QStringLiteral("101"),
                                   QStringLiteral("--password"),
                                   QStringLiteral("secret"),
                                   QStringLiteral("--local-port"),
                                   QString::number(FreeUdpPort()),
                                   QStringLiteral("--rtp-port"),
                                   QString::number(FreeUdpPortPair()),
                                   QStringLiteral("--local-address"),
                                   QStringLiteral("127.0.0.1"),
                                   QStringLiteral("--dial"),
                                   QStringLiteral("102"),
                                   QStringLiteral("--hangup-after"),
                                   QStringLiteral("1"),
                                   QStringLiteral("--tone"),
                                   QStringLiteral("440"),
                                   QStringLiteral("--record"),
                                   record,
                                   QStringLiteral("--stay-registered"),
                                   QStringLiteral("--timeout"),
                                   QStringLiteral("15")});
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("state 12 Connected")));
    EXPECT_TRUE(run.output.contains(QStringLiteral("event OnCallEnd")));
    EXPECT_GT(QFileInfo(record).size(), 8000) << "half a second of the callee's audio";
    EXPECT_TRUE(callee.Succeeded()) << callee.Report().toStdString();
}

TEST(ProbeWithSipp, RefusesToStartWithoutAServer)
{
    EXPECT_EQ(runProbe({QStringLiteral("--user"), QStringLiteral("101")}).exitCode, 1);
}

TEST(ProbeWithSipp, RefusesTwoWaysOfTakingIncomingCallsAndAnUnreadableDelay)
{
    const QStringList account{QStringLiteral("--server"), QStringLiteral("127.0.0.1:9"),
                              QStringLiteral("--user"), QStringLiteral("101")};
    const QStringList refused[] = {
        {QStringLiteral("--ring"), QStringLiteral("--reject")},
        {QStringLiteral("--ring"), QStringLiteral("--answer-after"), QStringLiteral("3")},
        {QStringLiteral("--auto-answer"), QStringLiteral("--reject")},
        {QStringLiteral("--answer-after"), QStringLiteral("soon")},
        {QStringLiteral("--answer-after"), QStringLiteral("-1")},
    };
    for (const QStringList& options : refused) {
        const ProbeRun run = runProbe(account + options);
        EXPECT_EQ(run.exitCode, 1) << options.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.output.startsWith(QStringLiteral("sipprobe: --"))) << run.output.toStdString();
    }
}

#endif
