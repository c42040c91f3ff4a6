#include "mainwindow/BlackListController.h"

#include "dispatch/BlackList.h"
#include "dispatch/DispatchContext.h"
#include "dispatch/ListRefresh.h"
#include "foundation/DisplayText.h"
#include "foundation/TDANI.h"
#include "foundation/fb/DbError.h"
#include "platform/Prompts.h"

#include <optional>

namespace {

const QString kBarCaption = QStringLiteral("Добавлення позивного до чорного списку");
const QString kLiftCaption = QStringLiteral("Деактивація позивного з чорного списку");

// A callsign as typed: digits that fit a number, nothing else.
std::optional<qint64> parsedCallsign(const QString& text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

// The callsign of a pending entry "[<callsign>]": the text between its first "[" and
// its first "]".
std::optional<qint64> pendingCallsign(const QString& entry)
{
    const qsizetype open = entry.indexOf(QLatin1Char('['));
    const qsizetype close = entry.indexOf(QLatin1Char(']'));
    if (open < 0 || close <= open)
        return std::nullopt;
    return parsedCallsign(entry.mid(open + 1, close - open - 1));
}

} // namespace

BlackListController::BlackListController(DispatchContext& ctx, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_transaction(ctx.dani.BAZA, QStringLiteral("TRANZ_BL_DRIVER")),
      m_list(m_transaction, QStringLiteral("TABLE_BL_DRIVER"))
{
    m_list.setSql(QStringLiteral("SELECT * FROM BL_VODII WHERE (BL_STATUS = 1) ORDER BY BL_AVTO_POZIVN"));
}

void BlackListController::Shown()
{
    m_pending.clear();
    m_callsignBox.clear();
    m_reasonBox.clear();
    emit boxesChanged();
    reopenList();
}

void BlackListController::Closed()
{
    try {
        RefreshLists(m_ctx);
    } catch (const DbError& error) {
        m_ctx.prompts.message(error.message());
    }
    m_list.close();
    emit listReopened();
}

bool BlackListController::CallsignKey(int key, const QString& text)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        AddTypedToPending();
        return true;
    }
    if (text.size() == 1 && text.at(0).isDigit() && text.at(0).unicode() < 128) {
        m_callsignBox += text;
        emit boxesChanged();
    }
    return true;
}

void BlackListController::AddTypedToPending()
{
    if (m_callsignBox.isEmpty())
        return;
    if (!parsedCallsign(m_callsignBox)) {
        m_ctx.prompts.message(QStringLiteral("Не вірно вказаний позивний !!!"));
        return;
    }
    const QString entry = QLatin1Char('[') + m_callsignBox + QLatin1Char(']');
    if (!m_pending.contains(entry))
        m_pending.append(entry);
    m_callsignBox.clear();
    emit boxesChanged();
}

void BlackListController::ClearPending()
{
    m_pending.clear();
    emit boxesChanged();
}

void BlackListController::RemovePending(int index)
{
    if (index < 0 || index >= m_pending.size())
        return;
    m_pending.removeAt(index);
    emit boxesChanged();
}

void BlackListController::BarOneCallsign()
{
    IPrompts& prompts = m_ctx.prompts;
    const QString answer = prompts.inputBox(kBarCaption, QStringLiteral("Вкажіть номер позивного"), {});
    if (answer.isEmpty())
        return;
    const std::optional<qint64> callsign = parsedCallsign(answer);
    try {
        if (!callsign || !BlackList::CarExists(m_ctx, *callsign)) {
            prompts.message(QStringLiteral("Не найдено такий позивний [") + answer + QLatin1Char(']'));
            return;
        }
    } catch (const DbError& error) {
        prompts.message(error.message());
        return;
    }
    const QString reason = prompts.inputBox(
        kBarCaption,
        QStringLiteral("Відбудеться процес добавлення позивного у чорний список. Активне замовлення буде "
                       "повернене назад, водій примусово буде знятий з ефіра.Ведеться журнал дій диспетчерів "
                       "зміни статуса позивного !!!\rВкажіть причину внесення позивного до чорного списку :"),
        {});
    if (reason.isEmpty()) {
        prompts.message(QStringLiteral("Не вказано причину внесення позивного у чорний список. При потребі "
                                       "повторіть спробу."));
        return;
    }
    bar({*callsign}, reason);
}

void BlackListController::BarPendingCallsigns()
{
    IPrompts& prompts = m_ctx.prompts;
    if (m_reasonBox.trimmed().isEmpty()) {
        prompts.message(QStringLiteral("Не вказано причину внесення позивних у чорний список. При потребі "
                                       "повторіть спробу."));
        return;
    }
    if (m_pending.isEmpty() ||
        !prompts.question(QStringLiteral("Добавити у чорний список вказаних водіїв ?")))
        return;
    QList<qint64> callsigns;
    try {
        // A callsign without a car is passed over.
        for (const QString& entry : m_pending) {
            const std::optional<qint64> callsign = pendingCallsign(entry);
            if (callsign && BlackList::CarExists(m_ctx, *callsign))
                callsigns.append(*callsign);
        }
    } catch (const DbError& error) {
        prompts.message(error.message());
        return;
    }
    bar(callsigns, m_reasonBox);
}

void BlackListController::LiftChosen()
{
    if (!m_list.isOpen() || m_list.isEmpty())
        return;
    const BlackList::Entry entry{m_list.value(QStringLiteral("BL_VODIY_NOMER")).toLongLong(),
                                 m_list.value(QStringLiteral("BL_AVTO_POZIVN")).toLongLong(),
                                 displayText(m_list.value(QStringLiteral("BL_DATATIME")))};
    const QString reason = m_ctx.prompts.inputBox(
        kLiftCaption, QStringLiteral("Вкажіть причину деактивації позивного чорного списку"), {});
    if (reason.isEmpty())
        return;
    try {
        BlackList::Lift(m_ctx, entry, reason);
    } catch (const DbError& error) {
        m_ctx.prompts.message(error.message());
    }
    reopenList();
}

void BlackListController::bar(const QList<qint64>& callsigns, const QString& reason)
{
    if (!callsigns.isEmpty()) {
        try {
            BlackList::Bar(m_ctx, callsigns, reason);
        } catch (const DbError& error) {
            m_ctx.prompts.message(error.message());
        }
    }
    reopenList();
}

void BlackListController::reopenList()
{
    m_list.close();
    try {
        m_list.openAtRememberedRow();
    } catch (const DbError& error) {
        m_ctx.prompts.message(error.message());
    }
    emit listReopened();
}
