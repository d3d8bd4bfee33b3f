#include "platform/hresult.h"

#include <gtest/gtest.h>

TEST(AResultCode, FailsOnlyWithTheSignBitSet)
{
    EXPECT_TRUE(SUCCEEDED(S_FALSE));
    EXPECT_TRUE(FAILED(E_FAIL));
    EXPECT_EQ(DescribeResult(E_INVALIDARG), "The parameter is incorrect.");
}
