// Zip archives through libzip. Opening reads the central directory once; each entry's size is
// what the directory declares, which callers check against their limits before reading anything.

#include "import/ZipArchive.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <new>
#include <zip.h>

#include "platform/AsciiCase.h"
#include "platform/Cp932.h"
#include "platform/Errors.h"
#include "platform/FileErrors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

struct TZipFileCloser {
    void operator()(zip_file_t* File) const { zip_fclose(File); }
};

struct TZipErrorFinisher {
    void operator()(zip_error_t* Error) const { zip_error_fini(Error); }
};

// libzip's failure in the program's words, naming Where.
[[noreturn]] void RaiseZipError(const zip_error_t& Error, const std::string& Where) {
    const int System = zip_error_code_system(&Error);
    switch (zip_error_code_zip(&Error)) {
    case ZIP_ER_OPEN:
    case ZIP_ER_READ:
    case ZIP_ER_SEEK:
    case ZIP_ER_TELL:
        throw Placed(InOutError(System != 0 ? System : EIO), Where);
    case ZIP_ER_MEMORY:
        throw std::bad_alloc();
    case ZIP_ER_NOZIP:
        throw Placed(ETalvoError(Text(TText::ZipNotArchive)), Where);
    case ZIP_ER_COMPNOTSUPP:
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
    case ZIP_ER_MULTIDISK:
        throw Placed(ETalvoError(Text(TText::ZipUnsupported)), Where);
    default:
        throw Placed(ETalvoError(Text(TText::ZipDamaged)), Where);
    }
}

[[noreturn]] void RaiseZipError(int Code, const std::string& Where) {
    zip_error_t Error;
    zip_error_init_with_code(&Error, Code);
    const std::unique_ptr<zip_error_t, TZipErrorFinisher> Finished(&Error);
    RaiseZipError(Error, Where);
}

// An entry's name in UTF-8. libzip's strict reading converts from CP437 exactly when the archive
// does not mark the name as UTF-8 and it holds a byte beyond ASCII; such a name is CP932.
std::string EntryName(zip_t* Archive, uint64_t Index, const char* Raw) {
    const std::string_view Bytes(Raw);
    if (std::all_of(Bytes.begin(), Bytes.end(),
                    [](char C) { return static_cast<unsigned char>(C) < 0x80; })) {
        return std::string(Bytes);
    }
    const char* Strict = zip_get_name(Archive, Index, ZIP_FL_ENC_STRICT);
    return Strict && Bytes == Strict ? std::string(Bytes) : Cp932ToUtf8(Bytes);
}

} // namespace

TZipArchive::TZipArchive(const std::string& Path) : Name(Path) {
    RequireReadableFile(Path);
    int Code = 0;
    Archive = zip_open(Path.c_str(), ZIP_RDONLY, &Code);
    if (!Archive) {
        RaiseZipError(Code, Path);
    }
    List();
}

TZipArchive::TZipArchive(TFileBytes Bytes, const std::string& Where)
    : Held(std::move(Bytes)), Name(Where) {
    zip_error_t Error;
    zip_error_init(&Error);
    const std::unique_ptr<zip_error_t, TZipErrorFinisher> Finished(&Error);
    zip_source_t* Source = zip_source_buffer_create(Held.Data.get(), Held.Size, 0, &Error);
    if (!Source) {
        RaiseZipError(Error, Where);
    }
    Archive = zip_open_from_source(Source, ZIP_RDONLY, &Error);
    if (!Archive) {
        zip_source_free(Source);
        RaiseZipError(Error, Where);
    }
    List();
}

TZipArchive::~TZipArchive() {
    zip_discard(Archive);
}

void TZipArchive::List() {
    try {
        const zip_int64_t Count = zip_get_num_entries(Archive, 0);
        for (zip_int64_t Index = 0; Index < Count; ++Index) {
            zip_stat_t Stat;
            const auto At = static_cast<uint64_t>(Index);
            if (zip_stat_index(Archive, At, ZIP_FL_ENC_RAW, &Stat) != 0) {
                RaiseZipError(*zip_get_error(Archive), Name);
            }
            if (!(Stat.valid & ZIP_STAT_NAME) || !(Stat.valid & ZIP_STAT_SIZE)) {
                RaiseZipError(ZIP_ER_INCONS, Name);
            }
            const std::string_view Raw(Stat.name);
            if (!Raw.empty() && Raw.back() != '/') {
                Files.push_back({At, EntryName(Archive, At, Stat.name), Stat.size});
            }
        }
    } catch (...) {
        zip_discard(Archive);
        throw;
    }
}

TFileBytes TZipArchive::Read(const TZipEntry& Entry, TStartCheck CheckStart) const {
    const std::string File = EntryPath(Entry);
    const std::unique_ptr<zip_file_t, TZipFileCloser> Opened(
        zip_fopen_index(Archive, Entry.Index, 0));
    if (!Opened) {
        RaiseZipError(*zip_get_error(Archive), File);
    }
    TFileBytes Bytes;
    while (true) {
        // One byte beyond the declared size, to find an entry that unpacks to more.
        char Beyond = 0;
        const bool Within = Bytes.Size < Entry.Size;
        const uint64_t Want =
            Within ? std::min<uint64_t>(Entry.Size - Bytes.Size, FilePieceBytes) : 1;
        if (Within) {
            ReserveFileBytes(Bytes, Bytes.Size + Want);
        }
        char* To = Within ? Bytes.Data.get() + Bytes.Size : &Beyond;
        const zip_int64_t Got = zip_fread(Opened.get(), To, Want);
        if (Got < 0) {
            RaiseZipError(*zip_file_get_error(Opened.get()), File);
        }
        if (Within ? Got == 0 : Got != 0) {
            throw Placed(ETalvoError(Text(TText::ZipEntrySize)), File);
        }
        if (!Within) {
            break;
        }
        if (Bytes.Size == 0 && CheckStart) {
            CheckStart(std::string_view(To, static_cast<size_t>(Got)), File);
        }
        Bytes.Size += static_cast<size_t>(Got);
    }
    return Bytes;
}

bool IsMacAttributes(std::string_view Name) {
    return UpperAscii(Name).starts_with("__MACOSX/");
}

void RequireZipStart(std::string_view FirstBytes, const std::string& File) {
    if (!FirstBytes.starts_with(std::string_view("PK\x03\x04", 4)) &&
        !FirstBytes.starts_with(std::string_view("PK\x05\x06", 4))) {
        throw Placed(ETalvoError(Text(TText::ZipNotArchive)), File);
    }
}

} // namespace talvo
