#pragma once
// An interest zone of a site (`INTEREST_ZONE` in `INTEREST_ZONES`): a camera, a preset and a
// text. Texts are UTF-8, stored and returned exactly as given. Every member is S_OK; a value
// whose element or text is missing from a hand-edited file gives E_FAIL and writes nothing; a
// text that is no valid UTF-8 or holds a character an XML file cannot carry (a control
// character other than tab, CR and LF) gives E_INVALIDARG and writes nothing.

#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <string>

namespace configstore {

class ORVEX_INTERFACE IInterestZone
{
public:
    virtual ~IInterestZone() = default;

    virtual HRESULT GetCameraNumber(std::int16_t *camera) = 0;
    virtual HRESULT GetPresetNumber(std::int16_t *preset) = 0;
    virtual HRESULT GetText(std::string *text) = 0;
    virtual HRESULT SetCameraNumber(std::int16_t camera) = 0;
    virtual HRESULT SetPresetNumber(std::int16_t preset) = 0;
    virtual HRESULT SetText(const std::string *text) = 0;
};

} // namespace configstore
