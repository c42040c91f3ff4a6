#pragma once

#include <QString>

class SettingsStore;
class TDANI;

// TARIF.INI: the firm-wide settings every workstation shares. Its master copy is the
// table SET_TARIFI; each log-in writes the local file afresh and loads it. The file lives
// in the executable's folder and holds the SIP passwords, so it is replaced in one step
// and readable by its owner only.
class TarifIni
{
public:
    static QString filePath();

    // Writes SET_TARIFI, line by line in SET_TARIF_NOMER order, as cp1251 with CR LF.
    // Returns empty text on success, else the reason; on failure the old file stays.
    static QString regenerate(TDANI& dani);

    // Loads the file into the store. Without a file nothing changes and false comes back:
    // the settings keep their earlier values.
    static bool load(SettingsStore& store);

    struct Outcome
    {
        QString regenerateError; // empty when the file was written afresh
        bool loaded = false;
    };
    // The log-in's step: regenerate, then load whatever file there is (an old file
    // when the database could not be read).
    static Outcome regenerateAndLoad(TDANI& dani, SettingsStore& store);
};
