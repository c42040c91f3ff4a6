#include "common/BenchSetup.h"

#include <QDir>

BenchSetup::BenchSetup() : m_work(QDir::tempPath() + QStringLiteral("/taxi-bench-XXXXXX"))
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("FIREBIRD_LOCK"))
        qputenv("FIREBIRD_LOCK", m_work.path().toLocal8Bit());
}
