#include "view3d/ViewScene.h"

#include <cmath>
#include <cstdio>

namespace talvo {

namespace {

constexpr float TurnStep = 0.2617994f;  // π/12: 15° per key press
constexpr float LightStep = 0.0872665f; // π/36: 5° per L
constexpr float Degrees = 180.0f / 3.14159265358979f;

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

void TViewScene::KeyDown(TKey Key) {
    glm::vec3 Direction, Up;
    ModelFrame->GetOrientation(&Scene(), Direction, Up);
    switch (Key) {
    case TKey::Left:
        return Turn({0, 1, 0}, -TurnStep);
    case TKey::Right:
        return Turn({0, 1, 0}, TurnStep);
    case TKey::Up:
        return Turn({1, 0, 0}, TurnStep);
    case TKey::Down:
        return Turn({1, 0, 0}, -TurnStep);
    case TKey::PageUp:
        return MoveCamera({0, 10, 0});
    case TKey::PageDown:
        return MoveCamera({0, -10, 0});
    case TKey::Key4:
        return MoveCamera({-10, 0, 0});
    case TKey::Key6:
        return MoveCamera({10, 0, 0});
    case TKey::Key8:
        return MoveCamera({0, 0, 10});
    case TKey::Key2:
        return MoveCamera({0, 0, -10});
    case TKey::Key5:
        return AimCameraAtAxis();
    case TKey::Home:
        return ModelFrame->SetOrientation(&Scene(), {0, 0, 1}, {0, 1, 0});
    case TKey::X:
        return LevelModel();
    case TKey::L:
        return LightFrame->Move(1.0f);
    }
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
    };
}

} // namespace talvo
