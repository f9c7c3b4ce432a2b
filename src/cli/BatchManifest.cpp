#include "cli/BatchManifest.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/Request.h"
#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "platform/FileErrors.h"
#include "platform/Messages.h"
#include "platform/Sha256.h"
#include "platform/TextFile.h"
#include "platform/Utf8Bytes.h"

namespace talvo {

namespace {

// How every manifest line starts: a line cut short by a kill starts so too, or is a part of it.
constexpr std::string_view LineStart = R"({"input":)";

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

int64_t SizeOf(const TManifestLine& Line) {
    const auto Found = Line.find("size");
    return Found != Line.end() && Found->is_number_integer() ? Found->get<int64_t>() : -1;
}

// A line as written: names that are no UTF-8 were escaped before, so the replacement of invalid
// UTF-8 only ever touches a message.
std::string LineText(const TManifestLine& Line) {
    return Line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + '\n';
}

// One file a manifest line describes: its path, and the size and SHA-256 it had when written.
struct TRecordedFile {
    std::string Path;
    int64_t Size;
    std::string Sha256;
};

// The output of Line and the files beside it, as Line records them.
std::vector<TRecordedFile> RecordedFiles(const TManifestLine& Line) {
    std::vector<TRecordedFile> Files = {
        {UnescapedBytes(TextOf(Line, "output")), SizeOf(Line), TextOf(Line, "sha256")}};
    const auto Beside = Line.find("beside");
    if (Beside != Line.end() && Beside->is_array()) {
        for (const TManifestLine& File : *Beside) {
            if (File.is_object()) {
                Files.push_back(
                    {UnescapedBytes(TextOf(File, "file")), SizeOf(File), TextOf(File, "sha256")});
            }
        }
    }
    return Files;
}

// Why File differs from its record; "" when it does not.
std::string Difference(const TRecordedFile& File) {
    const int64_t Size = FileSize(File.Path);
    const std::string Shown = Printable(File.Path);
    if (Size < 0) {
        return Text(TText::VerifyMissing, {Shown});
    }
    if (Size != File.Size) {
        return Text(TText::VerifySize, {Shown, std::to_string(Size), std::to_string(File.Size)});
    }
    try {
        return FileSha256Hex(File.Path) == File.Sha256 ? "" : Text(TText::VerifyHash, {Shown});
    } catch (const ETalvoError& Error) {
        return TerminalText(Error.what());
    }
}

} // namespace

void RequireManifestFile(const std::string& Path) {
    struct stat Status {};
    if (::stat(Path.c_str(), &Status) == 0 && !S_ISREG(Status.st_mode)) {
        throw EMisuse(Text(TText::ManifestNotFile, {Printable(Path)}));
    }
}

TManifest ReadManifest(const std::string& Path) {
    TManifest Manifest;
    struct stat Status {};
    if (::stat(Path.c_str(), &Status) != 0 && errno == ENOENT) {
        return Manifest;
    }
    RequireManifestFile(Path);
    TTextFile File(Path);
    while (!File.Eof()) {
        const std::string_view Read = File.ReadLine();
        TManifestLine Line = TManifestLine::parse(Read, nullptr, false);
        if (Line.is_object() && !TextOf(Line, "input").empty()) {
            Manifest.Lines.push_back(std::move(Line));
            continue;
        }
        const bool Cut = Read.starts_with(LineStart) || LineStart.starts_with(Read);
        if (File.Eof() && Cut) {
            Manifest.Torn = File.LineNumber();
        } else if (File.LineNumber() == 1) {
            throw Placed(ETalvoError(Text(TText::ManifestNotOurs)), Path, 1);
        } else {
            Manifest.Unreadable.push_back(File.LineNumber());
        }
    }
    return Manifest;
}

void WriteManifest(const std::string& Path, const std::vector<TManifestLine>& Lines) {
    TAtomicFile File(Path);
    for (const TManifestLine& Line : Lines) {
        const std::string Bytes = LineText(Line);
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
    const std::string Bytes = LineText(Line);
    std::lock_guard Lock(Mutex);
    if (::write(Fd, Bytes.data(), Bytes.size()) != static_cast<ssize_t>(Bytes.size())) {
        throw EInOutError(Text(TText::CannotWriteBecause, {Path, WriteFailureReason(errno)}));
    }
}

void DescribeFiles(TManifestLine& Line, const std::vector<std::string>& Files) {
    Line["size"] = FileSize(Files.front());
    Line["sha256"] = FileSha256Hex(Files.front());
    Line["beside"] = TManifestLine::array();
    for (size_t Index = 1; Index < Files.size(); ++Index) {
        Line["beside"].push_back({{"file", EscapedBytes(Files[Index])},
                                  {"size", FileSize(Files[Index])},
                                  {"sha256", FileSha256Hex(Files[Index])}});
    }
}

bool OutputMatches(const TManifestLine& Line, const std::vector<std::string>& Files) {
    const std::vector<TRecordedFile> Recorded = RecordedFiles(Line);
    if (TextOf(Line, "status") != "ok" || Recorded.size() != Files.size()) {
        return false;
    }
    for (size_t Index = 0; Index < Files.size(); ++Index) {
        if (Recorded[Index].Path != Files[Index] || !Difference(Recorded[Index]).empty()) {
            return false; // unreadable too: written again
        }
    }
    return true;
}

int VerifyManifest(const std::string& Path, std::ostream& Out, std::ostream& Err) {
    RequireManifestFile(Path);
    const TManifest Manifest = ReadManifest(Path);
    if (FileSize(Path) < 0) {
        throw Placed(InOutError(ENOENT), Path);
    }
    if (Manifest.Lines.empty() && Manifest.Unreadable.empty() && Manifest.Torn == 0) {
        throw Placed(ETalvoError(Text(TText::ManifestEmpty)), Path);
    }
    bool Differs = false;
    std::vector<int64_t> Unread = Manifest.Unreadable;
    if (Manifest.Torn > 0) {
        Unread.push_back(Manifest.Torn);
    }
    for (const int64_t Number : Unread) {
        Err << TerminalText(Placed(ETalvoError(Text(TText::ManifestLineTorn)), Path, Number).what())
            << '\n';
        Differs = true;
    }
    for (const TManifestLine& Line : Manifest.Lines) {
        if (TextOf(Line, "status") != "ok") {
            Err << Text(TText::VerifyFailedTile, {Printable(UnescapedBytes(TextOf(Line, "input"))),
                                                  TerminalText(TextOf(Line, "message"))})
                << '\n';
            Differs = true;
            continue;
        }
        for (const TRecordedFile& File : RecordedFiles(Line)) {
            if (const std::string Problem = Difference(File); !Problem.empty()) {
                Err << Problem << '\n';
                Differs = true;
            }
        }
    }
    if (Differs) {
        return 1;
    }
    Out << Text(TText::VerifyAllMatch, {std::to_string(Manifest.Lines.size())}) << '\n';
    return 0;
}

} // namespace talvo
