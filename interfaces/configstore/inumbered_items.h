#pragma once
// The numbers a numbered list of the store answers for: an in-process addition, beside the
// list's own members, that spares a reader of the whole list trying every 16-bit number when the
// list counts items no number finds (an element without NUMBER). The store's camera (its
// presets) and a dispenser's camera presets (its preset events) offer it; a reader reaches it
// with dynamic_pointer_cast on the ICamera or ICameraPresets it holds, and tries every number
// where it is not offered.
//
// GetNumbers: S_OK and, lowest first, each once, exactly the numbers for which the list's Get
// (GetPreset, GetPresetEvent) would not return E_INVALIDARG now; negative numbers included.
// E_FAIL and no numbers when the list cannot say (its container is missing, or there is no
// memory to list them): the reader then tries every number.

#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <vector>

namespace configstore {

class ORVEX_INTERFACE INumberedItems
{
public:
    virtual ~INumberedItems() = default;

    virtual HRESULT GetNumbers(std::vector<std::int16_t> *numbers) = 0;
};

} // namespace configstore
