#include "workflow/EncryptOptions.h"

#include "files/FileList.h"
#include "users/RegistrationChecks.h"

#include <algorithm>

namespace deskwarden::workflow {

std::optional<OptionsFailure> CheckEncryptOptions(const EncryptOptionsForm& form, const files::FileList& list)
{
    if (form.password != form.reEntry)
        return OptionsFailure {users::StringMessage(users::kPasswordsDiffer), OptionsField::Password};
    if (const auto c = users::FirstForbiddenCharacter(form.password))
        return OptionsFailure {users::ForbiddenCharacterMessage(*c), OptionsField::Password};
    if (form.bundlePath.empty())
        return OptionsFailure {{kBundleNameMissing, kBundleNameMissingText}, OptionsField::Browse};
    const auto& rows = list.Rows();
    if (std::any_of(
            rows.begin(), rows.end(), [&](const files::FileItem& row) { return row.fullPath == form.bundlePath; }))
        return OptionsFailure {{kBundleIsListed, kBundleIsListedText}, OptionsField::BundleName};
    return std::nullopt;
}

void MoveUser(std::vector<std::string>& from, std::vector<std::string>& to, const std::string& id)
{
    const auto found = std::find(from.begin(), from.end(), id);
    if (found == from.end())
        return;
    from.erase(found);
    to.push_back(id);
}

} // namespace deskwarden::workflow
