#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "settings/ViewSettings.h"
#include "view3d/MeshBuilder.h"

namespace talvo {

// The 3D view's scene and what the keyboard and the mouse do to it, apart from any window:
// Scene holds the camera and SpinFrame; SpinFrame holds ModelFrame (which carries the terrain)
// and LightFrame (which carries the directional light).
class TViewScene {
  public:
    explicit TViewScene(TRenderer& Renderer) : Renderer(Renderer) {}

    // A fresh scene: frames, lights, camera 200 units south looking north (the model unframed),
    // black background,
    // the device's quality from Quality (an unrecognised one draws as Gouraud).
    void Initialize(TRenderQuality Quality);
    // Once the drawing surface exists: linear textures on hardware, blended sorted transparency.
    void InitializeSurface(bool Hardware);

    enum class TKey {
        Left,
        Right,
        Up,
        Down,
        PageUp,
        PageDown,
        Key4,
        Key6,
        Key8,
        Key2,
        Key5,
        Home,
        X,
        L,
        F
    };
    // Key pressed Times times in a row: the turns and moves in one step as long as all of them,
    // Home, X, 5 and F once, as more of them would do no more.
    void KeyDown(TKey Key, int Times = 1);
    // The model's box in units: Width across x and Depth across z about the origin, heights from
    // Low to High.
    struct TModelBox {
        float Width = 0.0f;
        float Depth = 0.0f;
        float Low = 0.0f;
        float High = 0.0f;
    };
    void SetModelBox(const TModelBox& Model) { Box = Model; }
    // Frames the model's box (and F and Home do from then on): the camera from the south, 30°
    // above the horizon, looking at the box's centre from where a sphere around the box fills at
    // most the narrower side of a view as tall as 4:3, so the whole model is in view.
    void FrameModel();
    // How far the view must reach: the start's 5000 units, or beyond the framed model.
    float BackClip() const;

    // Turns the camera, where it stands, toward the point of Scene's x axis beside it.
    void AimCameraAtAxis();
    // Levels the model: it keeps its heading, its up vector becomes vertical.
    void LevelModel();

    void MouseDown(bool Left, bool Right, int X, int Y);
    void MouseMove(int X, int Y);
    void MouseUp();

    // The diagnostic text: lines at y = 0, 14, … with the camera position in metres, the
    // model's roll and pitch, the face count and the model's axes.
    std::vector<std::pair<int, std::string>>
    OverlayLines(int Fps, bool Hardware, int32_t CellSpacing, uint32_t FaceCount) const;

    TFrame& Scene() const { return *Renderer.Scene; }
    TFrame* Camera = nullptr;
    TFrame* SpinFrame = nullptr;
    TFrame* ModelFrame = nullptr;
    TFrame* LightFrame = nullptr;
    glm::vec3 Background{0.0f};
    bool RotateDragging = false;
    bool DollyDragging = false;
    int DragLastX = 0;
    int DragLastY = 0;

  private:
    void Turn(glm::vec3 Axis, float Theta);
    void MoveCamera(glm::vec3 Delta);
    void PlaceFramingCamera();
    float FramingDistance() const;

    TModelBox Box;
    bool Framed = false; // Home returns the camera to the framing place too

    TRenderer& Renderer;
};

} // namespace talvo
