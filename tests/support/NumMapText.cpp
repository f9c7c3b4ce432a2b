#include "support/NumMapText.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace talvo::test {

namespace {

std::string PadRight(const std::string& Text, size_t Width) {
    std::string Result = Text.substr(0, Width);
    Result.resize(Width, ' ');
    return Result;
}

std::string PadLeft(const std::string& Text, size_t Width) {
    return Text.size() >= Width ? Text.substr(0, Width)
                                : std::string(Width - Text.size(), ' ') + Text;
}

} // namespace

std::string FormatNumHeader(const TNumHeaderText& H) {
    std::string Line = PadRight(H.MeshCode, 6) + PadLeft(H.SourceScale, 5) + PadRight(H.SurveyYear, 4) +
                       PadRight(H.RevisionYear, 4) + PadRight(H.DigitisedYear, 4) + PadLeft(H.Columns, 3) +
                       PadLeft(H.Rows, 3) + PadRight(H.SouthLatitude, 7) + PadRight(H.WestLongitude, 7) +
                       PadRight(H.NorthLatitude, 7) + PadRight(H.EastLongitude, 7) + PadLeft(H.SheetCount, 1);
    for (size_t Sheet = 0; Sheet < 4; ++Sheet) {
        Line += PadRight(H.SheetNames[Sheet], 20) + PadRight(H.SheetFlags[Sheet], 1);
    }
    return Line + PadLeft(H.RecordCount, 3) + PadRight(H.Comment, 80) + PadRight(H.RecordFlags, 320);
}

std::string FormatNumRecord(int LineNumber, const std::vector<int>& Values) {
    std::string Line = "533945" + PadLeft(std::to_string(LineNumber), 3);
    for (int Value : Values) {
        Line += PadLeft(std::to_string(Value), 5);
    }
    return Line;
}

std::string FormatNumMap(const std::vector<std::vector<int>>& Rows, const std::string& LineEnd) {
    TNumHeaderText Header;
    Header.Rows = std::to_string(Rows.size());
    Header.Columns = std::to_string(Rows.empty() ? 0 : Rows[0].size());
    Header.RecordCount = Header.Rows;
    std::string Text = FormatNumHeader(Header) + LineEnd;
    for (size_t Row = 0; Row < Rows.size(); ++Row) {
        Text += FormatNumRecord(static_cast<int>(Row + 1), Rows[Row]) + LineEnd;
    }
    return Text;
}

namespace {

// One folder per test process, removed when the process ends.
class TTempFolder {
  public:
    TTempFolder()
        : Path(std::filesystem::temp_directory_path() /
               ("talvo-test-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(Path);
    }
    ~TTempFolder() {
        std::error_code Ignored;
        std::filesystem::remove_all(Path, Ignored);
    }
    std::filesystem::path Path;
};

} // namespace

std::string WriteTempFile(const std::string& Name, const std::string& Bytes) {
    static TTempFolder Folder;
    std::filesystem::path Path = Folder.Path / Name;
    std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
    Out.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
    if (!Out) {
        throw std::runtime_error("cannot write " + Path.string());
    }
    return Path.string();
}

std::string FileText(const std::string& Path) {
    std::ifstream In(Path, std::ios::binary);
    std::stringstream Text;
    Text << In.rdbuf();
    return Text.str();
}

} // namespace talvo::test
