#pragma once
// Turns one point-of-sale text item into the retail item of the first kind whose rule matches.
//
// The kinds are tried in a fixed order (TrialOrder). One attempt splits the text with the kind's
// expression (boost's regex_split: the groups of every match, or, for an expression without
// groups, the text between matches); the first kind that yields a token wins. Its fields come
// from the tokens by the rules' token numbers: 0 gives the field's default, a number past the
// last token leaves the field at its initial value, and a token that does not convert leaves a
// number 0. Flags come from their own expressions.
//
// An attempt that throws (an expression that exceeds the library's search limits, say) is
// traced and counts as no match, so the later kinds are still tried; Parse itself never throws
// for a bad expression. Const and reentrant over rules that no one changes meanwhile.

#include "message_item.h"
#include "pos_rules.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace recorder_bridge {

class ReceiptLineParser
{
public:
    explicit ReceiptLineParser(const PosRules &rules) : m_rules(rules) {}

    // The retail item for `posMessage` (a PosMessage item), or null when no kind matches.
    [[nodiscard]] std::unique_ptr<MessageItem> Parse(const MessageItem &posMessage) const;

    // The tokens that splitting `text` with `expression` yields (regex_split, default flags).
    [[nodiscard]] static std::vector<std::wstring> Split(const std::wstring &text, const boost::wregex &expression);

    // The same tokens as Split, found with one match where that is enough; `scratch` is the
    // caller's reusable match storage.
    [[nodiscard]] static std::vector<std::wstring> SplitWithScratch(const std::wstring &text,
                                                                    const boost::wregex &expression,
                                                                    boost::wsmatch &scratch);

private:
    // One attempt's tokens. Most come straight from a match and are views into the line; only a
    // full split copies them, into `owned`, which the views then see.
    struct Tokens
    {
        std::vector<std::wstring> owned;
        std::vector<std::wstring_view> views;

        void clear()
        {
            owned.clear();
            views.clear();
        }
    };

    // What the retail item takes from the point-of-sale item besides its text.
    struct Origin
    {
        std::int16_t posNumber = 0;
        std::int16_t cameraID = 0;
    };

    // SplitWithScratch into `tokens`, whose views stay valid while `text` and `tokens` live.
    static void SplitInto(const std::wstring &text, const boost::wregex &expression,
                          boost::wsmatch &scratch, Tokens &tokens);

    bool Attempt(const KindSpec &spec, const std::wstring &text, boost::wsmatch &scratch,
                 bool traceTokens, Tokens &tokens) const;
    [[nodiscard]] std::int16_t SplitFlag(RuleFlag flag, const std::wstring &text, boost::wsmatch &scratch) const;
    [[nodiscard]] std::int16_t WholeMatchFlag(RuleFlag flag, const std::wstring &text,
                                              boost::wsmatch &scratch) const;
    std::unique_ptr<MessageItem> Build(const KindSpec &spec,
                                       const std::vector<std::wstring_view> &tokens, Origin origin,
                                       const std::wstring &text, boost::wsmatch &scratch) const;

    const PosRules &m_rules;
};

} // namespace recorder_bridge
