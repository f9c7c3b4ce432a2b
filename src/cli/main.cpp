#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

#include "cli/CommandLine.h"
#include "platform/ExecutablePath.h"
#include "platform/Messages.h"

// The command line runs here; the windows are a program of their own beside this one, so that
// --info, --render and --mesh never load the window toolkit.
int main(int argc, char** argv) {
    const std::vector<std::string> Args(argv + 1, argv + argc);
    if (auto Status = talvo::RunCommandLine(Args, std::cout, std::cerr)) {
        return *Status;
    }
    std::string Viewer = talvo::ExecutableDir() + "/talvo-viewer";
    argv[0] = Viewer.data();
    ::execv(Viewer.c_str(), argv);
    std::cerr << talvo::Text(talvo::TText::CannotStartViewer, {Viewer, std::strerror(errno)})
              << '\n';
    return 1;
}
