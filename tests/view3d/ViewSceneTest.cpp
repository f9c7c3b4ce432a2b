#include "view3d/ViewScene.h"

#include <gtest/gtest.h>

#include "view3d/PendingInput.h"

namespace talvo {
namespace {

constexpr float Tolerance = 1e-3f;

class ViewScene : public ::testing::Test {
  protected:
    ViewScene() { View.Initialize(RenderQualityOf("GOURAUD")); }
    glm::vec3 SpinDirection() const {
        glm::vec3 Direction, Up;
        View.SpinFrame->GetOrientation(&View.Scene(), Direction, Up);
        return Direction;
    }
    TRenderer Renderer;
    TViewScene View{Renderer};
};

TEST_F(ViewScene, StartsWithTheCameraSouthOfTheModel) {
    const glm::vec3 P = View.Camera->GetPosition(&View.Scene());
    EXPECT_NEAR(P.z, -200, Tolerance);
    EXPECT_EQ(Renderer.Device.Quality, TDevice::Gouraud);
    auto Lines = View.OverlayLines(60, false, 500, 18);
    EXPECT_EQ(Lines[4].second, "Pos:Z=-10000");
    EXPECT_EQ(Lines[5].second, "Roll =0.00");
    EXPECT_EQ(Lines[6].second, "Pitch=0.00");
    EXPECT_EQ(Lines[7].second, "Faces=18");
    EXPECT_EQ(Lines[9].second, "Yor:Y=1");
    EXPECT_EQ(Lines[13].second, "Zor:Z=1");
    EXPECT_EQ(Lines[13].first, 210);

    View.Initialize(RenderQualityOf("MAPPING"));
    EXPECT_EQ(Renderer.Device.Quality, TDevice::Flat);
    View.Initialize(RenderQualityOf("mapping")); // no row matches: Gouraud stays
    EXPECT_EQ(Renderer.Device.Quality, TDevice::Gouraud);
}

TEST_F(ViewScene, CameraKeysAndAimingAtTheAxis) {
    for (int I = 0; I < 3; ++I) {
        View.KeyDown(TViewScene::TKey::PageUp);
    }
    View.KeyDown(TViewScene::TKey::Key5);
    const glm::vec3 P = View.Camera->GetPosition(&View.Scene());
    EXPECT_NEAR(P.y, 30, Tolerance);
    EXPECT_NEAR(P.z, -200, Tolerance);
    glm::vec3 Direction, Up;
    View.Camera->GetOrientation(&View.Scene(), Direction, Up);
    const glm::vec3 ToOrigin = glm::normalize(-P);
    EXPECT_NEAR(glm::dot(Direction, ToOrigin), 1.0f, Tolerance); // looks at the origin
    EXPECT_GT(Up.y, 0.9f);                                       // +y roughly up
    View.KeyDown(TViewScene::TKey::Key8);
    EXPECT_NEAR(View.Camera->GetPosition(&View.Scene()).z, -190, Tolerance);
}

TEST_F(ViewScene, TurnsHomeAndDrags) {
    View.KeyDown(TViewScene::TKey::Right);
    View.KeyDown(TViewScene::TKey::Left);
    glm::vec3 D = SpinDirection();
    EXPECT_NEAR(D.z, 1, Tolerance);
    for (int I = 0; I < 12; ++I) {
        View.KeyDown(TViewScene::TKey::Right);
    }
    D = SpinDirection();
    EXPECT_NEAR(D.z, -1, Tolerance); // 180°

    View.KeyDown(TViewScene::TKey::Up);
    View.KeyDown(TViewScene::TKey::Home);
    glm::vec3 Direction, Up;
    View.ModelFrame->GetOrientation(&View.Scene(), Direction, Up);
    EXPECT_NEAR(Direction.z, 1, Tolerance);
    EXPECT_NEAR(Up.y, 1, Tolerance);

    TRenderer Fresh;
    TViewScene Drag(Fresh);
    Drag.Initialize(RenderQualityOf("GOURAUD"));
    Drag.MouseDown(true, false, 100, 100);
    Drag.MouseDown(false, true, 100, 100); // no second drag during the first
    EXPECT_FALSE(Drag.DollyDragging);
    Drag.MouseMove(120, 100);
    Drag.MouseUp();
    Drag.SpinFrame->GetOrientation(&Drag.Scene(), Direction, Up);
    EXPECT_NEAR(std::atan2(Direction.x, Direction.z), -30 * 3.14159265f / 180, Tolerance);
    Drag.MouseDown(false, true, 0, 0);
    Drag.MouseMove(5, 20);
    EXPECT_NEAR(Drag.Camera->GetPosition(&Drag.Scene()).z, -180, Tolerance);
}

// A frame applies every input that came since the last one at once, and leaves the scene where
// the same inputs applied a frame each would.
TEST_F(ViewScene, AFrameAppliesEveryPendingInputOnce) {
    using TKey = TViewScene::TKey;
    const std::pair<TKey, int> Presses[] = {
        {TKey::Left, 240}, {TKey::Up, 7},       {TKey::Key8, 30}, {TKey::L, 2},
        {TKey::Left, 3},   {TKey::PageDown, 5}, {TKey::Key5, 4},  {TKey::Right, 11}};
    TRenderer OtherRenderer;
    TViewScene OneByOne{OtherRenderer};
    OneByOne.Initialize(RenderQualityOf("GOURAUD"));
    TPendingInput Pending;
    for (const auto& [Key, Times] : Presses) {
        for (int Press = 0; Press < Times; ++Press) {
            OneByOne.KeyDown(Key);
            Pending.Key(Key);
        }
    }
    // A drag across, in many small moves.
    OneByOne.MouseDown(true, false, 0, 0);
    View.MouseDown(true, false, 0, 0);
    for (int X = 1; X <= 50; ++X) {
        OneByOne.MouseMove(X, 0);
        Pending.Drag(X, 0);
    }
    Pending.ApplyTo(View);
    EXPECT_TRUE(Pending.Empty());
    for (const auto& [Frame, Other] :
         {std::pair(View.Camera, OneByOne.Camera), std::pair(View.SpinFrame, OneByOne.SpinFrame),
          std::pair(View.LightFrame, OneByOne.LightFrame)}) {
        const glm::mat4 Ours = Frame->WorldTransform();
        const glm::mat4 Theirs = Other->WorldTransform();
        for (int Col = 0; Col < 4; ++Col) {
            for (int Row = 0; Row < 4; ++Row) {
                EXPECT_NEAR(Ours[Col][Row], Theirs[Col][Row], Tolerance) << Col << "," << Row;
            }
        }
    }
}

TEST_F(ViewScene, LevellingKeepsTheHeading) {
    View.KeyDown(TViewScene::TKey::Right);
    View.KeyDown(TViewScene::TKey::Up);
    glm::vec3 Direction, Up;
    View.ModelFrame->GetOrientation(&View.Scene(), Direction, Up);
    const float Heading = std::atan2(Direction.x, Direction.z);
    View.KeyDown(TViewScene::TKey::X);
    View.ModelFrame->GetOrientation(&View.Scene(), Direction, Up);
    EXPECT_NEAR(Direction.y, 0, Tolerance);
    EXPECT_NEAR(Up.y, 1, Tolerance);
    EXPECT_NEAR(std::atan2(Direction.x, Direction.z), Heading, Tolerance);
}

// Framed, every corner of the model's box lies in front of the camera, inside a 4:3 view (half
// the view 0.5 units wide and 0.375 high one unit away) and nearer than the back of the view;
// F frames again after the camera has moved, and Home returns there too.
TEST_F(ViewScene, FramingShowsTheWholeModel) {
    const TViewScene::TModelBox Boxes[] = {
        {99, 99, 0, 2}, {1927, 1839, -1, 40}, {4000, 100, 0, 300}, {50, 50, -10, 900}};
    for (const TViewScene::TModelBox& Box : Boxes) {
        View.Initialize(RenderQualityOf("GOURAUD"));
        View.SetModelBox(Box);
        for (const TViewScene::TKey Key : {TViewScene::TKey::F, TViewScene::TKey::Home}) {
            View.KeyDown(TViewScene::TKey::Key8);
            View.KeyDown(Key);
            const glm::mat4 Seen = glm::inverse(View.Camera->WorldTransform());
            for (int Corner = 0; Corner < 8; ++Corner) {
                const glm::vec4 At(Corner & 1 ? Box.Width / 2 : -Box.Width / 2,
                                   Corner & 2 ? Box.High : Box.Low,
                                   Corner & 4 ? Box.Depth / 2 : -Box.Depth / 2, 1.0f);
                const glm::vec3 P = Seen * At;
                EXPECT_GT(P.z, 1.0f) << Box.Width << " corner " << Corner;
                EXPECT_LT(P.z, View.BackClip()) << Box.Width << " corner " << Corner;
                EXPECT_LE(std::abs(P.x / P.z), 0.5f) << Box.Width << " corner " << Corner;
                EXPECT_LE(std::abs(P.y / P.z), 0.375f) << Box.Width << " corner " << Corner;
            }
        }
    }
}

} // namespace
} // namespace talvo
