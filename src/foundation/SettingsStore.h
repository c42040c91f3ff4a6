#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

// The workstation's settings in memory, as the settings window shows them: every value
// is a text held under its key (the INI key or the database column it came from), in a
// group of the window. Every part of the program reads its settings from here.
class SettingsStore : public QObject
{
    Q_OBJECT
public:
    // Groups of the settings window, top to bottom.
    static const QStringList& groupCaptions();
    static const QString kUserGroup;
    static const QString kActiveOrdersGroup;
    static const QString kOrderLogicGroup;
    static const QString kServerGroup;
    static const QString kAnalysisGroup;
    static const QString kMapBindingGroup;

    // Connection settings (from SETSERVER.INI).
    static const QString kServer;
    static const QString kPathBaza;
    static const QString kNameBaza;
    static const QString kLogin;
    static const QString kPass;

    // The three switches that act on the main window at once.
    enum class Switch { ActiveDriversTab, GprsMessagesTab, ExtraDriversPanel };

    explicit SettingsStore(QObject* parent = nullptr);

    QString value(const QString& key, const QString& defaultValue = {}) const;
    void setValue(const QString& group, const QString& key, const QString& value);
    bool contains(const QString& key) const { return m_values.contains(key); }
    QString groupOf(const QString& key) const { return m_groups.value(key); }
    // Keys of a group in the order they were first set.
    QStringList keysOf(const QString& group) const;
    // Sets every value of another store, under its group, in the order it was set there:
    // settings gathered aside come into force together.
    void takeValuesOf(const SettingsStore& other);

    // Check boxes read by other parts (rights, options): "1" counts as on.
    bool flag(const QString& key) const { return value(key) == QLatin1String("1"); }
    void setFlag(const QString& group, const QString& key, bool on) { setValue(group, key, on ? "1" : "0"); }

    bool switchOn(Switch which) const;
    void setSwitch(Switch which, bool on);

signals:
    void switchChanged(SettingsStore::Switch which, bool on);
    void valueChanged(const QString& key);

private:
    QHash<QString, QString> m_values;
    QHash<QString, QString> m_groups;
    QStringList m_order;
    bool m_switches[3] = {true, true, false};
};
