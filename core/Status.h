#pragma once

#include <QString>

namespace puka {

/// The outcome of an operation that may fail: success, or a Japanese message for the user.
class Status {
public:
    Status() = default;
    static Status failure(const QString& message) {
        Status s;
        s.m_ok = false;
        s.m_message = message;
        return s;
    }

    bool ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    const QString& message() const { return m_message; }

private:
    bool m_ok = true;
    QString m_message;
};

} // namespace puka
