#include "store_fixture.h"

namespace configstore::testing {
namespace {

using AnOrvexConfig = StoreTest;

TEST_F(AnOrvexConfig, SavesAnEmptyConfigRootRightAfterLoading)
{
    ASSERT_EQ(m_config.SaveSite(), S_OK);
    EXPECT_EQ(ReadFile(path("orvexconfig.xml")), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CONFIG/>\n");
}

} // namespace
} // namespace configstore::testing
