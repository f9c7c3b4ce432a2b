#include "display/SceneView.h"

#include <QImage>
#include <QPainter>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "platform/Messages.h"

namespace talvo {

namespace {

// The shaders, made once for each shading (SHADING 0 unlit, 1 per face, 2 per vertex, 3 per
// pixel) and for drawing with a texture or without (TEXTURED): each passes on only what its
// fragments use, which a software renderer pays for at every pixel.
const char* const VertexShader = R"(
layout(location = 0) in vec3 Position;
layout(location = 1) in vec3 SmoothNormal;
layout(location = 2) in vec3 FaceNormal;
layout(location = 3) in vec3 Colour;
layout(location = 4) in vec2 TexCoord;
uniform mat4 Model;
uniform mat4 ViewProjection;
uniform vec3 LightDirection;
uniform vec3 Ambient;
#if SHADING == 1
flat out vec3 Shade;
#else
out vec3 Shade;
#endif
#if SHADING == 3
out vec3 Normal;
#endif
#if TEXTURED
out vec2 UV;
#endif
vec3 Lit(vec3 N) { return min(Ambient + max(dot(N, -LightDirection), 0.0), vec3(1.0)); }
void main() {
    gl_Position = ViewProjection * Model * vec4(Position, 1.0);
    mat3 Turn = mat3(Model);
#if SHADING == 1
    Shade = Colour * Lit(normalize(Turn * FaceNormal));
#elif SHADING == 2
    Shade = Colour * Lit(normalize(Turn * SmoothNormal));
#else
    Shade = Colour;
#endif
#if SHADING == 3
    Normal = normalize(Turn * SmoothNormal);
#endif
#if TEXTURED
    UV = TexCoord;
#endif
}
)";

const char* const FragmentShader = R"(
#if SHADING == 1
flat in vec3 Shade;
#else
in vec3 Shade;
#endif
#if SHADING == 3
in vec3 Normal;
uniform vec3 LightDirection;
uniform vec3 Ambient;
#endif
#if TEXTURED
in vec2 UV;
uniform sampler2D Texture;
#endif
out vec4 Fragment;
void main() {
    vec3 C = Shade;
#if SHADING == 3
    C *= min(Ambient + max(dot(normalize(Normal), -LightDirection), 0.0), vec3(1.0));
#endif
#if TEXTURED
    C *= texture(Texture, UV).rgb;
#endif
    Fragment = vec4(C, 1.0);
}
)";

// Per drawn vertex: position, smooth normal, face normal, colour, texture coordinates.
constexpr int FloatsPerVertex = 14;

int ShadingOf(int Quality) {
    switch (Quality) {
    case TDevice::Wireframe:
    case TDevice::UnlitFlat:
        return 0;
    case TDevice::Flat:
        return 1;
    case TDevice::Phong:
        return 3;
    default:
        return 2;
    }
}

// The triangles expanded for drawing; smooth normals average the faces around each vertex.
std::vector<float> DrawnVertices(const TTriangles& T, bool White) {
    std::vector<glm::vec3> Smooth(T.Vertices.size(), glm::vec3(0.0f));
    std::vector<glm::vec3> Faces(T.FaceCount());
    for (size_t F = 0; F < T.FaceCount(); ++F) {
        const glm::vec3 A = T.Vertices[T.Indices[3 * F]], B = T.Vertices[T.Indices[3 * F + 1]],
                        C = T.Vertices[T.Indices[3 * F + 2]];
        Faces[F] = glm::cross(B - A, C - A); // up for faces clockwise seen from above
        for (int I = 0; I < 3; ++I) {
            Smooth[T.Indices[3 * F + static_cast<size_t>(I)]] += Faces[F];
        }
    }
    std::vector<float> Data;
    Data.reserve(T.FaceCount() * 3 * FloatsPerVertex);
    auto Unit = [](glm::vec3 V) {
        return glm::length(V) > 0 ? glm::normalize(V) : glm::vec3(0, 1, 0);
    };
    for (size_t F = 0; F < T.FaceCount(); ++F) {
        const glm::vec3 Colour = White ? glm::vec3(1.0f) : T.FaceColour(F);
        const glm::vec3 Face = Unit(Faces[F]);
        for (int I = 0; I < 3; ++I) {
            const uint32_t Index = T.Indices[3 * F + static_cast<size_t>(I)];
            const glm::vec3 P = T.Vertices[Index], N = Unit(Smooth[Index]);
            const glm::vec2 UV = Index < T.TexCoords.size() ? T.TexCoords[Index] : glm::vec2(0.0f);
            Data.insert(Data.end(), {P.x, P.y, P.z, N.x, N.y, N.z, Face.x, Face.y, Face.z, Colour.r,
                                     Colour.g, Colour.b, UV.x, UV.y});
        }
    }
    return Data;
}

} // namespace

