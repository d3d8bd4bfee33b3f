#pragma once
// The point-of-sale parser stage (CMsgParser): passes every item on to the output stage
// unchanged, except point-of-sale text, which becomes the retail item of the first matching
// rule (or nothing when none matches).
//
// Owns the event input, which posts to this stage's queue, and the rules, which
// LoadConfiguration reads once, on the constructing thread, before any producer is subscribed;
// afterwards the parser thread only reads them. The thread runs from construction and idles
// while its queue is empty.
//
// An exception while one item is handled is traced ("CMsgParser thread caught unknown
// error.") and only that item is lost: the thread goes on with the next one and lives as long
// as the parser. Destruction ends the input's subscription first, then stops the thread; the
// items still queued are deleted without being handled.

#include "message_item.h"
#include "msg_input.h"
#include "pos_rules.h"
#include "receipt_line_parser.h"
#include "support/queued_worker_thread.h"

#include <memory>
#include <string>

namespace recorder_bridge {

class CMsgParser final : public support::QueuedWorkerThread
{
public:
    CMsgParser(support::QueuedWorkerThread &output, std::string installFolder);
    ~CMsgParser() override;

    // Loads the rules file of the install folder; see LoadPosRules for the results.
    HRESULT LoadConfiguration();
    void ClearConfiguration() { m_rules.ClearConfiguration(); }

    // Subscribes the event input to `hub`; S_OK whatever the subscription gives.
    HRESULT RegisterServices(std::shared_ptr<services::IDVREventSource> hub);

    [[nodiscard]] MsgInput &input() { return *m_input; }
    [[nodiscard]] const PosRules &rules() const { return m_rules; }

protected:
    void Run() override;
    // Items are taken whole by Run, so that an item passed on travels as the same object; this
    // is never called.
    void HandleItem(support::QueueItem &item) override;

private:
    void HandleMessage(std::unique_ptr<MessageItem> item);
    void PassOn(std::unique_ptr<MessageItem> item);

    support::QueuedWorkerThread &m_output;
    const std::string m_installFolder;
    PosRules m_rules;
    ReceiptLineParser m_lineParser{m_rules};
    std::unique_ptr<MsgInput> m_input;
};

} // namespace recorder_bridge
