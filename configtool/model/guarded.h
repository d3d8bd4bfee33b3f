#pragma once
// No exception may cross Qt's event loop. Every slot that a person's action or a bus signal runs
// goes through guarded(): a ComError or any other exception ends the handler, its text is shown
// in an error box and the program keeps running. Flags such as the loading flag and the wait
// cursor are restored by scope guards inside the handler, so nothing stays set after the box.

#include "configtool/model/prompter.h"

#include "platform/com_error.h"

#include <QString>

#include <exception>
#include <utility>

namespace configtool {

// Runs the handler; true when it ended without an exception.
template <typename Handler>
bool guarded(Prompter &prompter, Handler &&handler) noexcept
{
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (const std::exception &error) {
        try {
            prompter.error(QString::fromUtf8(error.what()));
        } catch (...) {
            // A box that cannot be shown must not take the program down either.
        }
    } catch (...) {
        try {
            prompter.error(QStringLiteral("Unknown error"));
        } catch (...) {
        }
    }
    return false;
}

} // namespace configtool
