#pragma once

#include <string>

// The folder below which decrypted files are made. A folder the page accepts must be absolute, the form in
// which a drive root is named here, and must exist (made level by level) before it is stored.
namespace deskwarden::settings::secure_folder {

/** Whether `text` names an absolute folder. */
bool IsAcceptable(const std::string& text);

/** Whether a folder chosen in the browser is put into the edit: a file system root alone is not. */
bool IsUsableChoice(const std::string& chosen);

/** Makes every missing level of `folder`; true when it exists as a folder afterwards. */
bool Create(const std::string& folder);

} // namespace deskwarden::settings::secure_folder