TSceneView::TSceneView(TImageReader Reader, QWidget* Parent)
    : QOpenGLWidget(Parent), FRenderer(std::move(Reader)) {
    setObjectName("Scene");
    QSurfaceFormat Format;
    Format.setVersion(3, 3);
    Format.setProfile(QSurfaceFormat::CoreProfile);
    Format.setDepthBufferSize(24);
    setFormat(Format);
}

TSceneView::~TSceneView() {
    makeCurrent();
    ReleaseUploads();
    ReleasePrograms();
    doneCurrent();
}

void TSceneView::Initialize() {
    Finalize();
    FRenderer.Reset();
    Initialized = true;
    if (OnInitialize) {
        OnInitialize();
    }
    if (OnInitializeSurface) {
        OnInitializeSurface();
    }
}

void TSceneView::Finalize() {
    if (!Initialized) {
        return;
    }
    if (OnFinalize) {
        OnFinalize();
    }
    Initialized = false;
    Camera = nullptr;
    if (context()) {
        makeCurrent();
        ReleaseUploads();
        doneCurrent();
    }
    FRenderer.Reset();
}

void TSceneView::ReleaseUploads() {
    Uploads.clear();
}

void TSceneView::Reupload() {
    makeCurrent();
    ReleaseUploads();
    doneCurrent();
    update();
}

std::string TSceneView::Failure() const {
    if (!FFailure.empty()) {
        return FFailure;
    }
    if (isVisible() && (!context() || !context()->isValid())) {
        return Text(TText::NoOpenGLContext);
    }
    return {};
}

void TSceneView::initializeGL() {
    FFailure.clear();
    ReleasePrograms();
    // A context below 3.3 (the driver's fallback) leaves the function table empty.
    if (!initializeOpenGLFunctions()) {
        const QSurfaceFormat Got = context()->format();
        FFailure = Text(TText::NeedsOpenGL33, {std::to_string(Got.majorVersion()) + "." +
                                               std::to_string(Got.minorVersion())});
        return;
    }
    const QString Name =
        QString::fromLatin1(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    GLint Largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &Largest);
    FMaxTextureSize = Largest;
    FHardware = !Name.contains("llvmpipe", Qt::CaseInsensitive) &&
                !Name.contains("softpipe", Qt::CaseInsensitive) &&
                !Name.contains("software", Qt::CaseInsensitive);
    for (int Shading = 0; Shading < ShadingCount; ++Shading) {
        for (int Textured = 0; Textured < 2; ++Textured) {
            const QByteArray Head = "#version 330 core\n#define SHADING " +
                                    QByteArray::number(Shading) + "\n#define TEXTURED " +
                                    QByteArray::number(Textured) + "\n";
            auto Built = std::make_unique<QOpenGLShaderProgram>();
            if (!Built->addShaderFromSourceCode(QOpenGLShader::Vertex, Head + VertexShader) ||
                !Built->addShaderFromSourceCode(QOpenGLShader::Fragment, Head + FragmentShader) ||
                !Built->link()) {
                FFailure = Text(TText::ShadersNotBuilt, {Built->log().toStdString()});
                ReleasePrograms();
                return;
            }
            Programs[static_cast<size_t>(Shading)][static_cast<size_t>(Textured)] =
                std::move(Built);
        }
    }
}

void TSceneView::ReleasePrograms() {
    for (auto& Pair : Programs) {
        for (auto& Program : Pair) {
            Program.reset();
        }
    }
}

TSceneView::TGpuMesh& TSceneView::Upload(const TVisual* Visual, const TTriangles& Triangles) {
    auto Found = Uploads.find(Visual);
    if (Found != Uploads.end()) {
        return Found->second;
    }
    TGpuMesh& Mesh = Uploads[Visual];
    UploadVertices(Mesh, DrawnVertices(Triangles, Triangles.Texture != nullptr));
    if (Triangles.Texture) {
        UploadTexture(Mesh, *Triangles.Texture);
    }
    return Mesh;
}

TSceneView::TGpuMesh& TSceneView::Upload(const TTerrainLod& Terrain) {
    auto Found = Uploads.find(&Terrain);
    if (Found != Uploads.end()) {
        return Found->second;
    }
    TGpuMesh& Mesh = Uploads[&Terrain];
    UploadVertices(Mesh, Terrain.Vertices);
    Mesh.Array->bind();
    Mesh.IndexBuffer.create();
    Mesh.IndexBuffer.bind();
    Mesh.IndexBuffer.allocate(Terrain.Indices.data(),
                              static_cast<int>(Terrain.Indices.size() * sizeof(uint32_t)));
    Mesh.Array->release();
    if (Terrain.Texture) {
        UploadTexture(Mesh, *Terrain.Texture);
    }
    return Mesh;
}

