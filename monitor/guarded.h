#pragma once
// No exception may cross Qt's event loop: every slot that a person's action or a bus signal
// runs goes through RunGuarded (or a Guarded wrapper), which hands the text of whatever it
// throws to the Notifier (an error box in the programs, a record in tests) and returns normally.
//
// Ownership: Guarded's wrapper owns a copy of the callable. Threads: it runs where the slot runs.
// Errors: none escape; the notice is the exception's text.

#include "platform/notifier.h"

#include <exception>
#include <utility>

namespace monitor {

template <typename Body> void RunGuarded(Body &&body) noexcept
{
    try {
        std::forward<Body>(body)();
    } catch (const std::exception &error) {
        Notify(error.what(), NoticeKind::Error);
    } catch (...) {
        Notify("An unknown error occurred.", NoticeKind::Error);
    }
}

// A slot without arguments that runs `slot` guarded.
template <typename Slot> [[nodiscard]] auto Guarded(Slot slot)
{
    return [slot = std::move(slot)]() mutable noexcept { RunGuarded(slot); };
}

} // namespace monitor
