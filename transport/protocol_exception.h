#pragma once
// A failure of the link protocol itself (as opposed to the serial port's CSerialException):
// a frame the unit never acknowledged. Its text is fixed and says what happened.

#include "platform/export.h"

#include <exception>
#include <string>
#include <utility>

namespace transport {

class ORVEX_INTERFACE CProtocolException : public std::exception
{
public:
    explicit CProtocolException(std::string text) : m_text(std::move(text)) {}
    [[nodiscard]] const char *what() const noexcept override { return m_text.c_str(); }

private:
    std::string m_text;
};

} // namespace transport
