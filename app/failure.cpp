// Failures: records where a failure was raised, for the start-up failure box.
#include "app/failure.h"

// Kept out of line so that the return address is the code that raised the failure.
__attribute__((noinline)) TFailure::TFailure(const char* kind, const std::string& message)
    : std::runtime_error(message), FKind(kind), FAddress(__builtin_extract_return_addr(__builtin_return_address(0)))
{
}