void TSceneView::UploadVertices(TGpuMesh& Mesh, const std::vector<float>& Data) {
    static_assert(FloatsPerVertex == TTerrainLod::FloatsPerVertex);
    Mesh.Array = std::make_unique<QOpenGLVertexArrayObject>();
    Mesh.Array->create();
    Mesh.Array->bind();
    Mesh.Buffer.create();
    Mesh.Buffer.bind();
    Mesh.Buffer.allocate(Data.data(), static_cast<int>(Data.size() * sizeof(float)));
    const int Offsets[] = {0, 3, 6, 9, 12};
    const int Sizes[] = {3, 3, 3, 3, 2};
    for (GLuint Attribute = 0; Attribute < 5; ++Attribute) {
        glEnableVertexAttribArray(Attribute);
        glVertexAttribPointer(Attribute, Sizes[Attribute], GL_FLOAT, GL_FALSE,
                              FloatsPerVertex * sizeof(float),
                              reinterpret_cast<void*>(Offsets[Attribute] * sizeof(float)));
    }
    Mesh.Array->release();
    Mesh.VertexCount = static_cast<int>(Data.size() / FloatsPerVertex);
}

void TSceneView::UploadTexture(TGpuMesh& Mesh, const TTexture& Image) {
    // Texture rows top first, as the wrap's v counts them: no mirroring.
    QImage Pixels(Image.Width, Image.Height, QImage::Format_RGB32);
    for (int32_t Y = 0; Y < Image.Height; ++Y) {
        for (int32_t X = 0; X < Image.Width; ++X) {
            const int32_t C = Image.Pixels[static_cast<size_t>(Y * Image.Width + X)];
            Pixels.setPixel(X, Y, qRgb(C & 0xFF, (C >> 8) & 0xFF, (C >> 16) & 0xFF));
        }
    }
    if (Image.Draped) {
        // The map seen from afar: its cells blend instead of shimmering.
        Mesh.Texture = std::make_unique<QOpenGLTexture>(Pixels, QOpenGLTexture::GenerateMipMaps);
        Mesh.Texture->setMinMagFilters(QOpenGLTexture::LinearMipMapLinear, QOpenGLTexture::Linear);
        Mesh.Texture->setWrapMode(QOpenGLTexture::ClampToEdge);
    } else {
        Mesh.Texture =
            std::make_unique<QOpenGLTexture>(Pixels, QOpenGLTexture::DontGenerateMipMaps);
        Mesh.Texture->setMinMagFilters(QOpenGLTexture::Linear, QOpenGLTexture::Linear);
        Mesh.Texture->setWrapMode(QOpenGLTexture::Repeat);
    }
}

void TSceneView::DrawTerrain(const TTerrainLod& Terrain, const glm::mat4& Model,
                             const glm::mat4& ViewProjection, glm::vec3 LightDirection,
                             glm::vec3 Ambient) {
    TGpuMesh& Gpu = Upload(Terrain);
    SetUniforms(Gpu, Model, ViewProjection, LightDirection, Ambient);
    size_t Triangles = 0;
    const glm::vec3 LocalEye = glm::vec3(glm::inverse(Model) * glm::vec4(Eye, 1.0f));
    Gpu.Array->bind();
    for (const TTerrainLod::TDraw& Draw : Terrain.Select(LocalEye, PixelsPerUnit, Triangles)) {
        glDrawElementsBaseVertex(GL_TRIANGLES, static_cast<GLsizei>(Draw.Count), GL_UNSIGNED_INT,
                                 reinterpret_cast<void*>(Draw.First * sizeof(uint32_t)),
                                 Draw.BaseVertex);
    }
    Gpu.Array->release();
    FTrianglesDrawn += Triangles;
}

void TSceneView::SetUniforms(TGpuMesh& Gpu, const glm::mat4& Model, const glm::mat4& ViewProjection,
                             glm::vec3 LightDirection, glm::vec3 Ambient) {
    QOpenGLShaderProgram& Program =
        *Programs[static_cast<size_t>(Shading)][Gpu.Texture != nullptr ? 1 : 0];
    Program.bind();
    glUniformMatrix4fv(Program.uniformLocation("Model"), 1, GL_FALSE, glm::value_ptr(Model));
    glUniformMatrix4fv(Program.uniformLocation("ViewProjection"), 1, GL_FALSE,
                       glm::value_ptr(ViewProjection));
    Program.setUniformValue("LightDirection", LightDirection.x, LightDirection.y, LightDirection.z);
    Program.setUniformValue("Ambient", Ambient.x, Ambient.y, Ambient.z);
    if (Gpu.Texture) {
        Gpu.Texture->bind(0);
        Program.setUniformValue("Texture", 0);
    }
}

