#include "DispatchRoom.h"

#include "foundation/SqlLiteral.h"
#include "platform/BaseFolder.h"
#include "platform/IniFile.h"
#include "platform/audio/AudioFormat.h"
#include "softphone/TSIPClient.h"
#include "support/DemoCity.h"
#include "support/WaitFor.h"
#include "support/peers/LoopbackPorts.h"
#include "support/peers/RealPeers.h"

#include <QFile>
#include <QtEndian>
#include <cmath>

namespace {

QString script(const char* name)
{
    return TestDatabase::sourceFile(QStringLiteral("tools/fbserver/") + QLatin1String(name));
}

// A 300 Hz tone of one second: speech enough for the line's silence gate.
QByteArray voice()
{
    QByteArray pcm(AudioFormat::BytesPerSecond, '\0');
    for (int i = 0; i < AudioFormat::SampleRate; ++i)
        qToLittleEndian(static_cast<qint16>(6000 * std::sin(2 * M_PI * 300 * i / AudioFormat::SampleRate)),
                        pcm.data() + 2 * i);
    return pcm;
}

QString operatorLine(int index, const QString& dispatcher, const KamailioPbx& pbx, const QString& extension)
{
    return QStringLiteral("OPERATOR{%1}=OPER [%2] ATOR<Dostup>True</Dostup><IpServer>%3</IpServer>"
                          "<PortServer>%4</PortServer><IdOperator>%5</IdOperator><PassServer>%6</PassServer>"
                          "<DostupOutCall>True</DostupOutCall>")
        .arg(QString::number(index), dispatcher, QString::fromLatin1(pbx.Address()),
             QString::number(pbx.Port()), extension, QString::fromLatin1(pbx.Password()));
}

} // namespace

bool FirebirdServer::start()
{
    if (!m_root.isValid()) {
        m_problem = QStringLiteral("no temporary folder for the server's root");
        return false;
    }
    m_port = LoopbackPorts::Free();
    QProcess starter;
    starter.setProcessChannelMode(QProcess::SeparateChannels);
    starter.start(QStringLiteral("bash"), {script("start-server.sh"), m_root.filePath(QStringLiteral("root")),
                                           QString::number(m_port), QStringLiteral(TAXIDB_PATH)});
    if (!starter.waitForFinished(30000) || starter.exitCode() != 0) {
        m_problem = QStringLiteral("the Firebird server did not start: ") +
                    QString::fromLocal8Bit(starter.readAllStandardError()) + log();
        return false;
    }
    m_pid = starter.readAllStandardOutput().trimmed().toLongLong();
    return m_pid > 0;
}

void FirebirdServer::stop()
{
    if (m_pid <= 0)
        return;
    QProcess::execute(QStringLiteral("bash"), {script("stop-server.sh"), QString::number(m_pid)});
    m_pid = 0;
}

QString FirebirdServer::prefix() const
{
    return QStringLiteral("127.0.0.1/%1:").arg(m_port);
}

QString FirebirdServer::log() const
{
    QFile file(m_root.filePath(QStringLiteral("root/server.log")));
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll().right(4000)) : QString();
}

Desk::Desk(const QString& dispatcherName, const QString& dispatcherPassword, quint16 mediaPort)
    : dispatcher(dispatcherName), password(dispatcherPassword)
{
    ws = std::make_unique<Workstation>(clock, &prompts, &exit, &shell, &audio);
    // Two desks share this machine's loopback: each takes RTP on a port of its own.
    ws->softphone.sip().SetLocalMedia("127.0.0.1", mediaPort);
    ws->softphone.setBeepOnIncoming(false); // the headset plays only the call
    audio.setMicrophoneSignal(voice());
    QObject::connect(&microphone, &QTimer::timeout, &microphone, [this] {
        if (FakeAudioInput* input = audio.openInput())
            input->deliverBuffers(1);
    });
    microphone.start(30);
    ws->start();
}

Desk::~Desk()
{
    microphone.stop();
    ws->form1.allowClose();
    ws.reset();
}

void Desk::logIn()
{
    emit ws->form3.logInRequested(dispatcher, password);
}

bool Desk::lineReady() const
{
    return ws->softphone.sip().State() == TSIPClient::Ready && !ws->softphone.ringing() &&
           ws->softphone.health() == SoftphonePanel::Health::Registered;
}

void DispatchRoom::SetUp()
{
    TAXI_REQUIRE_REAL_PEERS(PbxAndTelephone::Programs() << QStringLiteral("firebird"));
    ASSERT_TRUE(server.start()) << server.problem().toStdString();
    db = std::make_unique<TestDatabase>(server.prefix());
    ASSERT_TRUE(m_peers.Start()) << m_peers.Problem().toStdString() << report();
    fillTheCity();
    if (HasFatalFailure())
        return;
    writeBaseFolder();
    if (HasFatalFailure())
        return;
    desk1 = std::make_unique<Desk>(firstDispatcher(), QStringLiteral("1"), 5004);
    desk2 = std::make_unique<Desk>(secondDispatcher(), QStringLiteral("2"), 5006);
    for (Desk* desk : {desk1.get(), desk2.get()})
        ASSERT_TRUE(waitFor([desk] { return desk->ws->dani.IBEvents1.ready(); })) << report();
    startArchiver();
}

void DispatchRoom::TearDown()
{
    if (archiver.state() != QProcess::NotRunning) {
        archiver.terminate(); // stops between two runs
        if (!archiver.waitForFinished(5000))
            archiver.kill();
    }
    desk1.reset();
    desk2.reset();
    m_peers.Stop(); // the telephone unregisters before the exchange goes
    db.reset();
    server.stop();
    BaseFolder::overrideForTests({});
}

