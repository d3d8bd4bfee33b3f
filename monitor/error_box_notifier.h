#pragma once
// The console's notices as message boxes titled with the program's name. A box is modal and
// waits for its OK, so tests install a recording Notifier instead.
//
// Threads: a notice from another thread is shown later on the GUI thread, without waiting.
// Errors: none.

#include "platform/notifier.h"

namespace monitor {

class ErrorBoxNotifier : public Notifier
{
public:
    void notify(std::string_view text, NoticeKind kind) override;
};

} // namespace monitor
