#pragma once

#include "bundle/BundleJob.h"
#include "bundle/JobControl.h"

#include <string>

namespace deskwarden::bundle {

/** Packs what `request` marks into its bundle. @return a job result; `error` says why on kJobFailed. */
int RunPack(const EncryptRequest& request, SerialObserver& observer, StopControl& stop, unsigned cipherThreads,
    std::string& error);

} // namespace deskwarden::bundle
