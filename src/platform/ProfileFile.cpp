#include "platform/ProfileFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <utility>

#include "platform/AsciiCase.h"
#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "platform/FileErrors.h"
#include "platform/FileHandle.h"
#include "platform/Messages.h"
#include "platform/Utf16Text.h"

namespace talvo {

namespace {

// A settings file is a few kilobytes; anything far larger is not one.
constexpr size_t MaxProfileBytes = 4 << 20;

std::string_view Trim(std::string_view Text) {
    auto Blank = [](char C) { return C == ' ' || C == '\t'; };
    while (!Text.empty() && Blank(Text.front())) {
        Text.remove_prefix(1);
    }
    while (!Text.empty() && Blank(Text.back())) {
        Text.remove_suffix(1);
    }
    return Text;
}

// The name of a "[Section]" line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view Line) {
    Line = Trim(Line);
    if (Line.empty() || Line.front() != '[') {
        return std::nullopt;
    }
    Line.remove_prefix(1);
    return Trim(Line.substr(0, Line.find(']')));
}

bool IsKeyLine(std::string_view Line, std::string_view Key) {
    size_t Equals = Line.find('=');
    return Equals != std::string_view::npos &&
           SameTextIgnoringCase(Trim(Line.substr(0, Equals)), Key);
}

// The file's bytes; nothing when it is missing, unreadable or far too large.
std::optional<std::string> ReadWholeFile(const std::string& Path, int& Error) {
    errno = 0;
    TFileHandle File(std::fopen(Path.c_str(), "rb"));
    if (!File) {
        Error = errno;
        return std::nullopt;
    }
    std::string Bytes;
    char Buffer[8192];
    size_t Got;
    while ((Got = std::fread(Buffer, 1, sizeof Buffer, File.get())) > 0) {
        Bytes.append(Buffer, Got);
        if (Bytes.size() > MaxProfileBytes) {
            Error = EFBIG;
            return std::nullopt;
        }
    }
    if (std::ferror(File.get())) {
        Error = errno;
        return std::nullopt;
    }
    Error = 0;
    return Bytes;
}

[[noreturn]] void RaiseCannotWrite(const std::string& Path) {
    throw EInOutError(Text(TText::CannotWrite, {Path}));
}

} // namespace

TProfileText::TProfileText(std::string_view Text) {
    // Editors may start a file with a byte-order mark: it is no part of the first line. Those of
    // UTF-16 say that the text is read in two-byte units.
    constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
    constexpr std::string_view Utf16LittleMark = "\xFF\xFE";
    constexpr std::string_view Utf16BigMark = "\xFE\xFF";
    std::string Decoded;
    if (Text.starts_with(Utf8Mark)) {
        Bom = Utf8Mark;
        Text.remove_prefix(Bom.size());
    } else if (Text.starts_with(Utf16LittleMark) || Text.starts_with(Utf16BigMark)) {
        Bom = Text.substr(0, 2);
        const bool BigEndian = Text.starts_with(Utf16BigMark);
        Encoding = BigEndian ? TEncoding::Utf16BigEndian : TEncoding::Utf16LittleEndian;
        Decoded = Utf16ToUtf8(Text.substr(Bom.size()), BigEndian);
        Text = Decoded;
    }
    size_t Start = 0;
    bool FirstEnd = true;
    while (Start < Text.size()) {
        size_t End = Text.find_first_of("\r\n", Start);
        if (End == std::string_view::npos) {
            Lines.emplace_back(Text.substr(Start));
            break;
        }
        Lines.emplace_back(Text.substr(Start, End - Start));
        size_t EndLength = Text.compare(End, 2, "\r\n") == 0 ? 2 : 1;
        if (FirstEnd) {
            LineEnd = std::string(Text.substr(End, EndLength));
            FirstEnd = false;
        }
        Start = End + EndLength;
    }
}

