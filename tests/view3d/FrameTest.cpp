#include "view3d/Frame.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

void ExpectNear(glm::vec3 Got, glm::vec3 Want, float Tolerance = 1e-4f) {
    EXPECT_NEAR(Got.x, Want.x, Tolerance);
    EXPECT_NEAR(Got.y, Want.y, Tolerance);
    EXPECT_NEAR(Got.z, Want.z, Tolerance);
}

TEST(Frame, PositionsAndOrientationsRelativeToOtherFrames) {
    TFrame Root;
    TFrame& Turned = Root.CreateChild();
    Turned.SetPosition(&Root, {10, 0, 0});
    Turned.AddRotation(TCombine::Replace, {0, 1, 0}, 3.14159265f / 2); // x → −z
    TFrame& Child = Turned.CreateChild();
    Child.SetPosition(&Turned, {0, 0, 5}); // 5 along Turned's z, which is Root's +x
    ExpectNear(Child.GetPosition(&Root), {15, 0, 0});
    ExpectNear(Child.GetPosition(&Turned), {0, 0, 5});
    Child.SetPosition(&Root, {10, 3, 0});
    ExpectNear(Child.GetPosition(&Turned), {0, 3, 0});

    // An up vector not perpendicular to the direction is made so.
    Child.SetOrientation(&Root, {0, 0, 2}, {0, 1, 1});
    glm::vec3 Direction, Up;
    Child.GetOrientation(&Root, Direction, Up);
    ExpectNear(Direction, {0, 0, 1});
    ExpectNear(Up, {0, 1, 0});
    Child.GetOrientation(&Turned, Direction, Up);
    ExpectNear(Direction, {-1, 0, 0}); // Root's +z seen from Turned
}

TEST(Frame, RotationsCombineAndMove) {
    TFrame Root;
    TFrame& Spin = Root.CreateChild();
    Spin.SetOrientation(&Root, {0, 0, 1}, {0, 1, 0});
    // Before: about the frame's own axes; after: about the parent's.
    Spin.AddRotation(TCombine::After, {1, 0, 0}, 3.14159265f / 2); // z axis tips to −y
    glm::vec3 Direction, Up;
    Spin.GetOrientation(&Root, Direction, Up);
    ExpectNear(Direction, {0, -1, 0});
    Spin.AddRotation(TCombine::Before, {0, 1, 0}, 3.14159265f / 2); // about its own y (root's z)
    Spin.GetOrientation(&Root, Direction, Up);
    ExpectNear(Direction, {1, 0, 0});

    TFrame& Light = Root.CreateChild();
    Light.SetPosition(&Root, {50, 50, 0});
    Light.SetRotation(&Root, {0, 0, 1}, 0.0872665f);
    for (int I = 0; I < 18; ++I) {
        Light.Move(1.0f); // 18 × 5°: a quarter turn about the root's z, x → y
    }
    ExpectNear(Light.GetPosition(&Root), {-50, 50, 0}, 1e-3f);
    Light.GetOrientation(&Root, Direction, Up);
    ExpectNear(Up, {-1, 0, 0});
    Light.Move(54.0f); // the other three quarters at once

    ExpectNear(Light.GetPosition(&Root), {50, 50, 0}, 1e-2f); // single precision, 72 turns
    Light.GetOrientation(&Root, Direction, Up);
    ExpectNear(Direction, {0, 0, 1});
}

} // namespace
} // namespace talvo
