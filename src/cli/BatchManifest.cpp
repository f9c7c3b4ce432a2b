#include "cli/BatchManifest.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "platform/FileErrors.h"
#include "platform/Messages.h"
#include "platform/Sha256.h"

namespace talvo {

namespace {

// The file's size, or -1 when there is no regular file at Path.
int64_t FileSize(const std::string& Path) {
    struct stat Status {};
    if (::stat(Path.c_str(), &Status) != 0 || !S_ISREG(Status.st_mode)) {
        return -1;
    }
    return Status.st_size;
}

std::string TextOf(const TManifestLine& Line, const char* Key) {
    const auto Found = Line.find(Key);
    return Found != Line.end() && Found->is_string() ? Found->get<std::string>() : "";
}

} // namespace

TManifest ReadManifest(const std::string& Path) {
    TManifest Manifest;
    std::error_code Unknown;
    if (!std::filesystem::exists(Path, Unknown)) {
        return Manifest;
    }
    std::ifstream File(Path, std::ios::binary);
    if (!File) {
        throw Placed(InOutError(errno), Path);
    }
    std::string Read;
    for (int64_t Number = 1; std::getline(File, Read); ++Number) {
        TManifestLine Line = TManifestLine::parse(Read, nullptr, false);
        // A line cut short by a kill has no line end; one that parses still counts as whole.
        if (Line.is_object() && !TextOf(Line, "input").empty()) {
            Manifest.Lines.push_back(std::move(Line));
        } else {
            Manifest.Torn.push_back(Number);
        }
    }
    if (File.bad()) {
        throw Placed(InOutError(EIO), Path);
    }
    return Manifest;
}

void WriteManifest(const std::string& Path, const std::vector<TManifestLine>& Lines) {
    TAtomicFile File(Path);
    for (const TManifestLine& Line : Lines) {
        const std::string Bytes = Line.dump() + '\n';
        File.Write(Bytes.data(), Bytes.size());
    }
    File.Commit();
}

TManifestJournal::TManifestJournal(const std::string& Path)
    : Path(Path), Fd(::open(Path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666)) {
    if (Fd < 0) {
        throw EInOutError(Text(TText::CannotWriteBecause, {Path, WriteFailureReason(errno)}));
    }
}

TManifestJournal::~TManifestJournal() {
    ::close(Fd);
}

void TManifestJournal::Append(const TManifestLine& Line) {
    const std::string Bytes = Line.dump() + '\n';
    std::lock_guard Lock(Mutex);
    if (::write(Fd, Bytes.data(), Bytes.size()) != static_cast<ssize_t>(Bytes.size())) {
        throw EInOutError(Text(TText::CannotWriteBecause, {Path, WriteFailureReason(errno)}));
    }
}

bool OutputMatches(const TManifestLine& Line, const std::string& Output) {
    if (TextOf(Line, "status") != "ok" || TextOf(Line, "output") != Output) {
        return false;
    }
    const auto Size = Line.find("size");
    try {
        return Size != Line.end() && Size->is_number_integer() &&
               FileSize(Output) == Size->get<int64_t>() &&
               FileSha256Hex(Output) == TextOf(Line, "sha256");
    } catch (const ETalvoError&) {
        return false; // unreadable: written again
    }
}

int VerifyManifest(const std::string& Path, std::ostream& Out, std::ostream& Err) {
    const TManifest Manifest = ReadManifest(Path);
    bool Differs = false;
    for (const int64_t Number : Manifest.Torn) {
        Err << Placed(ETalvoError(Text(TText::ManifestLineTorn)), Path, Number).what() << '\n';
        Differs = true;
    }
    for (const TManifestLine& Line : Manifest.Lines) {
        const std::string Output = TextOf(Line, "output");
        if (TextOf(Line, "status") != "ok") {
            Err << Text(TText::VerifyFailedTile, {TextOf(Line, "input"), TextOf(Line, "message")})
                << '\n';
            Differs = true;
            continue;
        }
        const int64_t Size = FileSize(Output);
        const auto Stored = Line.find("size");
        const int64_t Expected =
            Stored != Line.end() && Stored->is_number_integer() ? Stored->get<int64_t>() : -1;
        std::string Problem;
        if (Size < 0) {
            Problem = Text(TText::VerifyMissing, {Output});
        } else if (Size != Expected) {
            Problem =
                Text(TText::VerifySize, {Output, std::to_string(Size), std::to_string(Expected)});
        } else if (FileSha256Hex(Output) != TextOf(Line, "sha256")) {
            Problem = Text(TText::VerifyHash, {Output});
        }
        if (!Problem.empty()) {
            Err << Problem << '\n';
            Differs = true;
        }
    }
    if (Differs) {
        return 1;
    }
    Out << Text(TText::VerifyAllMatch, {std::to_string(Manifest.Lines.size())}) << '\n';
    return 0;
}

} // namespace talvo
