#include "platform/hresult.h"

#include <gtest/gtest.h>

#include <cerrno>

TEST(AResultCode, FailsOnlyWithTheSignBitSet)
{
    EXPECT_TRUE(SUCCEEDED(S_FALSE));
    EXPECT_TRUE(FAILED(E_FAIL));
    EXPECT_EQ(DescribeResult(E_INVALIDARG), "The parameter is incorrect.");
    EXPECT_EQ(DescribeResult(ResultFromErrno(ENOSPC)), "No space left on device");
    EXPECT_EQ(DescribeResult(MakeResult(0x80041234u)), "Unknown error 0x80041234");
}
