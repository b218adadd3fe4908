#pragma once

class CSetupFile;

namespace screenveil {

/** Shows the settings dialog on `setup` modally. @return the program's exit status. */
int RunSettings(CSetupFile& setup);

} // namespace screenveil
