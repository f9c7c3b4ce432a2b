#include "view3d/ViewScene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace talvo {

namespace {

constexpr float TurnStep = 0.2617994f;  // π/12: 15° per key press
constexpr float LightStep = 0.0872665f; // π/36: 5° per L
constexpr float Degrees = 180.0f / 3.14159265358979f;
constexpr float StartBackClip = 5000.0f;
// Framing: 30° above the horizon, and half the narrower side of a 4:3 view (0.5 units wide one
// unit away, 0.375 high) around the model's sphere.
constexpr float FramingElevation = 0.5235988f; // π/6
constexpr float FramingHalfView = 0.375f;

// Up to 15 significant digits, as the general number format writes them.
std::string Number(double Value) {
    char Text[32];
    std::snprintf(Text, sizeof Text, "%.15g", Value);
    return Text;
}

std::string Angle(double Value) {
    char Text[32];
    std::snprintf(Text, sizeof Text, "%3.2f", Value);
    return Text;
}

} // namespace

void TViewScene::Initialize(TRenderQuality Quality) {
    Renderer.Reset();
    TFrame& Root = Scene();
    Camera = &Root.CreateChild();
    SpinFrame = &Root.CreateChild();
    ModelFrame = &SpinFrame->CreateChild();
    LightFrame = &SpinFrame->CreateChild();
    LightFrame->AddLight(std::make_shared<TLight>(TLight::TKind::Directional, glm::vec3(1.0f)));
    Root.AddLight(std::make_shared<TLight>(TLight::TKind::Ambient, glm::vec3(0.3f)));

    LightFrame->SetPosition(ModelFrame, {50, 50, 0});
    LightFrame->SetOrientation(ModelFrame, {-50, -10, 0}, {-10, 50, 0});
    LightFrame->SetRotation(ModelFrame, {0, 0, 1}, LightStep);
    Camera->SetPosition(&Root, {0, 0, -200});
    Camera->SetOrientation(&Root, {0, 0, 1}, {0, 1, 0});
    ModelFrame->SetPosition(&Root, {0, 0, 0});
    ModelFrame->SetOrientation(&Root, {0, 0, 1}, {0, 1, 0});
    Background = glm::vec3(0.0f);
    Framed = false;

    switch (Quality) {
    case TRenderQuality::Wireframe:
        Renderer.Device.Quality = TDevice::Wireframe;
        break;
    case TRenderQuality::UnlitFlat:
    case TRenderQuality::Map: // the picture carries its shading already
        Renderer.Device.Quality = TDevice::UnlitFlat;
        break;
    case TRenderQuality::Flat:
    case TRenderQuality::Mapping:
        Renderer.Device.Quality = TDevice::Flat;
        break;
    case TRenderQuality::Gouraud:
        Renderer.Device.Quality = TDevice::Gouraud;
        break;
    case TRenderQuality::Phong:
        Renderer.Device.Quality = TDevice::Phong;
        break;
    case TRenderQuality::Unrecognised:
        break; // the reset device draws as Gouraud
    }
}

void TViewScene::InitializeSurface(bool Hardware) {
    if (Hardware) {
        Renderer.Device.TextureQuality = 1; // linear
    }
    Renderer.Device.RenderMode = 3; // blended and sorted transparency
}

void TViewScene::Turn(glm::vec3 Axis, float Theta) {
    SpinFrame->AddRotation(TCombine::After, Axis, Theta);
}

void TViewScene::MoveCamera(glm::vec3 Delta) {
    Camera->SetPosition(&Scene(), Camera->GetPosition(&Scene()) + Delta);
}

void TViewScene::KeyDown(TKey Key, int Times) {
    const auto Steps = static_cast<float>(Times);
    const float Turned = Steps * TurnStep;
    const float Moved = Steps * 10;
    switch (Key) {
    case TKey::Left:
        return Turn({0, 1, 0}, -Turned);
    case TKey::Right:
        return Turn({0, 1, 0}, Turned);
    case TKey::Up:
        return Turn({1, 0, 0}, Turned);
    case TKey::Down:
        return Turn({1, 0, 0}, -Turned);
    case TKey::PageUp:
        return MoveCamera({0, Moved, 0});
    case TKey::PageDown:
        return MoveCamera({0, -Moved, 0});
    case TKey::Key4:
        return MoveCamera({-Moved, 0, 0});
    case TKey::Key6:
        return MoveCamera({Moved, 0, 0});
    case TKey::Key8:
        return MoveCamera({0, 0, Moved});
    case TKey::Key2:
        return MoveCamera({0, 0, -Moved});
    case TKey::Key5:
        return AimCameraAtAxis();
    case TKey::Home:
        ModelFrame->SetOrientation(&Scene(), {0, 0, 1}, {0, 1, 0});
        if (Framed) {
            PlaceFramingCamera();
        }
        return;
    case TKey::F:
        return FrameModel();
    case TKey::X:
        return LevelModel();
    case TKey::L:
        return LightFrame->Move(Steps);
    }
}

