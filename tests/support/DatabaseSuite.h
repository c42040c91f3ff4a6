#pragma once

#include "support/TestDatabase.h"

#include <gtest/gtest.h>

// A suite whose tests share one fresh database, made when the suite starts and dropped
// when it ends (suites run one after the other).
class DatabaseSuite : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { db = new TestDatabase; }
    static void TearDownTestSuite()
    {
        delete db;
        db = nullptr;
    }
    static inline TestDatabase* db = nullptr;
};
