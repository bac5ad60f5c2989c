// Failures: exceptions that carry the message a user sees in the failure box.
#pragma once

#include <stdexcept>
#include <string>

// A failure that leaves a handler. The guard around every window procedure shows
// its message; start-up shows its kind and the code address it arose at as well.
class TFailure : public std::runtime_error {
public:
    TFailure(const char* kind, const std::string& message);

    const char* Kind() const { return FKind; }
    const void* Address() const { return FAddress; }

private:
    const char* FKind;
    const void* FAddress;
};

// A text that does not convert to a number or a time.
class TConversionError : public TFailure {
public:
    explicit TConversionError(const std::string& message) : TFailure("ConversionError", message) {}
};

// The platform refused a resource (a timer, a window).
class TResourceError : public TFailure {
public:
    explicit TResourceError(const std::string& message) : TFailure("ResourceError", message) {}
};
