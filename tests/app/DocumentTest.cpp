// The document without a window: what the viewer and the command line both do with it.
#include "app/Document.h"

#include <gtest/gtest.h>

#include "import/E00Reader.h"
#include "import/OpenMap.h"
#include "platform/ProfileFile.h"
#include "render/MapPicture.h"
#include "support/FgGmlText.h"
#include "support/NumMapText.h"

namespace talvo {
namespace {

using test::WriteTempFile;

std::string Sample(const char* Name) {
    return std::string(TALVO_SAMPLES_DIR "/jacksboro/") + Name;
}

// A document over a copy of the sample palette.
TDocument SampleDocument() {
    return TDocument({WriteTempFile("document.ini", test::FileText(Sample("Talvo.ini"))), false},
                     "");
}

TEST(Document, OpenDrawCancelAndReopen) {
    TDocument Document = SampleDocument();
    EXPECT_TRUE(Document.SettingsUnreadable().empty());
    TProgress Progress;
    ASSERT_EQ(Document.Open(Sample("EL533945.hdr"), Progress).Outcome, TOpenOutcome::Loaded);
    const TLayerFlags Layers = Document.Settings().GmpChk; // the sample ticks the boundaries
    const TDrawing Drawing = Document.StartDrawing(Layers);
    EXPECT_TRUE(Drawing.OverlayFailure.empty());
    EXPECT_TRUE(Document.Overlays().Loaded[0]);

    // A reopen while the drawing waits: the job still draws the map it was given.
    ASSERT_EQ(Document.Open(Sample("533945.Mem"), Progress).Outcome, TOpenOutcome::Loaded);
    EXPECT_FALSE(Document.Overlays().Loaded[0]); // a new map reads its layers anew
    TProgress Drawn;
    const std::optional<TBitmap> Picture = Drawing.Job(Drawn);
    ASSERT_TRUE(Picture);
    EXPECT_EQ(Picture->Width(), 403);
    EXPECT_EQ(Picture->Height(), 344);
    const TLoadedMap Elevation = OpenMap(Sample("EL533945.hdr")).Map;
    TOverlaySet Overlays;
    LoadOverlays(Overlays, Elevation, Layers);
    TProgress Direct;
    const std::optional<TBitmap> Expected = DrawMapPicture(Elevation, Overlays, Document.Settings(),
                                                           Document.ColourTable(), Layers, Direct);
    for (int32_t Y = 0; Y < Picture->Height(); ++Y) {
        ASSERT_TRUE(
            std::equal(Picture->Row(Y), Picture->Row(Y) + Picture->Width(), Expected->Row(Y)))
            << Y;
    }

    // Cancelled jobs: a drawing returns nothing, an open raises and the map on show stays.
    TProgress Cancelled;
    Cancelled.Cancel();
    EXPECT_FALSE(Document.StartDrawing(Layers).Job(Cancelled));
    const auto Before = Document.Map();
    EXPECT_THROW(Document.Open(Sample("EL533945.hdr"), Cancelled), ECancelled);
    EXPECT_EQ(Document.Map(), Before);
    EXPECT_EQ(Document.Map()->NumHeader.Columns, 200);

    // A failed open leaves it too; the next one succeeds.
    EXPECT_THROW(Document.Open(Sample("missing.Mem"), Progress), ETalvoError);
    EXPECT_EQ(Document.Map(), Before);
    ASSERT_EQ(Document.Open(Sample("EL533945.hdr"), Progress).Outcome, TOpenOutcome::Loaded);
    EXPECT_EQ(Document.Map()->NumHeader.Columns, 403);
}

TEST(Document, EveryReaderStopsWhenCancelled) {
    test::TFgGmlText Tile;
    Tile.Tuples = test::FgGmlPoints({"1.", "2.", "3.", "4.", "5.", "6."});
    for (const std::string& Path :
         {Sample("533945.Mem"), Sample("EL533945.hdr"), Sample("jacksboro.bil"),
          WriteTempFile("cancel.xml", test::FormatFgGml(Tile))}) {
        SCOPED_TRACE(Path);
        TLoadedMap Empty;
        InitLoadedMap(Empty);
        TProgress Cancelled;
        Cancelled.Cancel();
        EXPECT_THROW(OpenMap(Path, Empty, Cancelled), ECancelled);
    }
}

TEST(Document, SettingsAndPlacementsAreSavedInOneWrite) {
    TDocument Document = SampleDocument();
    TViewSettings Settings = Document.Settings();
    Settings.Max = 3000;
    Document.SaveSettings(Settings, {{"Bounds", "MapForm.Bounds", "0,-1,-1,-1,-1,1,2,3,4"}});
    EXPECT_EQ(Document.Settings().Pit, 60); // kept as written
    const TProfileText Saved = ReadProfileFile(Document.SettingsFile().Path);
    EXPECT_EQ(Saved.Get("Height", "Max", ""), "3000");
    EXPECT_EQ(Saved.Get("Bounds", "MapForm.Bounds", ""), "0,-1,-1,-1,-1,1,2,3,4");

    // The next start reads the placement back with the settings.
    const TDocument Again({Document.SettingsFile().Path, true}, "");
    EXPECT_EQ(Again.StartValue("Bounds", "MapForm.Bounds"), "0,-1,-1,-1,-1,1,2,3,4");
    EXPECT_EQ(Again.Settings().Max, 3000);
}

TEST(Document, ASelectionKeptFromALargerMapStaysOnTheNextOne) {
    TDocument Document = SampleDocument();
    TMapView& View = Document.View();
    EXPECT_EQ(View.Selection().Width, 100); // the documented start rectangle
    TProgress Progress;
    for (const char* Name : {"EL533945.hdr", "533945.Mem"}) { // 403 × 344, then 200 × 200 cells
        Document.Open(Sample(Name), Progress);
        View.ShowPicture(*Document.StartDrawing({}).Job(Progress), Document.Map());
        if (View.Selection().Width == 100) {
            View.SetSelection({250, 20, 150, 300}); // dragged over the larger map
        }
    }
    const auto Within = [&](const TRegion& Region) {
        const TNum_HeaderRec& H = Document.Map()->NumHeader;
        return Region.StartX >= 0 && Region.StartY >= 0 && Region.SizeX > 0 && Region.SizeY > 0 &&
               Region.StartX + Region.SizeX <= H.Columns && Region.StartY + Region.SizeY <= H.Rows;
    };
    EXPECT_TRUE(Within(View.SelectedRegion(*Document.Map(), 0, 0, "1", "1")));
    // Drawn again at another zoom, the same map keeps the rectangle as the user left it.
    View.SetZoom(0.125);
    View.SetSelection({5, 5, 150, 100});
    View.ShowPicture(*Document.StartDrawing({}).Job(Progress), Document.Map());
    EXPECT_EQ(View.Selection().Width, 150);
    // Zoomed in and scrolled to the picture's far corner, the rectangle still ends at its edge.
    View.SetZoom(8);
    View.SetSelection({0, 0, 480, 435});
    EXPECT_TRUE(Within(View.SelectedRegion(*Document.Map(), 1500, 1500, "1", "1")));
}

} // namespace
} // namespace talvo
