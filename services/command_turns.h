#pragma once
// How clients on the bus reach the unit commands of the hub (IOrvexComms): in the order they
// arrive. A site send or read takes seconds, during which the service thread serves everything
// else; a command that arrives meanwhile waits for its turn, so that nothing reaches the unit in
// the middle of an exchange and a second exchange starts only after the first has ended.
//
// The hub implements it; service thread only.

#include "interfaces/services/iorvex_comms.h"
#include "platform/hresult.h"

#include <functional>

namespace services {

class CommandTurns
{
public:
    // One member of IOrvexComms with its arguments. It must not throw.
    using Command = std::function<HRESULT(IOrvexComms &)>;
    // Gets the command's result once it is done; it may be empty, and must not throw.
    using Reply = std::function<void(HRESULT)>;

    virtual ~CommandTurns() = default;

    // Runs `command` at once when no exchange is running and no command is waiting; else after
    // the commands before it. `reply` gets its result when it is done: at once, or for
    // SendCurrentSiteToOrvex and ReadDataFromOrvex once their exchange's last step has run.
    // Commands still waiting when the hub goes are dropped with their replies, unanswered.
    virtual void RunInTurn(Command command, Reply reply) = 0;
};

} // namespace services
