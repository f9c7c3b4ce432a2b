#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Errors.h"
#include "platform/FileHandle.h"

namespace talvo {

// A text file read line by line, as the map formats are written: a line ends at CR LF, at a
// CR alone or at an LF alone; byte 26 (Ctrl-Z) ends the file wherever it stands. Lines are
// raw bytes. No format reads past column 65536, so longer lines keep only their first
// MaxLineBytes bytes and memory stays bounded whatever the file holds.
class TTextFile {
  public:
    static constexpr size_t MaxLineBytes = 65536;

    // Opens Path for reading; failures raise EInOutError naming it.
    explicit TTextFile(const std::string& Path);
    // Reads from an open stream and closes it when done (used for data held in memory); Name
    // stands for its path in messages.
    TTextFile(std::FILE* Stream, std::string Name);

    // True when no byte is left before the end of the file or a Ctrl-Z.
    bool Eof();
    // The next line without its line end; an empty line at the end of the file. The view
    // stays valid until the next call.
    std::string_view ReadLine();
    // The number of lines read so far: the line number of the last line read.
    int64_t LineNumber() const { return LinesRead; }
    // The path the file was opened with, or the name given with its stream.
    const std::string& Name() const { return FName; }

  private:
    int PeekByte();
    void Refill();
    // Raises Error naming the file and the line being read.
    [[noreturn]] void Raise(const EInOutError& Error) const;

    std::string FName;
    TFileHandle Stream;
    std::unique_ptr<char[]> Buffer;
    size_t BufferPos = 0;
    size_t BufferEnd = 0;
    bool AtEnd = false;
    int64_t LinesRead = 0;
    std::string Line;
};

} // namespace talvo
