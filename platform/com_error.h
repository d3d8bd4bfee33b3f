#pragma once
// The exception thrown where a component raises a failed result and a caller further up catches
// it, traces its text and returns its code.

#include "export.h"
#include "hresult.h"

#include <stdexcept>
#include <string>

class ORVEX_INTERFACE ComError : public std::runtime_error
{
public:
    explicit ComError(HRESULT hr) : std::runtime_error(DescribeResult(hr)), m_hr(hr) {}
    ComError(HRESULT hr, const std::string &text) : std::runtime_error(text), m_hr(hr) {}

    [[nodiscard]] HRESULT result() const noexcept { return m_hr; }

private:
    HRESULT m_hr;
};

// Raises a failed result as a ComError; success codes pass through.
inline HRESULT ThrowIfFailed(HRESULT hr)
{
    if (FAILED(hr))
        throw ComError(hr);
    return hr;
}
