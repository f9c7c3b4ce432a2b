#include "platform/TextFile.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <vector>

#include "platform/Errors.h"
#include "platform/Messages.h"
#include "support/NumMapText.h"

namespace talvo {
namespace {

std::vector<std::string> ReadAll(const std::string& Bytes) {
    TTextFile File(test::WriteTempFile("lines.txt", Bytes));
    std::vector<std::string> Lines;
    while (!File.Eof()) {
        Lines.emplace_back(File.ReadLine());
    }
    return Lines;
}

using Lines = std::vector<std::string>;

TEST(TextFile, EveryLineEndEndsALine) {
    EXPECT_EQ(ReadAll("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(ReadAll("a\nb\n"), (Lines{"a", "b"}));
    EXPECT_EQ(ReadAll("a\rb\r"), (Lines{"a", "b"}));
    EXPECT_EQ(ReadAll("a\r\n\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(ReadAll("a\n\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(ReadAll("a\r\n\r\n"), (Lines{"a", ""}));
    EXPECT_EQ(ReadAll(""), Lines{});
}

TEST(TextFile, CtrlZEndsTheFile) {
    EXPECT_EQ(ReadAll("a\r\n\x1a"
                      "b\r\n"),
              Lines{"a"});
    EXPECT_EQ(ReadAll("ab\x1a"
                      "cd"),
              Lines{"ab"});
    EXPECT_EQ(ReadAll("\x1a"), Lines{});
}

TEST(TextFile, ReadingAtTheEndGivesEmptyLines) {
    TTextFile File(test::WriteTempFile("end.txt", "x\x1a"));
    EXPECT_EQ(File.ReadLine(), "x");
    EXPECT_TRUE(File.Eof());
    EXPECT_EQ(File.ReadLine(), "");
    EXPECT_EQ(File.ReadLine(), "");
}

TEST(TextFile, LinesSpanningBuffersComeWhole) {
    std::string Bytes = std::string(70000, 'a') + "\r\n" + std::string(200000, 'x') + "\r\nend";
    EXPECT_EQ(ReadAll(Bytes), (Lines{std::string(70000, 'a'), std::string(200000, 'x'), "end"}));

    // A CR LF split across the read buffer still counts as one line end.
    std::string Split = std::string(65535, 'b') + "\r\nc";
    EXPECT_EQ(ReadAll(Split).size(), 2u);
}

TEST(TextFile, ALineOverItsBoundEndsTheReadNamingFileAndLine) {
    const std::string Mebibyte(size_t{1} << 20, 'z');
    const struct {
        std::string Bytes;
        size_t Bound;
        int FailingLine; // 0: every line is read
    } Cases[] = {
        {"ab\ncde\nf", 3, 0},
        {"ab\ncdef\ng", 3, 2},
        {"ab\r\ncdef", 3, 2},
        {"abcd\x1a", 3, 1},
        {Mebibyte + "\n" + Mebibyte, TTextFile::DefaultMaxLineBytes, 0},
        {"a\n" + Mebibyte + "z", TTextFile::DefaultMaxLineBytes, 2},
    };
    for (const auto& Case : Cases) {
        const std::string Path = test::WriteTempFile("bound.txt", Case.Bytes);
        std::string Message;
        try {
            TTextFile File(Path, Case.Bound);
            while (!File.Eof()) {
                File.ReadLine();
            }
        } catch (const EInOutError& Error) {
            Message = Error.what();
        }
        EXPECT_EQ(Message, Case.FailingLine == 0
                               ? ""
                               : Text(TText::LineTooLong, {std::to_string(Case.Bound)}) + "\n" +
                                     Path + ":" + std::to_string(Case.FailingLine))
            << Case.Bytes.substr(0, 16);
    }
}

TEST(TextFile, OpenFailuresHaveTheUsualTextsAndThePath) {
    auto Message = [](const std::string& Path) {
        try {
            TTextFile File(Path);
            File.ReadLine();
        } catch (const EInOutError& Error) {
            return std::string(Error.what());
        }
        return std::string();
    };
    EXPECT_EQ(Message("/nonexistent-talvo/none.Mem"),
              "ﾌｧｲﾙが見つかりません\n/nonexistent-talvo/none.Mem");
    std::string Existing = test::WriteTempFile("plain.txt", "x");
    EXPECT_EQ(Message(Existing + "/below"), "ﾊﾟｽが見つかりません\n" + Existing + "/below");
    EXPECT_EQ(Message("/"), "ﾌｧｲﾙ ｱｸｾｽが拒否されました\n/:1");
}

} // namespace
} // namespace talvo