void TViewScene::FrameModel() {
    Framed = true;
    PlaceFramingCamera();
}

// The sphere around the box, at the distance where it touches the sides of the view's narrower
// half-angle.
float TViewScene::FramingDistance() const {
    const float Radius = 0.5f * glm::length(glm::vec3(Box.Width, Box.High - Box.Low, Box.Depth));
    return Radius * std::sqrt(1 + FramingHalfView * FramingHalfView) / FramingHalfView;
}

void TViewScene::PlaceFramingCamera() {
    const glm::vec3 Centre(0.0f, (Box.Low + Box.High) / 2, 0.0f);
    const glm::vec3 Toward(0.0f, -std::sin(FramingElevation), std::cos(FramingElevation));
    Camera->SetPosition(&Scene(), Centre - FramingDistance() * Toward);
    Camera->SetOrientation(&Scene(), Toward,
                           {0.0f, std::cos(FramingElevation), std::sin(FramingElevation)});
}

float TViewScene::BackClip() const {
    // Far enough to see past the model from twice the framing distance.
    const float Radius = 0.5f * glm::length(glm::vec3(Box.Width, Box.High - Box.Low, Box.Depth));
    return std::max(StartBackClip, 2 * FramingDistance() + Radius);
}

void TViewScene::AimCameraAtAxis() {
    const glm::vec3 P = Camera->GetPosition(&Scene());
    Camera->SetOrientation(&Scene(), {0, -P.y, -P.z}, {0, P.y, -P.z});
}

void TViewScene::LevelModel() {
    glm::vec3 Direction, Up;
    ModelFrame->GetOrientation(&Scene(), Direction, Up);
    ModelFrame->SetOrientation(&Scene(), {Direction.x, 0, Direction.z}, {0, 1, 0});
}

void TViewScene::MouseDown(bool Left, bool Right, int X, int Y) {
    if (Left && Right) {
        LevelModel();
    } else if ((Left || Right) && !RotateDragging) {
        (Left ? RotateDragging : DollyDragging) = true;
    }
    DragLastX = X;
    DragLastY = Y;
}

void TViewScene::MouseMove(int X, int Y) {
    if (RotateDragging) {
        // 1.5° per pixel, horizontal first.
        if (X != DragLastX) {
            Turn({0, 1, 0}, -static_cast<float>(X - DragLastX) / 10.0f * TurnStep);
        }
        if (Y != DragLastY) {
            Turn({1, 0, 0}, -static_cast<float>(Y - DragLastY) / 10.0f * TurnStep);
        }
        DragLastX = X;
        DragLastY = Y;
    }
    if (DollyDragging) {
        if (Y != DragLastY) {
            MoveCamera({0, 0, static_cast<float>(Y - DragLastY)});
        }
        DragLastX = X;
        DragLastY = Y;
    }
}

void TViewScene::MouseUp() {
    RotateDragging = false;
    DollyDragging = false;
}

std::vector<std::pair<int, std::string>>
TViewScene::OverlayLines(int Fps, bool Hardware, int32_t CellSpacing, uint32_t FaceCount) const {
    const glm::vec3 P = Camera->GetPosition(&Scene());
    glm::vec3 D, U;
    ModelFrame->GetOrientation(&Scene(), D, U);
    auto Metres = [CellSpacing](float Units) {
        return Number(CellSpacing * static_cast<double>(Units) / 10);
    };
    return {
        {0, "FPS: " + std::to_string(Fps)},
        {14, Hardware ? "Device: Hardware" : "Device: Software"},
        {28, "Pos:X=" + Metres(P.x)},
        {42, "Pos:Y=" + Metres(P.y)},
        {56, "Pos:Z=" + Metres(P.z)},
        {84, "Roll =" + Angle(std::atan2(D.x, D.z) * Degrees)},
        {98, "Pitch=" + Angle(std::atan2(U.z, U.y) * Degrees)},
        {112, "Faces=" + std::to_string(FaceCount)},
        {140, "Yor:X=" + Number(U.x)},
        {154, "Yor:Y=" + Number(U.y)},
        {168, "Yor:Z=" + Number(U.z)},
        {182, "Zor:X=" + Number(D.x)},
        {196, "Zor:Y=" + Number(D.y)},
        {210, "Zor:Z=" + Number(D.z)},
        {238, "F: whole region"},
    };
}

} // namespace talvo
