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

    /// A change that is in place but could not be flushed to disk: a failure to tell the user,
    /// and yet no step to undo or repeat.
    static Status notFlushed(const QString& message) {
        Status s = failure(message);
        s.m_inPlace = true;
        return s;
    }

    bool ok() const { return m_ok; }
    /// True when the change was made: on success, and on a failure that is notFlushed().
    bool inPlace() const { return m_ok || m_inPlace; }
    explicit operator bool() const { return m_ok; }
    const QString& message() const { return m_message; }

private:
    bool m_ok = true;
    bool m_inPlace = false;
    QString m_message;
};

} // namespace puka
