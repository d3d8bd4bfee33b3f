#pragma once
// One preset entry of a dispenser (event, camera, preset). The dispenser owns it through a
// shared pointer and hands the same object to clients, so their changes are the site's. Once
// the dispenser table is let go (storage uninitialised), every member answers E_UNEXPECTED.
// Service thread only.

#include "interfaces/services/isite_tables.h"

namespace services {

class CameraPresetData final : public ICameraPresetData
{
public:
    explicit CameraPresetData(std::int16_t eventNumber) : m_eventNumber(eventNumber) {}

    HRESULT GetEventNumber(std::int16_t *eventNumber) override { return read(m_eventNumber, eventNumber); }
    HRESULT GetCameraNumber(std::int16_t *cameraNumber) override { return read(m_cameraNumber, cameraNumber); }
    HRESULT GetPresetNumber(std::int16_t *presetNumber) override { return read(m_presetNumber, presetNumber); }
    HRESULT SetCameraNumber(std::int16_t cameraNumber) override { return write(m_cameraNumber, cameraNumber); }
    HRESULT SetPresetNumber(std::int16_t presetNumber) override { return write(m_presetNumber, presetNumber); }

    void letGo() { m_letGo = true; }

    [[nodiscard]] std::int16_t eventNumber() const { return m_eventNumber; }
    [[nodiscard]] std::int16_t cameraNumber() const { return m_cameraNumber; }
    [[nodiscard]] std::int16_t presetNumber() const { return m_presetNumber; }

private:
    HRESULT read(std::int16_t field, std::int16_t *value) const
    {
        if (m_letGo)
            return E_UNEXPECTED;
        if (!value)
            return E_POINTER;
        *value = field;
        return S_OK;
    }
    HRESULT write(std::int16_t &field, std::int16_t value)
    {
        if (m_letGo)
            return E_UNEXPECTED;
        field = value;
        return S_OK;
    }

    const std::int16_t m_eventNumber;
    std::int16_t m_cameraNumber = 0;
    std::int16_t m_presetNumber = 0;
    bool m_letGo = false;
};

} // namespace services
