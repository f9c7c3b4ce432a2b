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
// raw bytes. A line longer than MaxLineBytes ends the read with an error naming the file and
// the line, so that memory stays bounded and an endless line (/dev/zero) ends.
class TTextFile {
  public:
    // Far beyond any line of the map formats (a numeric map's longest is about 5 KB).
    static constexpr size_t DefaultMaxLineBytes = size_t{1} << 20;

    // Opens Path for reading; failures raise EInOutError naming it.
    explicit TTextFile(const std::string& Path, size_t MaxLineBytes = DefaultMaxLineBytes);
    // Reads from an open stream and closes it when done (used for data held in memory); Name
    // stands for its path in messages.
    TTextFile(std::FILE* Stream, std::string Name, size_t MaxLineBytes = DefaultMaxLineBytes);

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
    size_t MaxLineBytes;
    TFileHandle Stream;
    std::unique_ptr<char[]> Buffer;
    size_t BufferPos = 0;
    size_t BufferEnd = 0;
    bool AtEnd = false;
    int64_t LinesRead = 0;
    std::string Line;
};

} // namespace talvo
