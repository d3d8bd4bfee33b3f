#pragma once
// The text of one of the console's boxes, kept small by emptying it, never by scrolling or by
// cutting lines: the transactions log (TrimBeforeEvent) is emptied before an event's first piece
// when it holds more than 9999 characters, so an event's pieces always stay together; the
// debug console (TrimAfterAppend) is emptied right after an append that takes it past 9999,
// which loses the text just received (kept as the console has always done).
//
// Lengths count the UTF-16 units of the text as received (a QString's size): the same as
// characters for the ASCII the unit and the bridge send. The text is the authority; the box on
// screen only shows it, with carriage returns shown as line breaks (what displayed() returns).
//
// A value class; not shared between threads; it never fails.

#include <QString>

namespace monitor {

class BoundedLog
{
public:
    enum class TrimPolicy { TrimBeforeEvent, TrimAfterAppend };
    // The most characters a box keeps before it is emptied.
    static constexpr qsizetype kMaxKept = 9999;

    // What an append did to the box.
    struct Change
    {
        bool emptied = false; // the box is now empty (TrimAfterAppend)
        QString displayed;    // otherwise the text to add at the end of the view
    };

    explicit BoundedLog(TrimPolicy policy) : m_policy(policy) {}

    // Under TrimBeforeEvent, empties the log when it holds more than kMaxKept characters and
    // says whether it did; under TrimAfterAppend does nothing.
    bool beginEvent();
    Change append(const QString &piece);
    void clear() { m_text.clear(); }

    [[nodiscard]] qsizetype size() const { return m_text.size(); }
    [[nodiscard]] const QString &text() const { return m_text; }

private:
    TrimPolicy m_policy;
    QString m_text;
};

// `piece` as the box shows it when the text before it ends with `previous`: CR LF and a lone CR
// become one line break, also when the CR ended the previous piece and the LF starts this one.
// A text box would turn each into a paragraph break of its own, showing CR LF as a blank line.
[[nodiscard]] QString DisplayedText(const QString &piece, QChar previous);

} // namespace monitor
