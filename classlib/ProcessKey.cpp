#include "ProcessKey.h"

namespace talk {
namespace {

// Generated once by tools/make_process_key.py. Every stored secret of every installation is encrypted
// under this text: changing a single character makes all user, voice and settings stores unreadable.
// clang-format off
constexpr char kProcessKey[] =
    "b1t1BtQYRzdGeKSkrsKSsHE0YmRRZ/lrHObla2hPJLXcwA3NK8i2V0J+IapLS95qA/EjSbQ9GSA9BHIZ65vcxou4zA0l7U9RpNsE"
    "aMkgr1iwSJ3A/jvWhtWEoglGstFlIogWKcaZ9Em+Cl7ndJwwW7iPCSrStJLTCB3YQ8DdaeeSZXjFD56O5SYO4UTvGT8jCy9DQwmy"
    "Jq3SbE7mE3jAK42PeeoKZR2YQqNzjj0W9mzY8zjfD0HWnLCjm0XcLjZXcfYBws8JD0S7q6+FeKdzB6GFd7kVNX2wJ7191aZtnQEn"
    "iu2ib5R+JMcdeT4oK7rjw+dySUwE7qFzmBQ+mniylxtaPK/+VXWycYmHys6jSfJxP/PHEKdclT5xo+kCRxuoiv+re0TuPw4oqRLJ"
    "iB+n1V8XGihCAHW5LKSIc1BpcK6fCf/a3BEXHevyeAJFHJY6hCak2aTVo5MLg8uydHZP0pWVeLVxJPdEE8IJ7c5/gt39iwwtnAu3"
    "DpaNvguoZKk5hTCQEG35P5PNnmi+r0kEkCkYYIQJrgNxSh3U5gsdg2yMa4sBk9xkfTZmBuOnwMWhett8+AaE+JXSfwGkAia4VlEH"
    "G/NLWUvl/nJVRxk/SlE9jXaaEhh9MUcWGyAdCoVTM6DV/5l/TaWDLxU9RB/7bVZ+X4WaAOgjg95F4OINiMrGGSh/acmCBMnYRArb"
    "XXm9xRKIXpY1rt5axeKt1B3YGonTN0Y4mgmHJAzl7Z7StBgkewJWBjz0PtaV9CPiNoYifDvMYT9QFeSiUrmPJJFEZxdGZmCl0mOD"
    "OcdXD902YzRs+Xx3u5wtUEeZCBnF3LnlMeJ5cHxcxO+0mg4PrakHPR5DNd7aTkdHe00FoHa8jcuzD4QD685Rt1b0NzWPEHQ/psCL"
    "SsPa7vQQvYz76iDiwd0pVaO+SA4K/SCYlDcIB2gA0asOe1AQgLrq0laBQtHIFvNud2vL/WRs9otqpsrOSLSzTPL0ByaioLFCyOBs"
    "c8g";
// clang-format on

static_assert(sizeof(kProcessKey) - 1 == kProcessKeyLength);

} // namespace

std::string_view ProcessKeyText()
{
    return {kProcessKey, kProcessKeyLength};
}

} // namespace talk
