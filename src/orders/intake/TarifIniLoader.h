#pragma once

class IniFile;
class SettingsStore;

// Puts the workstation settings of TARIF.INI into the settings store, each under
// "SECTION/KEY" in its group of the settings window: every key with its default when it
// is missing, integers read as the Windows profile functions read them, yes/no values as
// "1"/"0", real numbers with a decimal point, lists as their non-empty entries joined by
// "\n". SETREGION and TARIFSITKA stay in the file: they are read when they are needed.
class TarifIniLoader
{
public:
    static void load(const IniFile& ini, SettingsStore& store);
};
