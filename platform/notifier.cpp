#include "notifier.h"

#include <cstdio>
#include <mutex>
#include <string>

namespace {

struct NotifierSlot
{
    std::mutex mutex;
    std::shared_ptr<Notifier> notifier;
};

} // namespace

// Exported so that the copies linked into each shared library resolve to one slot per process:
// a notice raised inside a library reaches the notifier the program installed.
__attribute__((visibility("default"))) NotifierSlot &OrvexProcessNotifierSlot()
{
    static NotifierSlot slot;
    return slot;
}

std::shared_ptr<Notifier> SetNotifier(std::shared_ptr<Notifier> notifier)
{
    auto &slot = OrvexProcessNotifierSlot();
    std::lock_guard lock(slot.mutex);
    slot.notifier.swap(notifier);
    return notifier;
}

void Notify(std::string_view text, NoticeKind kind)
{
    std::shared_ptr<Notifier> notifier;
    {
        auto &slot = OrvexProcessNotifierSlot();
        std::lock_guard lock(slot.mutex);
        notifier = slot.notifier;
    }
    if (notifier) {
        notifier->notify(text, kind);
        return;
    }
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
}
