#include "orders/intake/ClientCardEditor.h"

#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/SqlLiteral.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "foundation/fb/FbQuery.h"
#include "orders/intake/ClientCard.h"
#include "orders/intake/ClientLookup.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"

const QString ClientCardEditor::kNoNameOrCodeMessage =
    QStringLiteral("Незадане ФІО клієнта і/або не присвоєний код клієнта");
const QString ClientCardEditor::kCodeChangedMessage =
    QStringLiteral("Зміна кода клієнта, так як, попередній код активувався іншим користувачем програми. "
                   "При потребі повторіть спробу створення нового клієнта.");
const QString ClientCardEditor::kTelephonePrompt =
    QStringLiteral("Вкажіть номер телефона (цифровий, без допоміжних символів) :");

namespace {

const QString kTableRefreshedMessage = QStringLiteral(
    "Обновлення таблиці клієнтів. При потребі повторіть спробу редагування вибраного клієнта.");
const QString kCreateFailedMessage = QStringLiteral(
    "Помилка у створенні нового клієнта. Можливо неправильно внесені дані або задовгі назви даних");
const QString kEditFailedMessage = QStringLiteral(
    "Помилка у редагуванні вибраного клієнта. Можливо неправильно внесені дані або задовгі назви даних");

// A code the card may store: digits only, and not the unknown client's.
bool isClientCode(const QString& code)
{
    if (code.isEmpty())
        return false;
    for (const QChar c : code)
        if (c < u'0' || c > u'9')
            return false;
    return typedInteger(code) != 0;
}

QString birthDateLiteral(const std::optional<QDate>& date)
{
    return date ? sql::date(*date) : QStringLiteral("null");
}

} // namespace

ClientCardEditor::ClientCardEditor(TDANI& dani, SettingsStore& settings, IPrompts& prompts, IClock& clock,
                                   ClientLookup& lookup)
    : m_dani(dani), m_settings(settings), m_prompts(prompts), m_clock(clock), m_lookup(lookup),
      m_transaction(dani.BAZA, QStringLiteral("TRANZ_KLIENT_CARD"))
{
}

QSet<QString> ClientCardEditor::codesIn(const QStringList& extras)
{
    // Every "[" … "]" of every value: the same answer as looking for "[" code "]" in
    // the joined text, without scanning the whole table's text once per candidate.
    QSet<QString> codes;
    for (const QString& extra : extras) {
        for (qsizetype open = extra.indexOf(u'['); open >= 0; open = extra.indexOf(u'[', open + 1)) {
            const qsizetype close = extra.indexOf(u']', open + 1);
            if (close < 0)
                break;
            codes.insert(extra.mid(open + 1, close - open - 1));
        }
    }
    return codes;
}

ClientCardEditor::Assignment ClientCardEditor::assignCode()
{
    FbQuery query(m_transaction);
    m_transaction.commitIfActive();
    // Unsorted: the codes go into a set, and sorting 50,000 texts would double the time.
    const FbRows& rows = query.exec(QStringLiteral("SELECT KLIENT_DODATKOVO FROM KLIENT"));
    QStringList extras;
    extras.reserve(rows.rowCount());
    for (const auto& row : rows.rows)
        extras << (row[0].isValid() ? row[0].toString() : QString());
    m_transaction.commit();

    const QSet<QString> taken = codesIn(extras);
    qint64 candidate = typedInteger(m_settings.value(SettingKeys::kFirstNewClientCode));
    QString code;
    do {
        code = ClientCard::codeText(++candidate);
    } while (taken.contains(code));

    Assignment result;
    result.code = code;
    result.clientCount = rows.rowCount();
    result.hint = QStringLiteral("Присвоїти код клієнту.\rОстанній код який підбирався : [") + code +
                  QStringLiteral("]\rПопередній підрахунок кількості клієнтів : [") +
                  QString::number(result.clientCount) + QLatin1Char(']');
    return result;
}

