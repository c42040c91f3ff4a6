#pragma once

#include <QTemporaryDir>

// What every benchmark program sets up before its QApplication: windows offscreen and a
// work folder of its own, which also keeps the embedded engine's lock files.
class BenchSetup
{
public:
    BenchSetup();
    QString path() const { return m_work.path(); }

private:
    QTemporaryDir m_work;
};
