#include "bounded_log.h"

namespace monitor {

bool BoundedLog::beginEvent()
{
    if (m_policy != TrimPolicy::TrimBeforeEvent || m_text.size() <= kMaxKept)
        return false;
    m_text.clear();
    return true;
}

BoundedLog::Change BoundedLog::append(const QString &piece)
{
    const QChar previous = m_text.isEmpty() ? QChar() : m_text.back();
    m_text += piece;
    if (m_policy == TrimPolicy::TrimAfterAppend && m_text.size() > kMaxKept) {
        m_text.clear();
        return {true, {}};
    }
    return {false, DisplayedText(piece, previous)};
}

QString DisplayedText(const QString &piece, QChar previous)
{
    QString shown = piece;
    if (previous == QLatin1Char('\r') && shown.startsWith(QLatin1Char('\n')))
        shown.remove(0, 1); // the line break was shown with the CR
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

} // namespace monitor