bool ClientCardEditor::storeNewClient(const NewClientCard& card)
{
    const QString extra =
        QLatin1Char('[') + card.code + QStringLiteral("] приватний (") + card.password + QLatin1Char(')');
    const QString address = card.street + QLatin1Char(' ') + card.house + QLatin1Char('/') + card.apartment;
    const QString sql =
        QStringLiteral(
            "INSERT INTO KLIENT\n"
            "(KLIENT_NUMBER, KLIENT_FIO, KLIENT_ADRESS, KLIENT_TELEFON, KLIENT_DODATKOVO, KLIENT_BALANS, "
            "KLIENT_ZNIZHKA, KLIENT_KIL_VIKLIK, KLIENT_KIL_FREE_VIKLIK, KLIENT_DATA_BALANSA\n") +
        (card.birthDate ? QStringLiteral(", KLIENT_DATA_NARODZENNIA)\n") : QStringLiteral(")\n")) +
        QStringLiteral("VALUES (") +
        sql::nextNumber(QStringLiteral("KLIENT_NUMBER"), QStringLiteral("KLIENT"), 1) +
        QStringLiteral(", \n") + sql::text(card.name) + QStringLiteral(", ") + sql::text(address) +
        QStringLiteral(", ") + sql::text(card.telephones) + QStringLiteral(", ") + sql::text(extra) +
        QStringLiteral(", 0, 0, 0, 0, ") + sql::date(m_clock.now().date()) + QLatin1Char('\n') +
        (card.birthDate ? QStringLiteral(", ") + sql::date(*card.birthDate) + QLatin1Char(')')
                        : QStringLiteral(")"));

    FbQuery query(m_transaction);
    m_transaction.commitIfActive();
    query.exec(sql);
    // The code was free a moment ago; one that another workstation stored since then
    // is seen by this count, which runs in the insert's own snapshot.
    const FbRows& count =
        query.exec(QStringLiteral("SELECT COUNT(*) FROM KLIENT WHERE ") +
                   sql::clientCodeCondition(QStringLiteral("KLIENT_DODATKOVO"), typedInteger(card.code)));
    if (count.rows[0][0].toLongLong() != 1) {
        m_transaction.rollback();
        return false;
    }
    m_transaction.commit();
    return true;
}

ClientCardEditor::Outcome ClientCardEditor::create(const NewClientCard& card)
{
    if (!isClientCode(card.code) || card.name.trimmed().isEmpty()) {
        m_prompts.message(kNoNameOrCodeMessage);
        return Outcome::Invalid;
    }
    if (!m_prompts.question(QStringLiteral("Створити нового клієнта і перейти до його карточки ?")))
        return Outcome::Declined;
    try {
        if (assignCode().code != card.code) {
            m_prompts.message(kCodeChangedMessage);
            return Outcome::CodeTaken;
        }
        if (!storeNewClient(card)) {
            m_prompts.message(kCodeChangedMessage);
            return Outcome::CodeTaken;
        }
    } catch (const DbError& e) {
        m_transaction.rollbackQuietly();
        // Two workstations inserting at the same moment compute the same row number;
        // the unique key makes the later one fail, and its code may be the same too.
        const bool collision = e.message().contains(QLatin1String("UQ_KLIENT_NUMBER"));
        m_prompts.message(collision ? kCodeChangedMessage : kCreateFailedMessage);
        return collision ? Outcome::CodeTaken : Outcome::Failed;
    }
    m_lookup.filterByCode(typedInteger(card.code));
    m_lookup.requery();
    return Outcome::Done;
}

