#pragma once
// How a failure of the tooling (usage, input, output) travels up to the command
// that prints it: as a value, with the exit status it ends the program with.
#include <optional>
#include <string>
#include <utility>
#include <variant>

struct failure {
    int status = 0;
    std::string message;  // what went wrong, without the program's or command's name
};

// A value, or the failure that kept it from being made. Not to be dropped: a
// failure ignored is a failure reported as success.
template <class T>
class [[nodiscard]] result {
public:
    result(T value) : v_(std::move(value)) {}
    result(failure f) : v_(std::move(f)) {}

    explicit operator bool() const { return v_.index() == 0; }
    T& operator*() { return std::get<0>(v_); }
    const T& operator*() const { return std::get<0>(v_); }
    T* operator->() { return &std::get<0>(v_); }
    const T* operator->() const { return &std::get<0>(v_); }
    const failure& error() const { return std::get<1>(v_); }

private:
    std::variant<T, failure> v_;
};

// The outcome of a step that makes nothing: nothing, or its failure; not to be
// dropped either.
struct [[nodiscard]] maybe_failure : std::optional<failure> {
    using std::optional<failure>::optional;
};