void DispatchRoom::fillTheCity()
{
    const QStringList tables{QStringLiteral("VULICA_LUCK"), QStringLiteral("KARTA_MISTA"),
                             QStringLiteral("SET_TARIFI"),  QStringLiteral("TARIFI"),
                             QStringLiteral("VODII"),       QStringLiteral("DANI_AVTO"),
                             QStringLiteral("KLIENT"),      QStringLiteral("PRACIVNIK"),
                             QStringLiteral("DANI_FIRMI"),  QStringLiteral("ZADIANI_AVTO")};
    for (const QString& table : tables)
        db->exec(QStringLiteral("DELETE FROM ") + table);
    copyDemoTables(*db, tables);
    db->exec(
        QStringLiteral("INSERT INTO KLIENT (KLIENT_NUMBER, KLIENT_FIO, KLIENT_ADRESS, KLIENT_TELEFON, "
                       "KLIENT_DODATKOVO, KLIENT_BALANS, KLIENT_KIL_VIKLIK, KLIENT_KIL_FREE_VIKLIK) VALUES "
                       "(%1, %2, %3, %4, %5, %6, 0, 0)")
            .arg(sql::integer(clientCode()), sql::text(clientName()),
                 sql::text(QStringLiteral("вул. Набережна 1")), sql::text(clientTelephone()),
                 sql::text(QStringLiteral("[00200] приватний ()")), QString::number(kClientBalance)));
    // This room has no GPRS server (the archiver stands in for its archiving): its drivers
    // take their orders by radio, and the dispatchers close them.
    db->exec(QStringLiteral("UPDATE ZADIANI_AVTO SET ZAD_AVTO_MARKA_AVTO = REPLACE(ZAD_AVTO_MARKA_AVTO, "
                            "'{GPRS}', '')"));
    // The firm's telephone settings name this room's exchange; no STUN server here.
    const auto setLine = [this](int number, const QString& text) {
        db->exec(QStringLiteral("UPDATE SET_TARIFI SET SET_TARIF_NAME = %1 WHERE SET_TARIF_NOMER = %2")
                     .arg(sql::text(text), sql::integer(number)));
    };
    const FbRows lines = db->exec(QStringLiteral("SELECT SET_TARIF_NOMER, SET_TARIF_NAME FROM SET_TARIFI"));
    for (int row = 0; row < lines.rowCount(); ++row) {
        const int number = lines.rows[row][0].toInt();
        const QString text = lines.rows[row][1].toString();
        if (text.startsWith(QLatin1String("STUN=")))
            setLine(number, QStringLiteral("STUN="));
        else if (text.startsWith(QLatin1String("COUNT_OPERATOR=")))
            setLine(number, QStringLiteral("COUNT_OPERATOR=2"));
        else if (text.startsWith(QLatin1String("OPERATOR{1}=")))
            setLine(number, operatorLine(1, firstDispatcher(), pbx(), QStringLiteral("101")));
        else if (text.startsWith(QLatin1String("OPERATOR{2}=")))
            setLine(number, operatorLine(2, secondDispatcher(), pbx(), QStringLiteral("102")));
        else if (text.startsWith(QLatin1String("OPERATOR{")))
            db->exec(QStringLiteral("DELETE FROM SET_TARIFI WHERE SET_TARIF_NOMER = %1")
                         .arg(sql::integer(number)));
    }
}

void DispatchRoom::writeBaseFolder()
{
    ASSERT_TRUE(m_baseFolder.isValid());
    BaseFolder::overrideForTests(m_baseFolder.path());
    IniFile settings;
    settings.writeString(QStringLiteral("SHLYAH_BAZA"), QStringLiteral("SERVER"), server.prefix());
    settings.writeString(QStringLiteral("SHLYAH_BAZA"), QStringLiteral("PATH_BAZA"), db->folder());
    settings.writeString(QStringLiteral("SHLYAH_BAZA"), QStringLiteral("NAME_BAZA"),
                         QStringLiteral("TEST.FDB"));
    settings.writeString(QStringLiteral("SET_SERV"), QStringLiteral("LOGIN"), QStringLiteral("SYSDBA"));
    settings.writeString(QStringLiteral("SET_SERV"), QStringLiteral("PASS"), QStringLiteral("masterkey"));
    ASSERT_EQ(settings.save(BaseFolder::file(QStringLiteral("SETSERVER.INI"))), QString());
    // Both dispatchers wear the fake headset.
    FakeAudioSystem devices;
    IniFile headset;
    headset.writeString(QStringLiteral("SETWAVE"), QStringLiteral("IN"), devices.inputDevices().first());
    headset.writeString(QStringLiteral("SETWAVE"), QStringLiteral("OUT"), devices.outputDevices().first());
    ASSERT_EQ(headset.save(BaseFolder::file(QStringLiteral("GarnituraDispetcher.ini"))), QString());
}

void DispatchRoom::startArchiver()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ISC_PASSWORD"), QStringLiteral("masterkey"));
    archiver.setProcessEnvironment(environment);
    archiver.setProcessChannelMode(QProcess::MergedChannels);
    archiver.start(QStringLiteral(ARCHIVER_PATH),
                   {db->path(), QStringLiteral("--interval"), QStringLiteral("1")});
    ASSERT_TRUE(archiver.waitForStarted()) << archiver.errorString().toStdString();
}

std::string DispatchRoom::report() const
{
    QString text = m_peers.Report();
    if (desk1)
        text += QStringLiteral("\n--- desk 1 dialogs\n") + desk1->prompts.messages().join(u'\n');
    if (desk2)
        text += QStringLiteral("\n--- desk 2 dialogs\n") + desk2->prompts.messages().join(u'\n');
    return text.toStdString();
}
