#pragma once

#include <QStringList>

class TestDatabase;

// The POZ_ entries of one list section of the TARIF.INI lines kept in SET_TARIFI, as a
// loaded city gives them to the settings window.
QStringList tarifListEntries(TestDatabase& db, const QString& section);
