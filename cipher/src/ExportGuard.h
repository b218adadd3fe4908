#pragma once

#include <utility>

namespace cipherwell {

// Runs the work of an exported function. Whatever it raises (I/O errors, cipher errors, bad_alloc) ends as
// the function's failure value, since no exception may reach a caller across the library boundary.
template<typename Result, typename Work> Result Guarded(Result failure, Work&& work) noexcept
{
    try {
        return std::forward<Work>(work)();
    } catch (...) {
        return failure;
    }
}

} // namespace cipherwell
