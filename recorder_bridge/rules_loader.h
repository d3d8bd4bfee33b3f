#pragma once
// Loads the point-of-sale rules of the active point of sale from "RecorderBridgeConfig.xml" in
// the install folder.
//
// The document element names the active configuration in `ActivePOS`; its element children are
// configurations, matched by `name`; the matching one says `TaxInclusive` ("Yes", exactly, or
// not) and holds one element per message kind, whose children are the rules: `Expression`, an
// index field (a decimal token number) or a flag field (an expression). A rule's value is the
// text of its first child; text of nothing but blanks does not count as a child, anywhere.
//
// Returns S_OK, or: E_ACCESSDENIED when the install folder cannot be read and E_FAIL when the
// file cannot be loaded (each after an error line and a pause of `failurePause`, as the trace
// readers of this system expect; the line for the file ends in why: the first parse error with
// its line, or "it is a folder"...); a file that is no plain file (a FIFO, a device, a folder)
// cannot be loaded, and is never waited for; E_FAIL for a document without an element;
// E_INVALIDARG when no configuration is named `ActivePOS`; E_POINTER ("Parser Configuration Error: ...") when
// `ActivePOS`, a `name` met on the way, `TaxInclusive` or a rule's content is missing. An
// expression that does not compile ends the load with an error line and S_OK: what was read
// before it stays loaded. The file is parsed without network access, entity expansion or DTD
// loading, and what the parser reports goes to the trace, never to stderr. Runs on the caller's
// thread; traces through the component's trace log.

#include "pos_rules.h"
#include "platform/hresult.h"

#include <chrono>
#include <string>

namespace recorder_bridge {

inline constexpr std::string_view kRulesFileName = "RecorderBridgeConfig.xml";

[[nodiscard]] HRESULT LoadPosRules(const std::string &installFolder, PosRules &rules,
                                   std::chrono::milliseconds failurePause = std::chrono::milliseconds(700));

} // namespace recorder_bridge
