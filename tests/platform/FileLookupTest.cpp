#include "platform/FileLookup.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "support/NumMapText.h"

namespace talvo {
namespace {

TEST(FileLookup, ExactNameFirstThenSameNameInAnotherCase) {
    std::string Exact = test::WriteTempFile("Case.HDR", "x");
    std::string Folder = std::filesystem::path(Exact).parent_path();
    test::WriteTempFile("case.hdr", "y");
    EXPECT_EQ(FindFileIgnoringCase(Exact), Exact);
    EXPECT_EQ(FindFileIgnoringCase(Folder + "/case.hdr"), Folder + "/case.hdr");
    // Two candidates: the first in sorted order.
    EXPECT_EQ(FindFileIgnoringCase(Folder + "/CASE.hdr"), Folder + "/Case.HDR");
    EXPECT_EQ(FindFileIgnoringCase(Folder + "/none.hdr"), std::nullopt);
    EXPECT_EQ(FindFileIgnoringCase(Folder), std::nullopt); // a folder is no file
    EXPECT_EQ(FindFileIgnoringCase("/nonexistent-talvo/x.hdr"), std::nullopt);
}

} // namespace
} // namespace talvo
