#pragma once

#include "AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>

namespace store_test {

/** A write channel that passes `budget` bytes in total and then fails as a full disk would. */
inline talk::WriteChunkFn FailAfter(std::size_t budget)
{
    auto left = std::make_shared<std::size_t>(budget);
    return [left](int fd, const char* data, std::size_t size) -> ssize_t {
        if (*left == 0) {
            errno = ENOSPC;
            return -1;
        }
        const std::size_t n = std::min(size, *left);
        *left -= n;
        return ::write(fd, data, n);
    };
}

/** `size` bytes from a generator seeded with `seed`, so that a failure can be replayed. */
inline std::string RandomBytes(std::size_t size, unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(byte(generator));
    }
    return bytes;
}

} // namespace store_test
