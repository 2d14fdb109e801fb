#include "core/base/Clock.h"

namespace puka::clock {
namespace {
std::optional<QDateTime>& fixed() {
    static std::optional<QDateTime> f;
    return f;
}
} // namespace

QDate today() {
    return fixed() ? fixed()->date() : QDate::currentDate();
}
QTime now() {
    return fixed() ? fixed()->time() : QTime::currentTime();
}
void setFixed(const std::optional<QDateTime>& when) {
    fixed() = when;
}
QString timeText(const QTime& t) {
    return t.toString(QStringLiteral("H:mm:ss"));
}

} // namespace puka::clock
