#pragma once
// A fresh configuration store in a private install folder, for every test.

#include "configstore/orvex_config.h"
#include "support/tests/scoped_temp_folder.h"

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
        ::setenv("ORVEX_INSTALL_DIR", m_folder.c_str(), 1);
        ASSERT_EQ(m_config.LoadAndParse(), S_OK);
    }

    void TearDown() override { ::unsetenv("ORVEX_INSTALL_DIR"); }

    // A site named `name`, created when missing.
    std::shared_ptr<ISite> site(const std::string &name = "Default")
    {
        std::shared_ptr<ISite> result;
        EXPECT_EQ(m_config.NewSite(&name, &result), S_OK);
        return result;
    }

    std::string path(const std::string &file) const { return (m_folder / file).string(); }

    ScopedTempFolder m_temp{"configstore"};
    std::filesystem::path m_folder = m_temp.path();
    OrvexConfig m_config;
};

} // namespace configstore::testing