std::string TProfileText::Get(std::string_view Section, std::string_view Key,
                              std::string_view Default) const {
    bool InSection = false;
    for (const std::string& Line : Lines) {
        if (auto Name = SectionName(Line)) {
            if (InSection) {
                break;
            }
            InSection = SameTextIgnoringCase(*Name, Section);
        } else if (InSection && IsKeyLine(Line, Key)) {
            std::string_view Value = Trim(std::string_view(Line).substr(Line.find('=') + 1));
            if (Value.size() >= 2 && Value.front() == Value.back() &&
                (Value.front() == '"' || Value.front() == '\'')) {
                Value = Value.substr(1, Value.size() - 2);
            }
            return std::string(Value.substr(0, MaxValueBytes));
        }
    }
    return std::string(Default.substr(0, MaxValueBytes));
}

void TProfileText::Set(std::string_view Section, std::string_view Key, std::string_view Value) {
    std::string NewLine = std::string(Key) + "=" + std::string(Value);
    auto IsWanted = [&](const std::string& Candidate) {
        auto Name = SectionName(Candidate);
        return Name && SameTextIgnoringCase(*Name, Section);
    };
    size_t Line = 0;
    while (Line < Lines.size() && !IsWanted(Lines[Line])) {
        ++Line;
    }
    if (Line == Lines.size()) {
        std::string Header = "[";
        Header.append(Section);
        Header += ']';
        Lines.push_back(std::move(Header));
        Lines.push_back(NewLine);
        return;
    }
    // Within the section: replace the key, or add it after the section's last non-blank line.
    size_t InsertAt = Line + 1;
    for (++Line; Line < Lines.size() && !SectionName(Lines[Line]); ++Line) {
        if (IsKeyLine(Lines[Line], Key)) {
            Lines[Line] = NewLine;
            return;
        }
        if (!Trim(Lines[Line]).empty()) {
            InsertAt = Line + 1;
        }
    }
    Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(InsertAt), NewLine);
}

bool TProfileText::HasKeyIn(std::string_view Section) const {
    bool InSection = false;
    for (const std::string& Line : Lines) {
        if (auto Name = SectionName(Line)) {
            InSection = SameTextIgnoringCase(*Name, Section);
        } else if (InSection && Line.find('=') != std::string::npos) {
            return true;
        }
    }
    return false;
}

std::string TProfileText::Text() const {
    std::string Result;
    for (const std::string& Line : Lines) {
        Result += Line;
        Result += LineEnd;
    }
    if (Encoding != TEncoding::Utf8) {
        Result = Utf8ToUtf16(Result, Encoding == TEncoding::Utf16BigEndian);
    }
    return Bom + Result;
}

std::optional<TProfileText> ReadExistingProfileFile(const std::string& Path) {
    int Error = 0;
    std::optional<std::string> Bytes = ReadWholeFile(Path, Error);
    if (Bytes) {
        return TProfileText(*Bytes);
    }
    if (Error == ENOENT || Error == ENOTDIR) {
        return std::nullopt;
    }
    throw Placed(InOutError(Error), Path);
}

TProfileText ReadProfileFile(const std::string& Path) {
    int Error = 0;
    std::optional<std::string> Bytes = ReadWholeFile(Path, Error);
    return TProfileText(Bytes ? *Bytes : std::string());
}

std::string GetPrivateProfileString(std::string_view Section, std::string_view Key,
                                    std::string_view Default, const std::string& Path) {
    return ReadProfileFile(Path).Get(Section, Key, Default);
}

void WritePrivateProfileString(std::string_view Section, std::string_view Key,
                               std::string_view Value, const std::string& Path) {
    int Error = 0;
    std::optional<std::string> Bytes = ReadWholeFile(Path, Error);
    // A file that exists but cannot be read is never overwritten: its contents would be lost.
    if (!Bytes && Error != ENOENT) {
        RaiseCannotWrite(Path);
    }
    TProfileText Profile(Bytes ? *Bytes : std::string());
    Profile.Set(Section, Key, Value);
    WriteProfileFile(Profile, Path);
}

void WriteProfileFile(const TProfileText& Profile, const std::string& Path) {
    const std::string Text = Profile.Text();
    TAtomicFile File(Path, TAtomicFile::TDurability::Synced);
    File.Write(Text.data(), Text.size());
    File.Commit();
}

} // namespace talvo
