// An export cancelled while GDAL writes it: nothing lost, nothing left.
#include "app/HeightExport.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

#include "import/OpenMap.h"
#include "support/FgGmlText.h"
#include "support/NumMapText.h"
#include "support/RunFolder.h"

namespace talvo {
namespace {

std::set<std::string> Names(const std::string& Folder) {
    std::set<std::string> Found;
    for (const auto& Entry : std::filesystem::directory_iterator(Folder)) {
        Found.insert(Entry.path().filename().string());
    }
    return Found;
}

// Cancels the export it watches once GDAL has taken its first rows, as a closing window would,
// noting what the folder then holds.
class TCancelWhileWriting : public TProgress {
  public:
    explicit TCancelWhileWriting(std::string Folder) : Folder(std::move(Folder)) {}
    std::set<std::string> WhileWriting;

  protected:
    void Changed() override {
        if (Done() > 0 && !Cancelled()) {
            WhileWriting = Names(Folder);
            Cancel();
        }
    }

  private:
    std::string Folder;
};

TEST(HeightExport, ACancelKeepsThePreviousFileAndLeavesNoTemporaryFile) {
    // Wider than a COG's tile, so that GDAL makes overviews beside the file too.
    test::TFgGmlText Parts;
    Parts.High = "599 2";
    Parts.Upper = "36.5025 -84.35";
    Parts.Tuples = test::FgGmlPoints(std::vector<std::string>(1800, "12.34"));
    const TLoadedMap Map = OpenMap(test::WriteTempFile("wide.xml", test::FormatFgGml(Parts))).Map;
    ASSERT_EQ(Map.NumHeader.Columns, 600);
    const test::TRunFolder Folder("/tmp/talvo-export-XXXXXX");
    const std::string Target = Folder.Path + "/heights.tif";
    std::ofstream(Target) << "previous";

    TCancelWhileWriting Cancelling(Folder.Path);
    EXPECT_THROW(ExportHeights(Map, {}, Target, Cancelling), ECancelled);
    EXPECT_GT(Cancelling.WhileWriting.size(), 1U); // the file was under way beside the target
    EXPECT_EQ(test::FileText(Target), "previous");
    EXPECT_EQ(Names(Folder.Path), std::set<std::string>{"heights.tif"});

    TProgress Unwatched;
    ExportHeights(Map, {}, Target, Unwatched);
    EXPECT_EQ(Unwatched.Done(), Unwatched.Total());
    EXPECT_EQ(test::FileText(Target).substr(0, 2), "II");
    EXPECT_EQ(Names(Folder.Path), std::set<std::string>{"heights.tif"});
}

} // namespace
} // namespace talvo
