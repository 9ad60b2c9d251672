#include "platform/single_instance.h"
#include "platform/result.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vendura;

TEST(SingleInstance, ASecondCopyOnTheMachineIsRefusedUntilTheFirstEnds) {
    QTemporaryDir dir;
    const QString lock = dir.filePath(u"vendura.lock"_s);
    {
        SingleInstance first(lock);
        ASSERT_TRUE(first.acquired());
        EXPECT_FALSE(SingleInstance(lock).acquired());
    }
    EXPECT_TRUE(SingleInstance(lock).acquired());
}
