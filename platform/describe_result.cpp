#include "hresult.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

std::string DescribeResult(HRESULT hr)
{
    switch (hr) {
    case S_OK: return "The operation completed successfully.";
    case S_FALSE: return "Incorrect function.";
    case E_NOTIMPL: return "Not implemented";
    case E_NOINTERFACE: return "No such interface supported";
    case E_POINTER: return "Invalid pointer";
    case E_ABORT: return "Operation aborted";
    case E_FAIL: return "Unspecified error";
    case E_UNEXPECTED: return "Catastrophic failure";
    case E_ACCESSDENIED: return "Access is denied.";
    case E_HANDLE: return "The handle is invalid.";
    case E_OUTOFMEMORY: return "Not enough memory resources are available to complete this operation.";
    case E_INVALIDARG: return "The parameter is incorrect.";
    case STG_E_FILENOTFOUND: return "%1 could not be found.";
    case DISP_E_TYPEMISMATCH: return "Type mismatch.";
    case DISP_E_OVERFLOW: return "Out of present range.";
    case CLASS_E_NOAGGREGATION: return "Class does not support aggregation (or class object is remote)";
    case CONNECT_E_NOCONNECTION: return "No connection for this connection point";
    case CONNECT_E_ADVISELIMIT: return "The connection point has reached its connection limit";
    case CONNECT_E_CANNOTCONNECT: return "The connection point cannot connect";
    case CONNECT_E_OVERRIDDEN: return "The connection point is overridden";
    default: break;
    }
    // A wrapped error number (ResultFromErrno) reads as the system's text for it, as a wrapped
    // system error does on Windows.
    if ((static_cast<std::uint32_t>(hr) & 0xFFFF0000u) == 0x80070000u) {
        char buffer[128];
        return strerror_r(static_cast<int>(hr & 0xFFFF), buffer, sizeof buffer);
    }
    char text[40];
    std::snprintf(text, sizeof text, "Unknown error 0x%08X", static_cast<unsigned>(hr));
    return text;
}
