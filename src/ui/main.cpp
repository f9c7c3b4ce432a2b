#include <iostream>
#include <string>
#include <vector>

#include "ui/CommandLine.h"

int main(int argc, char** argv) {
    std::vector<std::string> Args(argv + 1, argv + argc);
    if (auto Status = talvo::RunCommandLine(Args, std::cout, std::cerr)) {
        return *Status;
    }
    std::cerr << "talvo: the map window is not part of this build yet; "
                 "use talvo --info FILE to read a map's header\n";
    return 2;
}
