#pragma once

#include <QString>

#include <optional>
#include <utility>
#include <variant>

// The program's one way of telling that something failed: the French message for the user, or nothing when it went
// well. The caller decides how to show it (a message box, the error stream, a warning that does not wait).
using Failure = std::optional<QString>;

// The failure of an operation that has a value when it succeeds: Fail(u"..."_s) converts to any Result<T>.
struct FailureMessage
{
    QString text;
};
inline FailureMessage Fail(QString text)
{
    return {std::move(text)};
}

// A value, or the French message that says why there is none.
template <typename T> class Result
{
public:
    Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Result(FailureMessage failure) : m_state(std::in_place_index<1>, std::move(failure.text)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& operator*() const { return std::get<0>(m_state); }
    T& operator*() { return std::get<0>(m_state); }
    const T* operator->() const { return &std::get<0>(m_state); }
    T* operator->() { return &std::get<0>(m_state); }
    // The message of a failed operation.
    const QString& failure() const { return std::get<1>(m_state); }

private:
    std::variant<T, QString> m_state;
};
