#include "transport/camera_position_reply_count.h"

#include <atomic>

namespace transport {

namespace {
constexpr int kRepliesPerPosition = 3;
std::atomic<int> g_replyCount{0};
} // namespace

void ResetCameraPositionReplyCount()
{
    g_replyCount.store(0);
}

bool CountCameraPositionReply()
{
    int count = g_replyCount.load();
    for (;;) {
        const int next = count + 1 >= kRepliesPerPosition ? 0 : count + 1;
        if (g_replyCount.compare_exchange_weak(count, next))
            return next == 0;
    }
}

int CameraPositionReplyCount()
{
    return g_replyCount.load();
}

} // namespace transport
