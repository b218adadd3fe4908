#include "users/BypassKeyOffer.h"

namespace deskwarden::users {

namespace {

// The drive dialog belongs to the settings windows, which are built on top of these: they hand it down.
BypassKeyMaker& Maker()
{
    static BypassKeyMaker maker;
    return maker;
}

} // namespace

void SetBypassKeyMaker(BypassKeyMaker maker)
{
    Maker() = std::move(maker);
}

const BypassKeyMaker& InstalledBypassKeyMaker()
{
    return Maker();
}

} // namespace deskwarden::users
