// The RecorderBridge shared library as the service loads it: only the factory is visible, and
// the interfaces work across the library boundary.

#include "interfaces/recorder_bridge/orvex_interface_factory.h"
#include "interfaces/recorder_bridge/orvex_component.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <stdlib.h>

namespace {

TEST(TheRecorderBridgeLibrary, MakesABridgeInTheInstallFolderThroughItsFactory)
{
    std::string folder = (std::filesystem::temp_directory_path() / "orvex-bridge-lib-XXXXXX").string();
    ASSERT_TRUE(mkdtemp(folder.data()));
    std::filesystem::copy_file(std::string(ORVEX_SOURCE_DIR) + "/data/RecorderBridgeConfig.xml",
                               folder + "/RecorderBridgeConfig.xml");
    setenv("ORVEX_INSTALL_DIR", folder.c_str(), 1);

    EXPECT_EQ(recorder_bridge::CreateOrvexInterface(nullptr), E_POINTER);
    std::shared_ptr<recorder_bridge::IOrvexInterface> bridge;
    ASSERT_EQ(recorder_bridge::CreateOrvexInterface(&bridge), S_OK);
    ASSERT_TRUE(bridge);
    EXPECT_TRUE(std::dynamic_pointer_cast<recorder_bridge::IOrvexComponent>(bridge));
    std::shared_ptr<recorder_bridge::IRetail> retail;
    EXPECT_EQ(bridge->getRetail(&retail), S_OK);
    EXPECT_TRUE(retail);
    EXPECT_EQ(bridge->FireTestMessage(), S_OK);
    bridge.reset();
    EXPECT_TRUE(std::filesystem::exists(folder + "/OrvexSettings.ini"));
    std::filesystem::remove_all(folder);
}

} // namespace
