#pragma once

#include <functional>

class QWidget;

namespace deskwarden::users {

/** What a yes to the by-pass key question after a registration opens; installed by the program. */
using BypassKeyMaker = std::function<void(QWidget* owner)>;

/** Installs `maker` for the process; an empty one tells the user that no key can be made here. */
void SetBypassKeyMaker(BypassKeyMaker maker);

/** The installed maker (empty when none). */
const BypassKeyMaker& InstalledBypassKeyMaker();

} // namespace deskwarden::users
