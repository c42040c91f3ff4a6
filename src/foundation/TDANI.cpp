#include "foundation/TDANI.h"

#include "foundation/DisplayText.h"
#include "foundation/ServerSettings.h"
#include "foundation/SettingsStore.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TextHelpers.h"
#include "foundation/fb/DbError.h"
#include "platform/Prompts.h"

const QString TDANI::kNotSet = QStringLiteral("не задано");

const QStringList& TDANI::eventNames()
{
    // In the order the reactions run.
    static const QStringList names = {
        QStringLiteral("EV_InsertMSG_FOR_DISP"),  QStringLiteral("EV_InsertDYA_VODIY_GPRS"),
        QStringLiteral("EV_REFLESH_ZAD_AVTO"),    QStringLiteral("EV_InsertZAMOVLENNIA"),
        QStringLiteral("EV_UpdateZAMOVLENNIA"),   QStringLiteral("EV_InsertCLZAMOVLENNIA"),
        QStringLiteral("EV_UpdateCLZAMOVLENNIA"), QStringLiteral("EV_INSERT_BUDINKA"),
        QStringLiteral("EV_REFLESH_DIY_VODIY"),
    };
    return names;
}

QString TDANI::connectionFailedMessage()
{
    return QStringLiteral("Невірно задані параметри бази данних (перевірте шляхи у файлі SETSERVER.INI). "
                          "Після зміни параметрів запустіть програму !!!");
}

TDANI::TDANI(SettingsStore& settings, IPrompts& prompts, QObject* parent)
    : QObject(parent), TRANZ_RIZNE(BAZA, QStringLiteral("TRANZ_RIZNE")),
      TRANZ_AKTIV_ZAMOVL(BAZA, QStringLiteral("TRANZ_AKTIV_ZAMOVL")),
      // The closed orders of a period run to tens of thousands: their lists read as the
      // grid scrolls, in transactions that may stay open meanwhile.
      TRANZ_VIKON_ZAMOVL(BAZA, QStringLiteral("TRANZ_VIKON_ZAMOVL"),
                         FbTransaction::Access::ReadOnlyReadCommitted),
      TRANZ_DELETE_ZAMOVL(BAZA, QStringLiteral("TRANZ_DELETE_ZAMOVL"),
                          FbTransaction::Access::ReadOnlyReadCommitted),
      TRANZ_ZADIANI_AVTO(BAZA, QStringLiteral("TRANZ_ZADIANI_AVTO")),
      TRANZ_TABLE_ZADIANI_AVTO_GROUP(BAZA, QStringLiteral("TRANZ_TABLE_ZADIANI_AVTO_GROUP")),
      TRANZ_DIY_VODY_GPRS(BAZA, QStringLiteral("TRANZ_DIY_VODY_GPRS")),
      TRANZ_TABL_KARTA(BAZA, QStringLiteral("TRANZ_TABL_KARTA")),
      TRANZ_TABL_DELETE_POMITKI(BAZA, QStringLiteral("TRANZ_TABL_DELETE_POMITKI")),
      TRANZ_FOR_EVENTS(BAZA, QStringLiteral("TRANZ_FOR_EVENTS")),
      TRANZ_ANALIZ(BAZA, QStringLiteral("TRANZ_ANALIZ")), RIZNE(TRANZ_RIZNE), DODAT_RIZNE(TRANZ_RIZNE),
      TABL_KARTA(TRANZ_TABL_KARTA), TABL_DELETE_POMITKI(TRANZ_TABL_DELETE_POMITKI),
      TABL_DELETE_POMITKI_DOD(TRANZ_TABL_DELETE_POMITKI), RIZNE_EVENTS(TRANZ_FOR_EVENTS),
      RIZNE_DOD_EVENTS(TRANZ_FOR_EVENTS), TABLE_ANALIZ(TRANZ_ANALIZ),
      TABL_AKTIV_ZAMOVL(TRANZ_AKTIV_ZAMOVL, QStringLiteral("TABL_AKTIV_ZAMOVL")),
      TABL_VIKON_ZAMOVL(TRANZ_VIKON_ZAMOVL, QStringLiteral("TABL_VIKON_ZAMOVL"),
                        FbDataSet::Fetching::AsNeeded),
      TABL_DELETE_ZAMOVL(TRANZ_DELETE_ZAMOVL, QStringLiteral("TABL_DELETE_ZAMOVL"),
                         FbDataSet::Fetching::AsNeeded),
      TABL_ZADIANI_AVTO(TRANZ_ZADIANI_AVTO, QStringLiteral("TABL_ZADIANI_AVTO")),
      TABLE_ZADIANI_AVTO_GROUP(TRANZ_TABLE_ZADIANI_AVTO_GROUP, QStringLiteral("TABLE_ZADIANI_AVTO_GROUP")),
      TABL_DIY_VODY_GPRS(TRANZ_DIY_VODY_GPRS, QStringLiteral("TABL_DIY_VODY_GPRS")), m_settings(settings),
      m_prompts(prompts)
{
    wireListHooks();
    connect(&IBEvents1, &FbEventListener::eventsAlert, this, &TDANI::OnEventAlert);
}

