#pragma once

#include "foundation/SettingsStore.h"
#include "foundation/ui/FormShell.h"

#include <QHash>

class QCheckBox;
class QFormLayout;
class QLabel;
class QPushButton;

// The settings window: a read-only display of every setting of the workstation, grouped
// as the settings store groups them, with the three switches that act on the main window.
// Reads SETSERVER.INI when it is created.
class TForm4 : public FormShell
{
    Q_OBJECT
public:
    explicit TForm4(SettingsStore& store, QWidget* parent = nullptr);

    // Caption shown beside a key's value.
    static QString captionOf(const QString& key);
    QString shownValue(const QString& key) const;
    // The caption beside a shown value or of its check box, and the group it sits in.
    QString shownCaption(const QString& key) const;
    QString shownGroup(const QString& key) const;

signals:
    void forcedAnalysisRequested();
    void openAnalysisFileRequested();

private:
    void showValue(const QString& key);
    QFormLayout* groupLayout(const QString& group);
    QFormLayout* layoutFor(const QString& key);

    SettingsStore& m_store;
    QHash<QString, QFormLayout*> m_groups;
    QHash<QString, QLabel*> m_values;
    QHash<QString, QLabel*> m_captions;
    QHash<QString, QCheckBox*> m_flags;
    QFormLayout* m_autoDistribution = nullptr;
    QCheckBox* m_switches[3] = {};
    QPushButton* m_forcedAnalysis = nullptr;
    QPushButton* m_openAnalysisFile = nullptr;
};
