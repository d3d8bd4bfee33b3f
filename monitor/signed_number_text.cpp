#include "signed_number_text.h"

#include <QRegularExpression>

#include <charconv>
#include <cmath>

namespace monitor {

namespace {

QString withSign(bool negative, const QString &magnitude)
{
    return (negative ? QLatin1Char('-') : QLatin1Char(' ')) + magnitude;
}

QString unsignedText(std::uint64_t magnitude)
{
    return QString::number(static_cast<qulonglong>(magnitude));
}

} // namespace

QString SignedNumberText(std::int16_t value)
{
    const int wide = value;
    return withSign(wide < 0, QString::number(wide < 0 ? -wide : wide));
}

QString SignedNumberText(Currency value)
{
    const bool negative = value.scaled < 0;
    // Negating in unsigned arithmetic keeps INT64_MIN's magnitude.
    const std::uint64_t magnitude
        = negative ? std::uint64_t{0} - static_cast<std::uint64_t>(value.scaled)
                   : static_cast<std::uint64_t>(value.scaled);
    const auto scale = static_cast<std::uint64_t>(Currency::kScale);
    QString text = unsignedText(magnitude / scale);
    if (const std::uint64_t fraction = magnitude % scale; fraction != 0) {
        QString digits
            = QStringLiteral("%1").arg(static_cast<qulonglong>(fraction), 4, 10, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += QLatin1Char('.') + digits;
    }
    return withSign(negative, text);
}

QString SignedNumberText(double value)
{
    if (std::isnan(value))
        return QStringLiteral(" NaN");
    if (std::isinf(value))
        return withSign(value < 0, QStringLiteral("Inf"));
    if (value == 0.0)
        return QStringLiteral(" 0"); // -0.0 as well
    // to_chars follows the C conventions whatever the locale, which printf does not once Qt has
    // set the user's locale. Its general form with 15 digits drops trailing zeros and a bare
    // point, and switches to the exponent exactly outside [1E-4, 1E15).
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                       std::chars_format::general, 15);
    QString text = QString::fromLatin1(buffer, written.ptr - buffer);
    text.replace(QLatin1Char('e'), QLatin1Char('E'));
    return withSign(value < 0, text);
}

QString SignedNumberText(const QString &value)
{
    static const QRegularExpression number(
        QStringLiteral(R"(^([+-]?)([0-9]{1,18})(?:\.([0-9]+))?$)"));
    const QRegularExpressionMatch match = number.match(value.trimmed());
    if (!match.hasMatch())
        return QLatin1Char(' ') + value;
    if (!match.captured(3).isEmpty())
        return SignedNumberText(value.trimmed().toDouble());
    const std::uint64_t magnitude = match.captured(2).toULongLong();
    return withSign(match.captured(1) == QLatin1String("-") && magnitude != 0,
                    unsignedText(magnitude));
}

} // namespace monitor