TDANI::~TDANI()
{
    IBEvents1.cancel();
}

bool TDANI::ConnectDatabase()
{
    const ServerSettings server = ServerSettings::fromStore(m_settings);
    try {
        m_view->setMainCaption(QStringLiteral("Диспетчер \"ZORvane-TAXI\"  [") + server.nameBaza +
                               QLatin1Char(']'));
        IBEvents1.cancel();
        BAZA.disconnect();
        BAZA.connect(server.connectionParameters());
        IBEvents1.registerEvents(BAZA, eventNames());
        SetInitialListState();
        // Messages written before this start are history, not news.
        const FbRows& rows =
            RIZNE_EVENTS.exec(QStringLiteral("SELECT MAX(MSG_FOR_DISP_NP) FROM MSG_FOR_DISP"));
        m_lastShownMessage = rows.isEmpty() || !rows.rows[0][0].isValid() ? -1 : rows.rows[0][0].toLongLong();
        TRANZ_FOR_EVENTS.commit();
        return true;
    } catch (const DbError&) {
        IBEvents1.cancel();
        BAZA.disconnect();
        m_prompts.message(connectionFailedMessage());
        return false;
    }
}

void TDANI::SetInitialListState()
{
    TABL_VIKON_ZAMOVL.sortText = QStringLiteral("CZ_NUMBER");
    TABL_DELETE_ZAMOVL.sortText = QStringLiteral("CZ_NUMBER");
    TABL_AKTIV_ZAMOVL.sortText = QStringLiteral("ZAMOVL_DATA_PRIYOMA, ZAMOVL_CHAS_PRIYOMA");
    TABL_DIY_VODY_GPRS.sortText = QStringLiteral("ORDER BY DYA_VODIY_GPRS_NP DESC");
    TABL_ZADIANI_AVTO.sortText = QStringLiteral("ORDER BY ZAD_AVTO_POZIVNIY");
    clientsFilter = QStringLiteral("WHERE (KLIENT_DODATKOVO LIKE '%' || '[00000]' || '%')");
    clientsSort = QStringLiteral("ORDER BY KLIENT_DODATKOVO");
    for (FbDataSet* list : {&TABL_AKTIV_ZAMOVL, &TABL_VIKON_ZAMOVL, &TABL_DELETE_ZAMOVL, &TABL_ZADIANI_AVTO,
                            &TABLE_ZADIANI_AVTO_GROUP, &TABL_DIY_VODY_GPRS}) {
        list->rememberedRow = 0;
        list->filterText.clear();
    }
}

// ---- hooks of the lists ------------------------------------------------------------

void TDANI::wireListHooks()
{
    // The hooks run whenever a list opens or moves, from grids and timers too: a failed
    // read is shown and the list stays where it is, so no exception leaves the UI.
    auto shown = [this](std::function<void()> reaction) {
        return [this, reaction] {
            try {
                reaction();
            } catch (const DbError& e) {
                m_prompts.message(e.message());
            }
        };
    };
    TABL_VIKON_ZAMOVL.afterOpen = shown([this] { afterExecutedOpened(); });
    TABL_VIKON_ZAMOVL.afterScroll =
        shown([this] { afterClosedScrolled(TABL_VIKON_ZAMOVL, DataModuleView::ClosedList::Executed); });
    TABL_DELETE_ZAMOVL.afterScroll =
        shown([this] { afterClosedScrolled(TABL_DELETE_ZAMOVL, DataModuleView::ClosedList::Deleted); });
    TABL_AKTIV_ZAMOVL.afterOpen = shown([this] { afterOpenOrdersOpened(); });
    TABL_AKTIV_ZAMOVL.afterScroll = shown([this] { afterOpenOrdersScrolled(); });
    TABL_ZADIANI_AVTO.beforeOpen = shown([this] { beforeDriversOpened(); });
}

