#pragma once
// The recorder bridge made by its library's factory over a temporary install folder that holds
// the shipped point-of-sale rules, and a recorder subscriber of its fuelling events.

#include "fakes.h"

#include "interfaces/recorder_bridge/event_objects.h"
#include "interfaces/recorder_bridge/orvex_component.h"
#include "interfaces/recorder_bridge/orvex_interface.h"
#include "interfaces/recorder_bridge/orvex_interface_factory.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace fakes {

class RecordingFuelling final : public recorder_bridge::IFuellingEvents, public RecordingSink
{
public:
    HRESULT OnStartFuelDelivery(const std::string &Timestamp, std::int16_t EventSequenceNumber,
                                std::int16_t FuellingPositionID, std::int16_t EventID,
                                const std::string &EventDescription, std::int16_t CameraID) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_timestamp = Timestamp;
            m_sequence = EventSequenceNumber;
        }
        return add(Call("OnStartFuelDelivery", FuellingPositionID, EventID, EventDescription, CameraID));
    }
    HRESULT OnFinishFuelDelivery(const std::string &, std::int16_t, std::int16_t, std::int16_t, const std::string &,
                                 std::int16_t, Currency, Currency, double, const std::string &, std::int16_t,
                                 std::int16_t) override
    {
        return add(Call("OnFinishFuelDelivery"));
    }
    HRESULT OnFuellingEvent(const std::string &, std::int16_t, std::int16_t, std::int16_t, const std::string &,
                            std::int16_t) override
    {
        return add(Call("OnFuellingEvent"));
    }

    [[nodiscard]] std::string timestamp() const
    {
        std::lock_guard lock(m_mutex);
        return m_timestamp;
    }
    [[nodiscard]] std::int16_t sequence() const
    {
        std::lock_guard lock(m_mutex);
        return m_sequence;
    }

private:
    mutable std::mutex m_mutex;
    std::string m_timestamp;
    std::int16_t m_sequence = -1;
};

// A temporary install folder (ORVEX_INSTALL_DIR) holding the shipped rules file.
class InstallFolderWithRules
{
public:
    explicit InstallFolderWithRules(const std::string &name)
        : m_folder(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(m_folder);
        std::filesystem::copy_file(std::filesystem::path(ORVEX_SOURCE_DIR) / "data" / "RecorderBridgeConfig.xml",
                                   m_folder / "RecorderBridgeConfig.xml",
                                   std::filesystem::copy_options::overwrite_existing);
        ::setenv("ORVEX_INSTALL_DIR", m_folder.c_str(), 1);
    }
    ~InstallFolderWithRules()
    {
        ::unsetenv("ORVEX_INSTALL_DIR");
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    InstallFolderWithRules(const InstallFolderWithRules &) = delete;
    InstallFolderWithRules &operator=(const InstallFolderWithRules &) = delete;

    [[nodiscard]] const std::filesystem::path &path() const { return m_folder; }

private:
    std::filesystem::path m_folder;
};

} // namespace fakes
