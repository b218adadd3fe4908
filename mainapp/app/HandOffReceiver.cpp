#include "app/HandOffReceiver.h"

#include "app/HandOff.h"
#include "files/FileList.h"

namespace deskwarden::app {

FollowUp ReceiveHandOff(std::string_view text, files::FileList& list)
{
    const std::optional<HandOff> handOff = ParseHandOff(text);
    if (!handOff || handOff->paths.empty())
        return FollowUp::None;
    list.AddAll(handOff->paths);
    switch (static_cast<HandOffCommand>(handOff->command)) {
    case HandOffCommand::Encrypt:
        return FollowUp::StartEncryption;
    case HandOffCommand::Decrypt:
        return FollowUp::StartDecryption;
    case HandOffCommand::OfferLast:
        list.AddAll({handOff->paths.back()});
        return FollowUp::None;
    }
    return FollowUp::None;
}

} // namespace deskwarden::app