ClientCardEditor::Outcome ClientCardEditor::edit(const EditedClientCard& card)
{
    const std::optional<ClientCard> shown = m_lookup.current();
    if (!shown)
        return Outcome::Invalid;
    if (!isClientCode(card.code) || card.name.trimmed().isEmpty()) {
        m_prompts.message(kNoNameOrCodeMessage);
        return Outcome::Invalid;
    }
    if (!m_prompts.question(QStringLiteral("Редагувати дані вибраного клієнта ?")))
        return Outcome::Declined;
    if (card.code != shown->code) {
        m_prompts.message(kTableRefreshedMessage);
        return Outcome::CodeTaken;
    }
    const qsizetype open = shown->extra.indexOf(u'(');
    const QString kept = open < 0 ? shown->extra : shown->extra.left(open);
    const QString extra = kept + (kept.endsWith(u' ') ? QStringLiteral("(") : QStringLiteral(" (")) +
                          card.password + QLatin1Char(')');
    const QString sql =
        QStringLiteral("UPDATE KLIENT\nSET  KLIENT_FIO = ") + sql::text(card.name) + QStringLiteral(", \n") +
        (card.address.isEmpty()
             ? QStringLiteral("     KLIENT_ADRESS = null, \n")
             : QStringLiteral("     KLIENT_ADRESS = ") + sql::text(card.address) + QStringLiteral(", \n")) +
        (card.telephones.isEmpty() ? QStringLiteral("     KLIENT_TELEFON = null, \n")
                                   : QStringLiteral("     KLIENT_TELEFON = ") + sql::text(card.telephones) +
                                         QStringLiteral(", \n")) +
        QStringLiteral("     KLIENT_DATA_NARODZENNIA = ") + birthDateLiteral(card.birthDate) +
        QStringLiteral(", \n     KLIENT_DODATKOVO = ") + sql::text(extra) +
        QStringLiteral("\nWHERE (KLIENT_NUMBER = ") + sql::integer(shown->number) + QLatin1Char(')');
    try {
        FbQuery query(m_transaction);
        m_transaction.commitIfActive();
        query.exec(sql);
        if (query.affectedRows() != 1) { // the row went away meanwhile
            m_transaction.rollback();
            m_prompts.message(kTableRefreshedMessage);
            return Outcome::CodeTaken;
        }
        m_transaction.commit();
    } catch (const DbError&) {
        m_transaction.rollbackQuietly();
        m_prompts.message(kEditFailedMessage);
        return Outcome::Failed;
    }
    m_lookup.filterByCode(typedInteger(card.code));
    m_lookup.requery();
    return Outcome::Done;
}

// ---- the cards' buttons --------------------------------------------------------------------

QString ClientCardEditor::appendedAfterBlank(const QString& text, const QString& addition)
{
    if (addition.isEmpty())
        return text;
    return text.isEmpty() ? addition : text + QLatin1Char(' ') + addition;
}

std::optional<QString> ClientCardEditor::askTelephone(Card card, const QString& code, const QString& offered)
{
    const QString title = card == Card::New
                              ? QStringLiteral("Добавлення телефона до коду клієнта : ")
                              : QStringLiteral("Добавлення нового телефона до існуючого коду клієнта : ");
    const QString answer = m_prompts.inputBox(title + code, kTelephonePrompt, offered);
    QString number;
    for (const QChar c : answer)
        if ((c >= u'0' && c <= u'9') || c == u' ')
            number += c;
    number = number.simplified();
    if (number.isEmpty())
        return std::nullopt;
    return number;
}

QStringList ClientCardEditor::streetsContaining(const QString& typed)
{
    QStringList streets;
    try {
        FbQuery query(m_transaction);
        m_transaction.commitIfActive();
        const FbRows& rows = query.exec(QStringLiteral("SELECT SPISOK_VUL_VULICA FROM VULICA_LUCK\n"
                                                       "WHERE (SPISOK_VUL_VULICA IS NOT NULL) AND ") +
                                        sql::containsCondition(QStringLiteral("SPISOK_VUL_VULICA"), typed) +
                                        QStringLiteral("\nGROUP BY SPISOK_VUL_VULICA"));
        for (const auto& row : rows.rows)
            streets << row[0].toString();
        m_transaction.commit();
    } catch (const DbError& e) {
        m_transaction.rollbackQuietly();
        m_prompts.message(e.message());
        return {};
    }
    return streets;
}

bool ClientCardEditor::confirmClearingNewCard()
{
    return m_prompts.question(QStringLiteral("Очистити поля для вводу інформації ?"));
}
