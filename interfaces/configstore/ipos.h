#pragma once
// A point of sale of a site (`POS` in `POSCONFIG`): its priority, camera, preset and whether
// the camera may move. The flag is stored as -1 (true) or 0 and reads true for any non-zero
// number. Every member is S_OK; a value whose element or text is missing from a hand-edited file
// gives E_FAIL and writes nothing.

#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>

namespace configstore {

class ORVEX_INTERFACE IPOS
{
public:
    virtual ~IPOS() = default;

    virtual HRESULT SetPriority(std::int16_t priority) = 0;
    virtual HRESULT GetPriority(std::int16_t *priority) = 0;
    virtual HRESULT SetCamera(std::int16_t cameraNum) = 0;
    virtual HRESULT SetMovableFlag(bool movableFlag) = 0;
    virtual HRESULT SetPreset(std::int16_t preset) = 0;
    virtual HRESULT GetCamera(std::int16_t *cameraNum) = 0;
    virtual HRESULT GetMovableFlag(bool *movableFlag) = 0;
    virtual HRESULT GetPreset(std::int16_t *preset) = 0;
};

} // namespace configstore
