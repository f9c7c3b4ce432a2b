#include "view3d/Frame.h"

#include <glm/gtc/matrix_transform.hpp>

namespace talvo {

namespace {

glm::mat3 Turn(glm::vec3 Axis, float Theta) {
    if (glm::length(Axis) == 0.0f) {
        return glm::mat3(1.0f);
    }
    return glm::mat3(glm::rotate(glm::mat4(1.0f), Theta, glm::normalize(Axis)));
}

// The basis of a direction and an up vector: z along the direction, y the up vector made
// perpendicular to it, x = y × z. Degenerate input keeps the axes it can.
glm::mat3 Basis(glm::vec3 Direction, glm::vec3 Up) {
    if (glm::length(Direction) == 0.0f) {
        Direction = glm::vec3(0, 0, 1);
    }
    const glm::vec3 Z = glm::normalize(Direction);
    glm::vec3 Y = Up - glm::dot(Up, Z) * Z;
    if (glm::length(Y) < 1e-6f) {
        // Up along the direction: any perpendicular will do.
        Y = std::abs(Z.y) < 0.9f ? glm::vec3(0, 1, 0) - Z.y * Z : glm::vec3(0, 0, 1) - Z.z * Z;
    }
    Y = glm::normalize(Y);
    return glm::mat3(glm::cross(Y, Z), Y, Z);
}

} // namespace

TFrame& TFrame::CreateChild() {
    FChildren.push_back(std::make_unique<TFrame>());
    FChildren.back()->FParent = this;
    return *FChildren.back();
}

glm::mat3 TFrame::WorldRotation() const {
    return FParent ? FParent->WorldRotation() * Rotation : Rotation;
}

glm::vec3 TFrame::WorldPosition() const {
    return FParent ? FParent->WorldPosition() + FParent->WorldRotation() * Position : Position;
}

glm::mat4 TFrame::WorldTransform() const {
    glm::mat4 Transform(WorldRotation());
    Transform[3] = glm::vec4(WorldPosition(), 1.0f);
    return Transform;
}

void TFrame::SetPosition(const TFrame* Reference, glm::vec3 At) {
    glm::vec3 World = Reference ? Reference->WorldPosition() + Reference->WorldRotation() * At : At;
    Position = FParent
                   ? glm::transpose(FParent->WorldRotation()) * (World - FParent->WorldPosition())
                   : World;
}

glm::vec3 TFrame::GetPosition(const TFrame* Reference) const {
    const glm::vec3 World = WorldPosition();
    return Reference
               ? glm::transpose(Reference->WorldRotation()) * (World - Reference->WorldPosition())
               : World;
}

void TFrame::SetOrientation(const TFrame* Reference, glm::vec3 Direction, glm::vec3 Up) {
    const glm::mat3 ToWorld = Reference ? Reference->WorldRotation() : glm::mat3(1.0f);
    const glm::mat3 ToParent = FParent ? glm::transpose(FParent->WorldRotation()) : glm::mat3(1.0f);
    Rotation = Basis(ToParent * (ToWorld * Direction), ToParent * (ToWorld * Up));
}

void TFrame::GetOrientation(const TFrame* Reference, glm::vec3& Direction, glm::vec3& Up) const {
    const glm::mat3 World = WorldRotation();
    const glm::mat3 ToReference =
        Reference ? glm::transpose(Reference->WorldRotation()) : glm::mat3(1.0f);
    Direction = ToReference * World[2];
    Up = ToReference * World[1];
}

void TFrame::AddRotation(TCombine Combine, glm::vec3 Axis, float Theta) {
    const glm::mat3 T = Turn(Axis, Theta);
    switch (Combine) {
    case TCombine::Replace:
        Rotation = T;
        break;
    case TCombine::Before:
        Rotation = Rotation * T;
        break;
    case TCombine::After:
        Rotation = T * Rotation;
        Position = T * Position;
        break;
    }
}

void TFrame::SetRotation(const TFrame* Reference, glm::vec3 Axis, float Theta) {
    const glm::mat3 ToWorld = Reference ? Reference->WorldRotation() : glm::mat3(1.0f);
    const glm::mat3 ToParent = FParent ? glm::transpose(FParent->WorldRotation()) : glm::mat3(1.0f);
    RotationAxis = ToParent * (ToWorld * Axis);
    RotationTheta = Theta;
}

void TFrame::Move(float Delta) {
    AddRotation(TCombine::After, RotationAxis, RotationTheta * Delta);
}

} // namespace talvo
