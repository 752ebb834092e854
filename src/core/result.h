#pragma once
// The one shape of an operation that can fail for a reason the user is told (a file, print or
// manual operation): either its value or that reason. Where the only failure is "there is no
// number", std::optional is the shape instead.
#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace tally {

// The value of an operation that only succeeds or fails.
struct Done {};

// The reason an operation failed, as a phrase for the user ("No space left on device").
struct Failure {
    std::string reason;
};

template <typename T = Done>
class Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure.reason)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T& value() const {
        assert(ok());
        return std::get<0>(state_);
    }
    T& value() {
        assert(ok());
        return std::get<0>(state_);
    }
    const T& operator*() const { return value(); }
    T& operator*() { return value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }

    // Why it failed; empty on success.
    const std::string& reason() const {
        static const std::string none;
        return ok() ? none : std::get<1>(state_);
    }

private:
    std::variant<T, std::string> state_;
};

} // namespace tally