int TDANI::countRows(const QString& statement)
{
    TRANZ_TABL_DELETE_POMITKI.commitIfActive();
    return TABL_DELETE_POMITKI.exec(statement).rowCount();
}

void TDANI::afterExecutedOpened()
{
    TRANZ_TABL_DELETE_POMITKI.commitIfActive();
    const FbRows& rows = TABL_DELETE_POMITKI.exec(
        QStringLiteral("Select COUNT(CZ_NUMBER) from CLOSEZAMOVLENNIA ") + TABL_VIKON_ZAMOVL.filterText);
    m_view->showExecutedCount(rows.isEmpty() ? 0 : rows.rows[0][0].toLongLong());
}

void TDANI::afterOpenOrdersOpened()
{
    if (TABL_AKTIV_ZAMOVL.isEmpty())
        m_view->setNearestStandPanelVisible(false);
}

void TDANI::beforeDriversOpened()
{
    const QString names = QStringLiteral("SELECT  (ZAD_AVTO_POZIVNIY) FROM  ZADIANI_AVTO ");
    const QString groupBy = QStringLiteral(" group by ZAD_AVTO_POZIVNIY");
    const int onAir = countRows(names + groupBy);
    const int gprs =
        countRows(names + QStringLiteral("WHERE ZAD_AVTO_MARKA_AVTO LIKE '%' || '{GPRS}' || '%'") + groupBy);
    const int free = countRows(QStringLiteral("SELECT  COUNT(ZAD_AVTO_POZIVNIY) FROM  ZADIANI_AVTO "
                                              "WHERE ZAD_AVTO_NOMER_ZAMOVL = 0") +
                               groupBy);
    const int freeAtStand = countRows(
        names + QStringLiteral("WHERE (ZAD_AVTO_NOMER_ZAMOVL = 0) AND (ZAD_AVTO_VULICA <> '[]{}')") +
        groupBy);
    m_driversView->showStandCounters(onAir, gprs, free, freeAtStand);
}

void TDANI::afterClosedScrolled(FbDataSet& list, DataModuleView::ClosedList which)
{
    DataModuleView::ClosedOrderDetails d;
    d.reason = displayText(list.value(QStringLiteral("CZ_PRICHINA_DELETE")));
    const qint64 client = list.value(QStringLiteral("CZ_NOMER_KLIENT")).toLongLong();
    const qint64 callsign = list.value(QStringLiteral("CZ_POZIVNIY")).toLongLong();
    d.clientName = d.clientAddress = d.clientPhone = kNotSet;
    d.driverName = d.driverAddress = d.driverPhone = d.car = kNotSet;
    TRANZ_TABL_DELETE_POMITKI.commitIfActive();
    if (client != 0) {
        const FbRows& rows = TABL_DELETE_POMITKI_DOD.exec(
            QStringLiteral("Select * from KLIENT WHERE ") +
            sql::clientCodeCondition(QStringLiteral("KLIENT_DODATKOVO"), client));
        d.clientName = d.clientAddress = d.clientPhone = QString();
        if (!rows.isEmpty()) {
            d.clientName = displayText(rows.value(0, QStringLiteral("KLIENT_FIO")));
            d.clientAddress = displayText(rows.value(0, QStringLiteral("KLIENT_ADRESS")));
            d.clientPhone = displayText(rows.value(0, QStringLiteral("KLIENT_TELEFON")));
        }
    }
    if (callsign != 0) {
        d.driverName = displayText(list.value(QStringLiteral("CZ_FIO_TAXI")));
        d.driverAddress = d.driverPhone = QString();
        const FbRows& driver = TABL_DELETE_POMITKI_DOD.exec(
            QStringLiteral("Select * from VODII WHERE (TABL_VODIY_FIO = %1)").arg(sql::text(d.driverName)));
        if (!driver.isEmpty()) {
            d.driverAddress = displayText(driver.value(0, QStringLiteral("TABL_VODIY_ADRESSA")));
            d.driverPhone = displayText(driver.value(0, QStringLiteral("TABL_VODIY_TELEFON")));
        }
        const FbRows& car = TABL_DELETE_POMITKI_DOD.exec(
            QStringLiteral("Select * from DANI_AVTO WHERE (TABL_AVTO_POZIVN = %1)")
                .arg(sql::integer(callsign)));
        auto field = [&](const char* column) {
            return car.isEmpty() ? QString() : displayText(car.value(0, QLatin1String(column)));
        };
        d.car = QStringLiteral("позивний [%1] номер авто [%2] модель [%3] колір [%4] пасажиромісткість [%5] "
                               "вантажопідйомність [%6]")
                    .arg(QString::number(callsign), field("TABL_AVTO_NOMERAVTO"), field("TABL_AVTO_MODEL"),
                         field("TABL_AVTO_KOLIR"), field("TABL_AVTO_KILPASAZHIR"), field("TABL_AVTO_VAGA"));
    }
    TRANZ_TABL_DELETE_POMITKI.commitIfActive();
    m_view->showClosedOrderDetails(which, d);
}

