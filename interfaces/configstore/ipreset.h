#pragma once
// A camera preset (`PRESET` in `PRESETS`) and its comment, UTF-8, stored and returned exactly
// as given. A null `comment` gives E_POINTER and writes nothing (SetComment takes a nullable
// string, as callers may hand on a string they never set); a comment that is no valid UTF-8 or
// holds a character an XML file cannot carry (a control character other than tab, CR and LF)
// gives E_INVALIDARG and writes nothing; a `COMMENT` element missing from a hand-edited file
// gives E_FAIL.

#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <string>

namespace configstore {

class ORVEX_INTERFACE IPreset
{
public:
    virtual ~IPreset() = default;

    virtual HRESULT GetComment(std::string *comment) = 0;
    virtual HRESULT SetComment(const char *comment) = 0;
};

} // namespace configstore
