#pragma once

// The one guard that keeps exceptions inside a library. Every function another program or library may call
// (the engine's SVE_* functions, the cipher's exports, the class library's C-classes, the platform layer's
// stand-ins for the system interfaces) runs its body through it and answers a throw with the function's own
// failure value: 0, -1, null, an empty text or a status code.
//
// How to use it:
//
//     int CSetupFile::SetAppPath(std::string path) noexcept
//     {
//         return platform::Guarded(0, [&] { return talk::WriteInstallPath(std::move(path)) ? 1 : 0; });
//     }
//
// - Guarded(failure, body): the body's result, or `failure` when it throws.
// - Guarded(failure, error, body): the same, and `error` receives the reason (the exception's what()) when the
//   caller has a place for it, such as the text behind a class's GetLastErrorText().
// - GuardedOr(body, onFailure): the failure value is worked out by onFailure, called inside the handler, so it
//   may record a status (`[&] { return Record(ERROR_NOT_ENOUGH_MEMORY); }`), read CurrentExceptionText(), or
//   tell exceptions apart by rethrowing in a try of its own. onFailure must not throw.
// - GuardedCall(body): for bodies without a result; tells whether the body ran to its end.
//
// The failure value is chosen by the function, never by the guard: each export keeps the value its callers
// already test for. Only code at a boundary uses the guard; code inside a library lets exceptions travel.

#include <exception>
#include <string>
#include <utility>

namespace platform {

// The reason of the exception being handled: its what() for a standard exception, a fixed text otherwise.
// Only meaningful inside a catch handler; the text lives as long as the exception does.
inline const char* CurrentExceptionText() noexcept
{
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown exception";
    }
}

template<typename Body, typename OnFailure> auto GuardedOr(Body&& body, OnFailure&& onFailure) noexcept
{
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        return std::forward<OnFailure>(onFailure)();
    }
}

template<typename Result, typename Body> Result Guarded(Result failure, Body&& body) noexcept
{
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        return failure;
    }
}

template<typename Result, typename Body> Result Guarded(Result failure, std::string& error, Body&& body) noexcept
{
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        // Keeping the reason must not be a second way out: without memory for it the old text stays.
        try {
            error = CurrentExceptionText();
        } catch (...) {
        }
        return failure;
    }
}

template<typename Body> bool GuardedCall(Body&& body) noexcept
{
    try {
        std::forward<Body>(body)();
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace platform