void TSceneView::DrawFrame(const TFrame& Frame, const glm::mat4& ViewProjection,
                           glm::vec3 LightDirection, glm::vec3 Ambient) {
    for (const auto& Visual : Frame.GetVisuals()) {
        if (auto* Terrain = dynamic_cast<const TTerrainLod*>(Visual.get())) {
            DrawTerrain(*Terrain, Frame.WorldTransform(), ViewProjection, LightDirection, Ambient);
            continue;
        }
        const TTriangles* Triangles = nullptr;
        if (auto* Builder = dynamic_cast<const TMeshBuilder*>(Visual.get())) {
            Triangles = &Builder->Triangles();
        } else if (auto* Mesh = dynamic_cast<const TMesh*>(Visual.get())) {
            Triangles = &Mesh->Geometry;
        }
        if (!Triangles || Triangles->FaceCount() == 0) {
            continue;
        }
        TGpuMesh& Gpu = Upload(Visual.get(), *Triangles);
        SetUniforms(Gpu, Frame.WorldTransform(), ViewProjection, LightDirection, Ambient);
        Gpu.Array->bind();
        glDrawArrays(GL_TRIANGLES, 0, Gpu.VertexCount);
        Gpu.Array->release();
        FTrianglesDrawn += static_cast<size_t>(Gpu.VertexCount / 3);
    }
    for (const auto& Child : Frame.Children()) {
        DrawFrame(*Child, ViewProjection, LightDirection, Ambient);
    }
}

void TSceneView::paintGL() {
    if (!FFailure.empty()) {
        return; // nothing to draw with; the view says why
    }
    if (OnFrame) {
        OnFrame();
    }
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (Initialized && Camera) {
        // The lights: ambient ones add up; a directional one shines along its frame's z axis.
        glm::vec3 Ambient(0.0f), LightDirection(0, 0, 1);
        std::function<void(const TFrame&)> Gather = [&](const TFrame& Frame) {
            for (const auto& Light : Frame.GetLights()) {
                if (Light->Kind == TLight::TKind::Ambient) {
                    Ambient += Light->Colour;
                } else {
                    LightDirection = glm::normalize(glm::vec3(Frame.WorldTransform()[2]));
                }
            }
            for (const auto& Child : Frame.Children()) {
                Gather(*Child);
            }
        };
        Gather(*FRenderer.Scene);

        const float Aspect =
            static_cast<float>(width()) / static_cast<float>(std::max(height(), 1));
        // Half the view is 0.5 units wide one unit in front of the camera; the left-handed scene
        // is mirrored in z for OpenGL.
        const glm::mat4 Projection = glm::perspective(
            2.0f * std::atan(0.5f / std::max(Aspect, 1.0f)), Aspect, 1.0f, BackClip);
        const glm::mat4 Mirror = glm::scale(glm::mat4(1.0f), glm::vec3(1, 1, -1));
        const glm::mat4 ViewProjection =
            Projection * Mirror * glm::inverse(Camera->WorldTransform());
        // For the terrain's detail: the camera, and how many pixels a unit one unit away takes.
        Eye = glm::vec3(Camera->WorldTransform()[3]);
        PixelsPerUnit = static_cast<float>(height() * devicePixelRatio()) * std::max(Aspect, 1.0f);
        FTrianglesDrawn = 0;

        const int Quality = FRenderer.Device.Quality;
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glFrontFace(GL_CW);
        glCullFace(GL_BACK);
        glPolygonMode(GL_FRONT_AND_BACK, Quality == TDevice::Wireframe ? GL_LINE : GL_FILL);
        Shading = ShadingOf(Quality);
        DrawFrame(*FRenderer.Scene, ViewProjection, LightDirection, Ambient);
        glUseProgram(0);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
    }
    if (!PendingLines.empty()) {
        QPainter Painter(this);
        Painter.setBrush(Qt::NoBrush);
        Painter.setPen(Qt::white);
        QFont Font = Painter.font();
        Font.setPixelSize(12); // lines are 14 pixels apart: a 12-point font would overlap them
        Painter.setFont(Font);
        // On a dark box: readable over white terrain too.
        int Widest = 0;
        for (const auto& [Y, Text] : PendingLines) {
            Widest = std::max(
                Widest, Painter.fontMetrics().horizontalAdvance(QString::fromStdString(Text)));
        }
        Painter.fillRect(QRect(0, 0, Widest + 8, PendingLines.back().first + 18),
                         QColor(0, 0, 0, 160));
        for (const auto& [Y, Text] : PendingLines) {
            Painter.drawText(QRect(0, Y, width(), 16), Qt::AlignLeft | Qt::AlignTop,
                             QString::fromStdString(Text));
        }
    }
}

} // namespace talvo
