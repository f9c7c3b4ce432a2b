#pragma once

#include <cstdio>
#include <memory>

namespace talvo {

// A large stdio buffer for a stream that moves megabytes: glibc keeps its own few kilobytes
// when setvbuf is given no buffer. Declare it before the stream's handle, so that the stream
// is closed before its buffer goes.
class TStreamBuffer {
  public:
    static constexpr size_t Bytes = size_t{1} << 20;

    TStreamBuffer() : Buffer(new char[Bytes]) {}
    void Attach(std::FILE* Stream) { std::setvbuf(Stream, Buffer.get(), _IOFBF, Bytes); }

  private:
    std::unique_ptr<char[]> Buffer;
};

} // namespace talvo
