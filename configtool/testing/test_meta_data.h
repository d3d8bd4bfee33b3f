#pragma once
// The metadata files the tool's tests read: a small catalogue of our own beside this header,
// and the file the tool ships (data/OrvexMetaData.xml).

#include "configtool/model/orvex_meta_data.h"

#include <gtest/gtest.h>

#include <QString>

namespace configtool::testing {

inline QString testMetaDataPath()
{
    return QStringLiteral(ORVEX_TEST_METADATA);
}

inline QString shippedMetaDataPath()
{
    return QStringLiteral(ORVEX_SHIPPED_METADATA);
}

// The test catalogue, read; a read error fails the calling test.
inline OrvexMetaData testMetaData()
{
    OrvexMetaData metaData;
    const MetaDataReadResult result = metaData.ReadMetaData(testMetaDataPath());
    EXPECT_TRUE(result.ok()) << result.message.toStdString();
    return metaData;
}

} // namespace configtool::testing
