#include "cli/CommandLine.h"

#include "cli/BatchManifest.h"
#include "cli/Commands.h"
#include "platform/Messages.h"

namespace talvo {

std::optional<int> RunCommandLine(const std::vector<std::string>& Args, std::ostream& Out,
                                  std::ostream& Err, std::string* ViewerFile) {
    TRequest Request;
    try {
        Request = ParseArguments(Args);
    } catch (const EMisuse& Problem) {
        Err << TerminalText(Text(TText::Misuse, {Problem.what()})) << "\n\n" << Text(TText::Usage);
        return 2;
    }
    if (Request.Help) {
        Out << Text(TText::Usage);
        return 0;
    }
    if (Request.Version) {
        Out << "talvo " << TALVO_VERSION << '\n';
        return 0;
    }
    try {
        if (Request.Info) {
            PrintInfo(Request.Files.front(), Out, Err);
        } else if (IsBatch(Request)) {
            return Batch(Request, Out, Err);
        } else if (Request.Render) {
            Render(Request, Err);
        } else if (Request.Export) {
            Export(Request, Err);
        } else if (Request.Verify) {
            return VerifyManifest(Request.Files.front(), Out, Err);
        } else if (Request.Mesh) {
            Mesh(Request, Err);
        } else if (Request.At) {
            PrintAt(Request, Out, Err);
        } else if (Request.Profile) {
            Profile(Request, Out, Err);
        } else {
            if (ViewerFile) {
                *ViewerFile = Request.Files.empty() ? "" : Request.Files.front();
            }
            return std::nullopt;
        }
    } catch (const EMisuse& Problem) {
        Err << TerminalText(Text(TText::Misuse, {Problem.what()})) << "\n\n" << Text(TText::Usage);
        return 2;
    } catch (const std::exception& Error) {
        Err << TerminalText(Error.what()) << '\n';
        return 1;
    }
    return 0;
}

} // namespace talvo
