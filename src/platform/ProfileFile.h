#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talvo {

// An INI profile: [Section] lines and Key=Value lines. Sections and keys match without regard
// to letter case; the first match counts. Lines that are neither, comments included, are kept
// as they are. The text is UTF-8, or UTF-16 with its byte-order mark (as Windows Notepad saves
// it), and is written back as it came.
class TProfileText {
  public:
    static constexpr size_t MaxValueBytes = 1023;

    explicit TProfileText(std::string_view Text = {});

    // The value trimmed of blanks and of one pair of enclosing quotes, at most MaxValueBytes
    // bytes; Default when the section or key is missing.
    std::string Get(std::string_view Section, std::string_view Key, std::string_view Default) const;
    // Whether the section is there with at least one key.
    bool HasKeyIn(std::string_view Section) const;
    // Replaces the key's line in place, or adds the key at the end of its section, or adds the
    // section at the end of the text.
    void Set(std::string_view Section, std::string_view Key, std::string_view Value);
    // The whole text in the original's encoding and byte-order mark, each line ended as the
    // original text ended its first line (CR LF for a text that had none).
    std::string Text() const;

  private:
    enum class TEncoding { Utf8, Utf16LittleEndian, Utf16BigEndian };

    std::vector<std::string> Lines;
    std::string LineEnd = "\r\n";
    std::string Bom; // the byte-order mark the text began with, kept for writing back
    TEncoding Encoding = TEncoding::Utf8;
};

// The profile file at Path; an empty profile when it is missing or cannot be read.
TProfileText ReadProfileFile(const std::string& Path);

// The profile file at Path; nothing when there is no such file. A file that is there but cannot
// be read raises EInOutError with the reason and the file's full path.
std::optional<TProfileText> ReadExistingProfileFile(const std::string& Path);

// Writes Profile as the file at Path in one piece, replacing the file only when complete and
// flushed to the disk; raises EInOutError "<Path> に書き込めません" when it cannot.
void WriteProfileFile(const TProfileText& Profile, const std::string& Path);

// The settings-file calls: a read never fails (a missing file gives Default); a write updates
// the file at once and raises EInOutError "<Path> に書き込めません" when it cannot.
std::string GetPrivateProfileString(std::string_view Section, std::string_view Key,
                                    std::string_view Default, const std::string& Path);
void WritePrivateProfileString(std::string_view Section, std::string_view Key,
                               std::string_view Value, const std::string& Path);

} // namespace talvo