void TDANI::afterOpenOrdersScrolled()
{
    emit currentOpenOrderMoved();
}

// ---- event alerts ------------------------------------------------------------------

void TDANI::OnEventAlert(const QStringList& names)
{
    auto has = [&](const char* name) { return names.contains(QLatin1String(name)); };
    try {
        if (has("EV_InsertMSG_FOR_DISP"))
            showNewDispatcherMessages();
        if (has("EV_InsertDYA_VODIY_GPRS")) {
            TABL_DIY_VODY_GPRS.close();
            emit listsClosed();
        }
        if (has("EV_REFLESH_ZAD_AVTO")) {
            TABL_ZADIANI_AVTO.close();
            TABLE_ZADIANI_AVTO_GROUP.close();
            emit listsClosed();
            emit driversChanged();
        }
        for (const char* name : {"EV_InsertZAMOVLENNIA", "EV_UpdateZAMOVLENNIA"}) {
            if (!has(name))
                continue;
            TABL_AKTIV_ZAMOVL.close();
            emit listsClosed();
            emit openOrdersChanged();
        }
        if (has("EV_InsertCLZAMOVLENNIA") || has("EV_UpdateCLZAMOVLENNIA")) {
            TABL_VIKON_ZAMOVL.close();
            TABL_DELETE_ZAMOVL.close();
            emit listsClosed();
        }
        if (has("EV_INSERT_BUDINKA"))
            emit mapPointsAdded();
    } catch (const DbError& e) {
        // The rest of this alert is skipped; the next alert starts afresh.
        TRANZ_FOR_EVENTS.rollbackQuietly();
        m_prompts.message(e.message());
    }
}

void TDANI::showNewDispatcherMessages()
{
    TRANZ_FOR_EVENTS.commitIfActive();
    // Several messages may arrive as one alert: show every one newer than the last
    // shown, oldest first, so the newest ends up on top.
    const QString newer =
        m_lastShownMessage < 0
            ? QStringLiteral("(MSG_FOR_DISP_NP = (SELECT MAX(MSG_FOR_DISP_NP) FROM MSG_FOR_DISP))")
            : QStringLiteral("(MSG_FOR_DISP_NP > %1)").arg(sql::integer(m_lastShownMessage));
    const FbRows& rows =
        RIZNE_EVENTS.exec(QStringLiteral("SELECT MSG_FOR_DISP_NP, MSG_FOR_DISP_FIO, MSG_FOR_DISP_TEXT, "
                                         "MSG_FOR_DISP_DATA  FROM  MSG_FOR_DISP "
                                         "WHERE (MSG_FOR_DISP_NP <> 0) AND %1 ORDER BY MSG_FOR_DISP_NP")
                              .arg(newer));
    const FbRows messages = rows;
    TRANZ_FOR_EVENTS.commitIfActive();
    if (messages.isEmpty())
        return;
    for (int i = 0; i < messages.rowCount(); ++i) {
        const QStringList block = {
            QStringLiteral("\n\r\n\r"),
            displayText(messages.value(i, QStringLiteral("MSG_FOR_DISP_TEXT"))),
            QStringLiteral("\r"),
            displayText(messages.value(i, QStringLiteral("MSG_FOR_DISP_DATA"))),
            QLatin1Char('[') + displayText(messages.value(i, QStringLiteral("MSG_FOR_DISP_FIO"))) +
                QLatin1Char(']'),
            QString(38, QLatin1Char('*')),
        };
        for (const QString& line : block)
            m_messages->insertMessageLineAtTop(line);
        m_lastShownMessage =
            std::max(m_lastShownMessage, messages.value(i, QStringLiteral("MSG_FOR_DISP_NP")).toLongLong());
    }
    if (!m_messages->messagesFormShowing())
        m_messages->showMessagesForm();
}
