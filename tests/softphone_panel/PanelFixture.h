#pragma once

#include "../orders_intake/IntakeFixture.h"
#include "orders/intake/OrderFormController.h"
#include "orders/intake/SoftphonePanel.h"
#include "platform/audio/FakeAudioSystem.h"

#include <QTemporaryDir>
#include <memory>

// The softphone panel of the dispatcher "Оля О'Коннор" over a fresh database, a fake
// headset and a program folder of its own (for GarnituraDispetcher.ini). Nothing is
// configured until a test says so.
class PanelFixture : public IntakeFixture
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The SET_SIP values the log-in would have loaded from TARIF.INI.
    void setSipSettings(const QStringList& operators, const QString& cityCode = {},
                        const QString& prefixAsContact = QStringLiteral("1"));
    // An operator entry as TARIF.INI writes it.
    static QString operatorEntry(const QString& dispatcher, const QString& access, const QString& server,
                                 const QString& port, const QString& extension, const QString& password,
                                 const QString& outgoing = QStringLiteral("1"));
    void addDispatcher(const QString& name, qint64 number);
    // GarnituraDispetcher.ini naming these devices.
    void writeHeadsetFile(const QString& input, const QString& output);
    QString headsetFile() const;

    static QString dispatcher() { return QStringLiteral("Оля О'Коннор"); }

    FakeAudioSystem audio;
    QTemporaryDir folder;
    std::unique_ptr<OrderFormController> form;
    std::unique_ptr<SoftphonePanel> panel;
};
