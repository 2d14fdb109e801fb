#pragma once

#include "core/base/Messages.h"
#include "core/base/Notice.h"

#include <QString>
#include <QtGlobal>

#include <optional>
#include <utility>

namespace puka {

/// The outcome of an operation that may fail: success, or a notice for the user (a Japanese
/// text and the title of its box, the save-error title unless told otherwise).
class Status {
public:
    Status() = default;
    static Status failure(const QString& text, const QString& title = messages::saveErrorTitle()) {
        Status s;
        s.m_ok = false;
        s.m_notice = Notice{text, title};
        return s;
    }

    /// A change that is in place but could not be flushed to disk: a failure to tell the user,
    /// and yet no step to undo or repeat.
    static Status notFlushed(const QString& text, const QString& title = messages::saveErrorTitle()) {
        Status s = failure(text, title);
        s.m_inPlace = true;
        return s;
    }

    /// This outcome, a failure shown under @p title.
    Status titled(const QString& title) const {
        Status s = *this;
        if (!m_ok)
            s.m_notice.title = title;
        return s;
    }

    bool ok() const { return m_ok; }
    /// True when the change was made: on success, and on a failure that is notFlushed().
    bool inPlace() const { return m_ok || m_inPlace; }
    explicit operator bool() const { return m_ok; }
    const Notice& notice() const { return m_notice; }
    const QString& message() const { return m_notice.text; }

private:
    bool m_ok = true;
    bool m_inPlace = false;
    Notice m_notice;
};

/// Over several writes, the first that put its file in place but could not flush it to disk:
/// such a write stops nothing, and is told once the others are done.
class UnflushedWrites {
public:
    /// True when @p status put its change in place; keeps it when it is the first not flushed.
    bool inPlace(const Status& status) {
        if (!status && status.inPlace() && m_first)
            m_first = status;
        return status.inPlace();
    }
    /// Success, or the first write that was not flushed.
    const Status& status() const { return m_first; }

private:
    Status m_first;
};

/// A value, or the failed Status that says why there is none.
template <class T> class Result {
public:
    Result(T value) : m_value(std::move(value)) {} // NOLINT(google-explicit-constructor)
    /// A failure; @p status must not be ok.
    Result(Status status) : m_status(std::move(status)) { // NOLINT(google-explicit-constructor)
        Q_ASSERT(!m_status.ok());
    }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    /// The value; only when ok().
    const T& value() const& { return *m_value; }
    T& value() & { return *m_value; }
    T&& value() && { return std::move(*m_value); }
    const T& operator*() const& { return *m_value; }
    T& operator*() & { return *m_value; }
    const T* operator->() const { return &*m_value; }
    T* operator->() { return &*m_value; }
    /// Success when there is a value, else the failure.
    const Status& status() const { return m_status; }
    const QString& message() const { return m_status.message(); }

private:
    std::optional<T> m_value;
    Status m_status;
};

} // namespace puka
