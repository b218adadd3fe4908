#pragma once

// Marks a class of the class library as part of libTalkLib.so's interface; everything else is hidden.
#define TALK_API __attribute__((visibility("default")))

// Keeps a member of an exported class out of the interface: a constant that each program may hold a copy
// of, and that unoptimised builds would otherwise export as a symbol of its own.
#define TALK_HIDDEN __attribute__((visibility("hidden")))
