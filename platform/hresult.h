#pragma once
// Result codes of the component interfaces.
//
// Every interface member returns an HRESULT: a 32-bit signed value whose sign bit marks a
// failure. The values are the standard ones, so that a code written to a trace file or sent
// across the bus means the same to every reader. These Windows-style names stay at the
// component boundary.

#include <cstdint>
#include <string>

using HRESULT = std::int32_t;

inline constexpr HRESULT MakeResult(std::uint32_t value) { return static_cast<HRESULT>(value); }

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = MakeResult(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = MakeResult(0x80004002u);
inline constexpr HRESULT E_POINTER = MakeResult(0x80004003u);
inline constexpr HRESULT E_ABORT = MakeResult(0x80004004u);
inline constexpr HRESULT E_FAIL = MakeResult(0x80004005u);
inline constexpr HRESULT E_UNEXPECTED = MakeResult(0x8000FFFFu);
inline constexpr HRESULT E_ACCESSDENIED = MakeResult(0x80070005u);
inline constexpr HRESULT E_HANDLE = MakeResult(0x80070006u);
inline constexpr HRESULT E_OUTOFMEMORY = MakeResult(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = MakeResult(0x80070057u);
inline constexpr HRESULT STG_E_FILENOTFOUND = MakeResult(0x80030002u);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = MakeResult(0x80020005u);
inline constexpr HRESULT DISP_E_OVERFLOW = MakeResult(0x8002000Au);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = MakeResult(0x80040110u);
inline constexpr HRESULT CONNECT_E_NOCONNECTION = MakeResult(0x80040200u);
inline constexpr HRESULT CONNECT_E_ADVISELIMIT = MakeResult(0x80040201u);
inline constexpr HRESULT CONNECT_E_CANNOTCONNECT = MakeResult(0x80040202u);
inline constexpr HRESULT CONNECT_E_OVERRIDDEN = MakeResult(0x80040203u);

// Success codes have the sign bit clear (S_OK and S_FALSE both succeed).
inline constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
inline constexpr bool FAILED(HRESULT hr) { return hr < 0; }

// The wrapped failure code of a POSIX error number (the FACILITY_WIN32 form).
inline constexpr HRESULT ResultFromErrno(int err)
{
    return err <= 0 ? E_FAIL : MakeResult(0x80070000u | (static_cast<std::uint32_t>(err) & 0xFFFFu));
}

// The standard English text of a result code, without a trailing line break; a wrapped error
// number gives the system's text for it ("No space left on device"), other unknown codes read
// "Unknown error 0x80041234".
[[nodiscard]] std::string DescribeResult(HRESULT hr);
