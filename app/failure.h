// Failures: exceptions that carry the message a user sees in the failure box.
#pragma once

#include <stdexcept>
#include <string>

// A failure that leaves a handler. The guard around every window procedure shows
// its message; start-up shows its kind and the code address it arose at as well.
class Failure : public std::runtime_error {
public:
    Failure(const char* kind, const std::string& message);

    const char* Kind() const { return kind_; }
    const void* Address() const { return address_; }

private:
    const char* kind_;
    const void* address_;
};

// A text that does not convert to a number or a time.
class ConversionError : public Failure {
public:
    explicit ConversionError(const std::string& message) : Failure("ConversionError", message) {}
};

// The platform refused a resource (a timer, a window).
class ResourceError : public Failure {
public:
    explicit ResourceError(const std::string& message) : Failure("ResourceError", message) {}
};
