#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

#include "cli/CommandLine.h"
#include "platform/ExecutablePath.h"
#include "platform/Messages.h"

namespace {

// Whether the window toolkit has somewhere to show the viewer: an X or Wayland display, or a
// platform the user chose (offscreen, a VNC server, ...).
bool HasDisplay() {
    for (const char* Name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* Value = std::getenv(Name);
        if (Value != nullptr && *Value != '\0') {
            return true;
        }
    }
    return false;
}

} // namespace

// The command line runs here; the windows are a program of their own beside this one, so that
// the commands without a window never load the window toolkit.
int main(int argc, char** argv) {
    const std::vector<std::string> Args(argv + 1, argv + argc);
    if (auto Status = talvo::RunCommandLine(Args, std::cout, std::cerr)) {
        return *Status;
    }
    // Without one the toolkit aborts with its own text about platform plugins.
    if (!HasDisplay()) {
        std::cerr << talvo::Text(talvo::TText::ViewerNeedsDisplay) << '\n';
        return 1;
    }
    std::string Viewer = talvo::ExecutableDir() + "/talvo-viewer";
    argv[0] = Viewer.data();
    ::execv(Viewer.c_str(), argv);
    std::cerr << talvo::Text(talvo::TText::CannotStartViewer, {Viewer, std::strerror(errno)})
              << '\n';
    return 1;
}
