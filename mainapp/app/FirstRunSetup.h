#pragma once

#include <string>
#include <vector>

class CSetupFile;

namespace deskwarden::app {

/** The lock screen's note to visitors on a new installation. */
inline constexpr const char* kFirstRunComment = "今は留守ですのでF3キーを押してメモを残してください。";

/** The five slide pictures of a new installation: `<installation>/images/screen01.bmp` to `screen05.bmp`. */
std::vector<std::string> FirstRunImages(const std::string& appPath);

/**
 * Where decrypted bundles go on a new installation: "WdvDocs" at the root of the file system that holds
 * `imagesFolder` when this user may write there, else in the home folder `home` (a user seldom may write
 * to the root of the system disk).
 */
std::string FirstRunSecureFolder(const std::string& imagesFolder, const std::string& home);

/** "WdvDocs" in `diskRoot` when `writable`, else in `home`. */
std::string ChooseSecureFolder(const std::string& diskRoot, bool writable, const std::string& home);

/** The root of the mounted file system that holds `path`, or that would hold it (its nearest existing parent). */
std::string MountRootOf(const std::string& path);

/**
 * Finishes the set-up of a new installation once its administrator is registered: the slide pictures, the
 * secure folder, the first-run flag cleared (the other secure settings kept) and the lock screen's note.
 * @return false with a reason in `error` when a setting could not be stored.
 */
bool CompleteFirstRun(CSetupFile& setup, std::string& error);

} // namespace deskwarden::app
