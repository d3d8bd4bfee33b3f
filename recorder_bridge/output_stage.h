#pragma once
// The bridge's last stage: takes every finished item from the parser and hands it, on the
// output thread, to the event object of its kind; plate and registration items also go to the
// licence plate recognizer as new items of their own.
//
// The thread goes idle while its queue is empty and the next post wakes it, so that an idle
// bridge costs nothing and an item is fired as soon as it arrives. An exception while one item
// is handled is traced ("Error Handling item in output thread - caught exception") and only
// that item is dropped: the thread lives as long as the stage. Stopping deletes the items still
// queued without firing them. The targets are set once, before any item can arrive.

#include "message_item.h"
#include "support/queued_worker_thread.h"

#include <memory>

namespace recorder_bridge {

class Fuelling;
class ForecourtCamera;
class PaymentTerminal;
class Retail;
class LicencePlateRecognizer;
class ImageCapture;

struct OutputTargets
{
    std::shared_ptr<Fuelling> fuelling;
    std::shared_ptr<ForecourtCamera> forecourtCamera;
    std::shared_ptr<PaymentTerminal> paymentTerminal;
    std::shared_ptr<Retail> retail;
    std::shared_ptr<LicencePlateRecognizer> recognizer;
    std::shared_ptr<ImageCapture> imageCapture;
};

class OutputStage final : public support::QueuedWorkerThread
{
public:
    OutputStage();
    ~OutputStage() override;

    // Call before the first item is posted.
    void SetTargets(OutputTargets targets) { m_targets = std::move(targets); }

    // Routes one item; public so that a caller can drive the routing without the thread.
    void Dispatch(const MessageItem &item);

protected:
    void Run() override;
    void HandleItem(support::QueueItem &item) override;

private:
    void ForwardToRecognizer(std::unique_ptr<MessageItem> item);

    OutputTargets m_targets;
};

} // namespace recorder_bridge
