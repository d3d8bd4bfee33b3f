#include "notifier.h"

#include <cstdio>
#include <mutex>
#include <string>

namespace platform_detail {

struct NotifierSlot
{
    std::mutex mutex;
    std::shared_ptr<Notifier> notifier;
};

// Exported, and programs export it too (ENABLE_EXPORTS), so that the copies linked into each
// shared library resolve to the program's one slot: a notice raised inside a library reaches the
// notifier the program installed. (A type of an unnamed namespace here would make the function
// local to each library.)
__attribute__((visibility("default"))) NotifierSlot &OrvexProcessNotifierSlot();

} // namespace platform_detail

using platform_detail::OrvexProcessNotifierSlot;

platform_detail::NotifierSlot &platform_detail::OrvexProcessNotifierSlot()
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
