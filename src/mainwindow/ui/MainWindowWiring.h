#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class FormShell;
class IClock;
class IPrompts;
class IProgramExit;
class MainWindowActions;
class MainWindowCommands;
class NearestStandDisplay;
class CarCard;
class MapWindowController;
class OrderMaintenanceController;
class OrderFormController;
class SecondTimer;
class SettingsStore;
class SoftphonePanel;
class ShiftChangeController;
class TForm1;
class TForm12;
class TForm3;
class TForm4;
class WorkAnalysisLog;
struct DispatchContext;

// The main window tied to its lists, commands, timer, shift change and the windows it
// opens. The other windows come as shells: the main window only shows them and learns
// when they close, so it never depends on their widgets. Disconnects on destruction.
class MainWindowWiring : public QObject
{
    Q_OBJECT
public:
    struct Windows
    {
        TForm1& main;
        TForm3& shiftChange;
        TForm4& settings;
        TForm12& messages;
        FormShell& orderForm;
        FormShell& carCard;
        FormShell& cityMap;
        FormShell& blackList;
        FormShell& maintenance;
        FormShell& hotKeys;
    };
    struct Logic
    {
        DispatchContext& dispatch;
        ShiftChangeController& shiftChange;
        MainWindowCommands& commands;
        NearestStandDisplay& nearestStand;
        IProgramExit& programExit; // a lost link ends the program through it
        OrderFormController& orderForm;
        MapWindowController& cityMap;
        OrderMaintenanceController& maintenance;
        CarCard& carCard;
        SoftphonePanel& softphone; // the dispatcher's telephone, for "Звінок клієнту"
    };

    MainWindowWiring(const Windows& windows, const Logic& logic, QObject* parent = nullptr);
    ~MainWindowWiring() override;

    // Opens the lists the shown pages need; a failure is shown, not thrown.
    void refreshShown();
    void openShiftChange();

    // The one-second timer and its jobs (benchmarks drive the ticks by hand).
    QTimer& timer() { return m_timer; }
    SecondTimer& secondTimer() { return *m_secondTimer; }
    // The work analysis log the schedule check and "Примусовий аналіз ..." write.
    WorkAnalysisLog& workLog() { return *m_workLog; }
    // The tool strips, menus and hot keys of the main window.
    MainWindowActions& actions() { return *m_actions; }

private:
    void wireLists();
    void wireWindows();
    void wireShiftChange();
    void wireTimer();
    void wireCommands();
    // A window opened for a task disables the main window while it is shown; when it
    // closes the main window is enabled and its lists refreshed.
    void makeTaskWindow(FormShell& window);
    // Runs a command that may reopen lists; a database failure is shown.
    void guarded(const std::function<void()>& command);
    void chooseHotOrder(const QString& line);

    TForm1& m_form1;
    TForm3& m_form3;
    TForm4& m_form4;
    TForm12& m_form12;
    FormShell& m_orderForm;
    FormShell& m_carCard;
    FormShell& m_cityMap;
    FormShell& m_blackList;
    FormShell& m_maintenance;
    FormShell& m_hotKeys;
    DispatchContext& m_dispatch;
    SettingsStore& m_settings;
    IPrompts& m_prompts;
    IClock& m_clock;
    ShiftChangeController& m_shiftChange;
    MainWindowCommands& m_commands;
    NearestStandDisplay& m_nearestStand;
    IProgramExit& m_programExit;
    OrderFormController& m_orderFormController;
    MapWindowController& m_cityMapController;
    OrderMaintenanceController& m_maintenanceController;
    CarCard& m_carCardController;
    SoftphonePanel& m_softphone;
    std::unique_ptr<WorkAnalysisLog> m_workLog;
    std::unique_ptr<SecondTimer> m_secondTimer;
    std::unique_ptr<MainWindowActions> m_actions;
    QTimer m_timer;
};
