#pragma once

#include <glm/glm.hpp>
#include <memory>
#include <vector>

namespace talvo {

class TLight;
class TVisual;

// How AddRotation combines a turn with a frame's orientation.
enum class TCombine {
    Replace, // the turn becomes the orientation
    Before,  // about the frame's own axes
    After,   // about the parent's axes (the frame's position turns with it)
};

// A frame of the retained-mode scene: a position and an orientation within its parent, in the
// renderer's left-handed coordinates (x east, y up, z forward). A positive angle turns
// clockwise seen from the positive end of its axis. Orientations are a direction (the frame's
// z axis) and an up vector (its y axis, made perpendicular to the direction). Every position
// and orientation is given and read relative to a reference frame; none means the root.
class TFrame {
  public:
    TFrame() = default;
    TFrame(const TFrame&) = delete;
    TFrame& operator=(const TFrame&) = delete;

    // A new frame under this one, owned by it.
    TFrame& CreateChild();
    TFrame* Parent() const { return FParent; }

    void SetPosition(const TFrame* Reference, glm::vec3 Position);
    glm::vec3 GetPosition(const TFrame* Reference) const;
    void SetOrientation(const TFrame* Reference, glm::vec3 Direction, glm::vec3 Up);
    void GetOrientation(const TFrame* Reference, glm::vec3& Direction, glm::vec3& Up) const;
    void AddRotation(TCombine Combine, glm::vec3 Axis, float Theta);
    // Registers a turn about Axis (given relative to Reference) by Theta per Move.
    void SetRotation(const TFrame* Reference, glm::vec3 Axis, float Theta);
    // Applies the registered turn Delta times.
    void Move(float Delta);

    void AddVisual(std::shared_ptr<TVisual> Visual) { Visuals.push_back(std::move(Visual)); }
    void AddLight(std::shared_ptr<TLight> Light) { Lights.push_back(std::move(Light)); }
    const std::vector<std::shared_ptr<TVisual>>& GetVisuals() const { return Visuals; }
    const std::vector<std::shared_ptr<TLight>>& GetLights() const { return Lights; }
    const std::vector<std::unique_ptr<TFrame>>& Children() const { return FChildren; }

    // Local to world (the root's coordinates).
    glm::mat4 WorldTransform() const;

  private:
    glm::mat3 WorldRotation() const;
    glm::vec3 WorldPosition() const;

    TFrame* FParent = nullptr;
    std::vector<std::unique_ptr<TFrame>> FChildren;
    glm::mat3 Rotation{1.0f}; // columns: the frame's x, y, z axes in the parent's coordinates
    glm::vec3 Position{0.0f}; // in the parent's coordinates
    glm::vec3 RotationAxis{0.0f, 0.0f, 1.0f};
    float RotationTheta = 0.0f;
    std::vector<std::shared_ptr<TVisual>> Visuals;
    std::vector<std::shared_ptr<TLight>> Lights;
};

// What a frame can show: a mesh builder or a mesh.
class TVisual {
  public:
    virtual ~TVisual() = default;
};

class TLight {
  public:
    enum class TKind { Ambient, Directional }; // a directional light shines along its frame's z
    TLight(TKind Kind, glm::vec3 Colour) : Kind(Kind), Colour(Colour) {}
    TKind Kind;
    glm::vec3 Colour;
};

} // namespace talvo
