#pragma once

#include <stdexcept>

namespace cipherwell {

// Raised inside the library for I/O and argument failures; the exported functions turn it into their
// failure value.
class CipherError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

} // namespace cipherwell
