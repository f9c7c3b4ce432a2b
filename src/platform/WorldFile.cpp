#include "platform/WorldFile.h"

#include <cstdio>
#include <filesystem>

#include "platform/AsciiCase.h"
#include "platform/AtomicFile.h"

namespace talvo {

namespace {

// 17 significant digits: every double reads back as itself.
std::string Number(double Value) {
    char Text[40];
    std::snprintf(Text, sizeof Text, "%.17g", Value);
    return Text;
}

std::string XmlEscaped(const std::string& Text) {
    std::string Escaped;
    for (char C : Text) {
        switch (C) {
        case '&':
            Escaped += "&amp;";
            break;
        case '<':
            Escaped += "&lt;";
            break;
        case '>':
            Escaped += "&gt;";
            break;
        case '"':
            Escaped += "&quot;";
            break;
        default:
            Escaped += C;
        }
    }
    return Escaped;
}

void WriteText(const std::string& Path, const std::string& Text) {
    TAtomicFile File(Path);
    File.Write(Text.data(), Text.size());
    File.Commit();
}

} // namespace

std::vector<std::string> WorldFilePaths(const std::string& Path) {
    const std::filesystem::path Picture(Path);
    const std::string Ext = UpperAscii(Picture.extension().string());
    // The extension's first and last letters with a "w": .pgw, .jgw, .bpw.
    const std::string World = Ext == ".PNG"                     ? ".pgw"
                              : Ext == ".JPG" || Ext == ".JPEG" ? ".jgw"
                                                                : ".bpw";
    return {std::filesystem::path(Path).replace_extension(World).string(), Path + ".aux.xml"};
}

void WriteWorldFiles(const std::string& Path, const std::array<double, 6>& T,
                     const std::string& Crs) {
    const std::vector<std::string> Paths = WorldFilePaths(Path);
    // Pixel centres, as world files count them.
    WriteText(Paths[0], Number(T[1]) + "\n" + Number(T[4]) + "\n" + Number(T[2]) + "\n" +
                            Number(T[5]) + "\n" + Number(T[0] + T[1] / 2 + T[2] / 2) + "\n" +
                            Number(T[3] + T[4] / 2 + T[5] / 2) + "\n");
    if (!Crs.empty()) {
        WriteText(Paths[1], "<PAMDataset>\n  <SRS>" + XmlEscaped(Crs) + "</SRS>\n</PAMDataset>\n");
    }
}

} // namespace talvo
