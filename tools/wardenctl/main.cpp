#include "CtlArguments.h"
#include "CtlCommands.h"

#include <iostream>

int main(int argc, char** argv)
{
    try {
        std::string error;
        wardenctl::Arguments arguments;
        if (!wardenctl::ParseArguments(std::vector<std::string>(argv + 1, argv + argc), arguments, error)) {
            std::cerr << "wardenctl: " << error << "\n" << wardenctl::UsageText();
            return wardenctl::kExitUsage;
        }
        return wardenctl::RunCommand(arguments, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "wardenctl: " << e.what() << "\n";
        return wardenctl::kExitFailed;
    }
}
