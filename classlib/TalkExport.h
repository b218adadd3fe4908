#pragma once

// Marks a class of the class library as part of libTalkLib.so's interface; everything else is hidden.
#define TALK_API __attribute__((visibility("default")))
