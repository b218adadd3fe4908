#include "ArgumentParser.h"
#include "CtlArguments.h"
#include "CtlCommands.h"

#include <iostream>

int main(int argc, char** argv)
{
    try {
        std::string error;
        wardenctl::Arguments arguments;
        if (!wardenctl::ParseArguments(tools::CommandLineWords(argc, argv), arguments, error)) {
            return tools::ReportUsageError("wardenctl", error + " (\"wardenctl help\" lists the commands)");
        }
        return wardenctl::RunCommand(arguments, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "wardenctl: " << e.what() << "\n";
        return wardenctl::kExitFailed;
    }
}
