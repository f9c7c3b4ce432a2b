#pragma once

#include <QOpenGLBuffer>
#include <QOpenGLFunctions_3_3_Core>
#include <QOpenGLShaderProgram>
#include <QOpenGLTexture>
#include <QOpenGLVertexArrayObject>
#include <QOpenGLWidget>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "view3d/MeshBuilder.h"
#include "view3d/TerrainLod.h"

namespace talvo {

// The drawing surface of the 3D view: it owns the renderer (scene, device) and draws the
// scene through the camera frame with OpenGL 3.3. The scene is left-handed (x east, y up,
// z forward); the projection mirrors z, and faces that run clockwise on screen are the front.
// Meshes go to the graphics card once, the first time they are drawn.
class TSceneView : public QOpenGLWidget, protected QOpenGLFunctions_3_3_Core {
    Q_OBJECT

  public:
    explicit TSceneView(TImageReader Reader, QWidget* Parent = nullptr);
    ~TSceneView() override;

    // A fresh scene; fires OnInitialize, then OnInitializeSurface. The device starts in
    // Gouraud quality.
    void Initialize();
    // Fires OnFinalize and releases the scene and what was uploaded of it.
    void Finalize();
    bool CanDraw() const { return Initialized && isVisible() && width() > 0 && height() > 0; }
    // Why the surface cannot draw (no OpenGL 3.3 core context, shaders that did not build); empty
    // when it can or when it has not been shown yet.
    std::string Failure() const;
    // Asks for a frame: Qt draws one soon, however often it is asked before then. OnFrame runs
    // as the frame starts.
    void Render() { update(); }
    // The text lines drawn in white over the scene from the next frame on.
    void SetLines(std::vector<std::pair<int, std::string>> Lines) {
        PendingLines = std::move(Lines);
    }

    TRenderer& Renderer() { return FRenderer; }
    // The widest and highest texture the surface takes, once it has been shown.
    int MaxTextureSize() const { return FMaxTextureSize; }
    // Triangles drawn in the last frame.
    size_t TrianglesDrawn() const { return FTrianglesDrawn; }
    // The meshes go to the graphics card again with the next frame: a texture has changed.
    void Reupload();
    TFrame* Camera = nullptr; // set by whoever builds the scene
    bool Hardware() const { return FHardware; }
    bool FullScreen = false;  // the doFullScreen option
    float BackClip = 5000.0f; // how far the view reaches, in units

    std::function<void()> OnInitialize;
    std::function<void()> OnInitializeSurface;
    std::function<void()> OnFinalize;
    // As a frame starts, before anything is drawn: the input since the last frame is applied.
    std::function<void()> OnFrame;

  protected:
    void initializeGL() override;
    void paintGL() override;

  private:
    struct TGpuMesh {
        std::unique_ptr<QOpenGLVertexArrayObject> Array;
        QOpenGLBuffer Buffer{QOpenGLBuffer::VertexBuffer};
        QOpenGLBuffer IndexBuffer{QOpenGLBuffer::IndexBuffer}; // a terrain in chunks only
        int VertexCount = 0;
        std::unique_ptr<QOpenGLTexture> Texture;
    };

    TGpuMesh& Upload(const TVisual* Visual, const TTriangles& Triangles);
    TGpuMesh& Upload(const TTerrainLod& Terrain);
    // Vertices of FloatsPerVertex floats into a new vertex array of Mesh.
    void UploadVertices(TGpuMesh& Mesh, const std::vector<float>& Data);
    void UploadTexture(TGpuMesh& Mesh, const TTexture& Image);
    void DrawFrame(const TFrame& Frame, const glm::mat4& ViewProjection, glm::vec3 LightDirection,
                   glm::vec3 Ambient);
    void DrawTerrain(const TTerrainLod& Terrain, const glm::mat4& Model,
                     const glm::mat4& ViewProjection, glm::vec3 LightDirection, glm::vec3 Ambient);
    void SetUniforms(TGpuMesh& Gpu, const glm::mat4& Model, const glm::mat4& ViewProjection,
                     glm::vec3 LightDirection, glm::vec3 Ambient);
    void ReleaseUploads();
    void ReleasePrograms();

    TRenderer FRenderer;
    bool Initialized = false;
    bool FHardware = false;
    std::string FFailure; // from initializeGL
    // By shading (unlit, per face, per vertex, per pixel), without and with a texture.
    static constexpr int ShadingCount = 4;
    std::array<std::array<std::unique_ptr<QOpenGLShaderProgram>, 2>, ShadingCount> Programs;
    int Shading = 2; // of the frame being drawn
    std::map<const TVisual*, TGpuMesh> Uploads;
    std::vector<std::pair<int, std::string>> PendingLines;
    glm::vec3 Eye{0.0f};        // the camera, in the world, for the frame being drawn
    float PixelsPerUnit = 1.0f; // of the frame being drawn, at distance one
    size_t FTrianglesDrawn = 0;
    int FMaxTextureSize = 0;
};

} // namespace talvo
