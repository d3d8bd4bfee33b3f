#pragma once
// A fresh configuration store in a private install folder, for every test.

#include "configstore/orvex_config.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace configstore::testing {

inline std::string ReadFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteFile(const std::filesystem::path &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

class StoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = std::filesystem::temp_directory_path()
                   / ("configstore-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-"
                      + info->name());
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        ::setenv("ORVEX_INSTALL_DIR", m_folder.c_str(), 1);
        ASSERT_EQ(m_config.LoadAndParse(), S_OK);
    }

    void TearDown() override { std::filesystem::remove_all(m_folder); }

    // A site named `name`, created when missing.
    std::shared_ptr<ISite> site(const std::string &name = "Default")
    {
        std::shared_ptr<ISite> result;
        EXPECT_EQ(m_config.NewSite(&name, &result), S_OK);
        return result;
    }

    std::string path(const std::string &file) const { return (m_folder / file).string(); }

    std::filesystem::path m_folder;
    OrvexConfig m_config;
};

} // namespace configstore::testing
