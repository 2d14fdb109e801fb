#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <optional>

namespace puka {

/// The one source of the system date and time, so tests and the report tool can fix it.
namespace clock {
QDate today();
QTime now();
/// Fixes the clock at @p when; nothing (std::nullopt) returns it to the real time.
void setFixed(const std::optional<QDateTime>& when);
/// The time of day as the log writes it: hours without a leading zero, 9:05:03.
QString timeText(const QTime& time);
} // namespace clock

} // namespace puka
