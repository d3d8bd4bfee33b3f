// A shared library with its own copy of the platform, as each component library has.
#include "platform/notifier.h"

extern "C" __attribute__((visibility("default"))) void RaiseNoticeFromModule(const char *text)
{
    Notify(text, NoticeKind::Error);
}
