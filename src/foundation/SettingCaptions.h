#pragma once

#include <QString>

// What the settings window writes beside each setting: the caption the dispatcher
// reads, never the column or INI key the value came from, and whether the value is
// a yes/no shown as a check box.
namespace SettingCaptions {

struct Caption
{
    QString text;
    bool checkBox = false;
    // Shown in the automatic distribution sub-group of the order logic group.
    bool autoDistribution = false;
};

// The caption of a key; a key nobody has named yet gets a plain "Налаштування" so
// that no key name ever reaches the screen.
Caption of(const QString& key);

inline const QString kAutoDistributionGroup =
    QStringLiteral("  налаштування для автоматичної роздачи замовлень ...  ");

} // namespace SettingCaptions
