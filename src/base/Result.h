// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small success-or-error value for the core's API: the core never throws
// across its interface and never asserts on what it reads from a file.

#include <string>
#include <utility>
#include <variant>

namespace quorin {

struct Error {
    std::string message;
};

template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() { return std::get<0>(state_); }
    const T& value() const { return std::get<0>(state_); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const Error& error() const { return std::get<1>(state_); }

private:
    std::variant<T, Error> state_;
};

// For operations that give nothing back but may fail.
struct Done {};
using Status = Result<Done>;
inline Status success() { return Done{}; }

}  // namespace quorin
