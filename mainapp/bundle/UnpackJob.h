#pragma once

#include "bundle/BundleJob.h"
#include "bundle/JobControl.h"

#include <string>

namespace deskwarden::bundle {

/** Unpacks the bundle `request` names into its folder. @return a job result; `error` says why on kJobFailed. */
int RunUnpack(const DecryptRequest& request, SerialObserver& observer, StopControl& stop, unsigned cipherThreads,
    std::string& error);

} // namespace deskwarden::bundle
