#include "orders/intake/ClientLookup.h"

#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "foundation/fb/FbQuery.h"
#include "platform/Prompts.h"

namespace {

const QString kCodeColumn = QStringLiteral("KLIENT_DODATKOVO");
constexpr int kCallerNumberLength = 32;

const QStringList& clientColumns()
{
    static const QStringList columns = {
        QStringLiteral("KLIENT_NUMBER"),           QStringLiteral("KLIENT_FIO"),
        QStringLiteral("KLIENT_ADRESS"),           QStringLiteral("KLIENT_TELEFON"),
        QStringLiteral("KLIENT_DODATKOVO"),        QStringLiteral("KLIENT_BALANS"),
        QStringLiteral("KLIENT_DATA_BALANSA"),     QStringLiteral("KLIENT_ZNIZHKA"),
        QStringLiteral("KLIENT_KIL_VIKLIK"),       QStringLiteral("KLIENT_KIL_FREE_VIKLIK"),
        QStringLiteral("KLIENT_DATA_NARODZENNIA"),
    };
    return columns;
}

} // namespace

ClientLookup::ClientLookup(TDANI& dani, IPrompts& prompts)
    : m_dani(dani), m_prompts(prompts), m_transaction(dani.BAZA, QStringLiteral("TRANZ_KLIENT")),
      m_list(m_transaction, QStringLiteral("TABL_KLIENT"))
{
}

void ClientLookup::setFilter(const QString& condition)
{
    m_dani.clientsFilter = QStringLiteral("WHERE ") + condition;
}

void ClientLookup::filterByCode(qint64 code)
{
    setFilter(sql::clientCodeCondition(kCodeColumn, code));
}

void ClientLookup::filterByCodeText(const QString& typed)
{
    filterByCode(typedInteger(typed));
}

void ClientLookup::filterByName(const QString& text)
{
    setFilter(sql::containsCondition(QStringLiteral("KLIENT_FIO"), text));
}

void ClientLookup::filterByAddress(const QString& text)
{
    setFilter(sql::containsCondition(QStringLiteral("KLIENT_ADRESS"), text));
}

bool ClientLookup::suffixTableExists()
{
    if (m_suffixTable)
        return *m_suffixTable;
    try {
        FbQuery query(m_transaction);
        m_transaction.commitIfActive();
        m_suffixTable = !query
                             .exec(QStringLiteral("SELECT 1 FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = "
                                                  "'KLIENT_TELEFON_SUFIKS'"))
                             .isEmpty();
        m_transaction.commit();
    } catch (const DbError&) {
        m_transaction.rollbackQuietly();
        return false; // asked again next time
    }
    return *m_suffixTable;
}

void ClientLookup::filterByTelephone(const QString& text)
{
    if (!text.isEmpty() && callerNumber(text) == text && suffixTableExists()) {
        m_dani.clientsFilter = QStringLiteral("JOIN (SELECT DISTINCT KT_KLIENT_NUMBER FROM "
                                              "KLIENT_TELEFON_SUFIKS WHERE KT_SUFIKS STARTING WITH ") +
                               sql::text(text) +
                               QStringLiteral(") T ON (KLIENT.KLIENT_NUMBER = T.KT_KLIENT_NUMBER)");
        return;
    }
    setFilter(sql::containsCondition(QStringLiteral("KLIENT_TELEFON"), text));
}

QString ClientLookup::callerNumber(const QString& networkNumber)
{
    QString kept;
    for (const QChar c : networkNumber) {
        if (kept.size() == kCallerNumberLength)
            break;
        if ((c >= u'0' && c <= u'9') || c == u'+' || c == u'*' || c == u'#')
            kept += c;
    }
    return kept;
}

bool ClientLookup::filterByCaller(const QString& networkNumber)
{
    const QString number = callerNumber(networkNumber);
    if (number.isEmpty())
        return false;
    filterByTelephone(number);
    return true;
}

bool ClientLookup::orderBy(const QString& column)
{
    if (!clientColumns().contains(column))
        return false;
    m_dani.clientsSort = QStringLiteral("ORDER BY ") + column;
    return true;
}

QString ClientLookup::statement() const
{
    return QStringLiteral("SELECT KLIENT.* FROM  KLIENT\n") + m_dani.clientsFilter + QLatin1Char('\n') +
           m_dani.clientsSort;
}

bool ClientLookup::requery()
{
    m_list.close();
    m_list.setSql(statement());
    try {
        m_list.open();
        return true;
    } catch (const DbError& e) {
        m_transaction.rollbackQuietly();
        m_prompts.message(e.message());
        return false;
    }
}

std::optional<ClientCard> ClientLookup::current() const
{
    if (m_list.isEmpty())
        return std::nullopt;
    return ClientCard::fromCurrentRow(m_list);
}
