// Frames of the 3D view against a minimal OpenGL program drawing the same triangles from one
// vertex buffer. Needs a display: run under xvfb-run (software OpenGL) or on a desktop.
// Each frame is drawn and read back the same way for both, so the difference is the drawing.
#include <QApplication>
#include <QOpenGLBuffer>
#include <QOpenGLFunctions_3_3_Core>
#include <QOpenGLShaderProgram>
#include <QOpenGLVertexArrayObject>
#include <QOpenGLWidget>
#include <benchmark/benchmark.h>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <memory>

#include "QtBenchmarkMain.h"
#include "support/FgGmlText.h"
#include "support/NumMapText.h"
#include "support/ScriptedDialogs.h"
#include "ui/View3DWindow.h"

namespace {

// The sample map's 200 × 200 cells in "GOURAUD", camera raised and aimed at the terrain.
struct TSampleView {
    TSampleView() {
        talvo::TProgress Unwatched;
        Document.Open(TALVO_SAMPLES_DIR "/jacksboro/533945.Mem", Unwatched);
        talvo::TViewSettings Settings;
        Settings.Max = 1200;
        Settings.Pit = 24;
        Settings.Quality = "GOURAUD";
        Document.SetSettings(Settings);
        Form.StartView({0, 0, 200, 200, 1, 3});
        for (int I = 0; I < 10; ++I) {
            Form.View.KeyDown(talvo::TViewScene::TKey::PageUp);
        }
        Form.View.KeyDown(talvo::TViewScene::TKey::Key5);
    }
    talvo::TDocument Document;
    talvo::test::TScriptedDialogs Dialogs;
    talvo::TView3DWindow Form{Document, Dialogs};
};

TSampleView& SampleView() {
    static std::unique_ptr<TSampleView> View;
    if (!View) {
        View = std::make_unique<TSampleView>();
        BeforeTheApplicationEnds().push_back([] { View.reset(); });
    }
    return *View;
}

// The same triangles, positions and colours only, one buffer, one draw call.
class TMinimalView : public QOpenGLWidget, protected QOpenGLFunctions_3_3_Core {
  public:
    TMinimalView(const talvo::TTriangles& Mesh, glm::mat4 ViewProjection, QSize Size)
        : ViewProjection(ViewProjection) {
        QSurfaceFormat Format;
        Format.setVersion(3, 3);
        Format.setProfile(QSurfaceFormat::CoreProfile);
        Format.setDepthBufferSize(24);
        setFormat(Format);
        for (size_t F = 0; F < Mesh.FaceCount(); ++F) {
            const glm::vec3 C = Mesh.FaceColour(F);
            for (int I = 0; I < 3; ++I) {
                const glm::vec3 P = Mesh.Vertices[Mesh.Indices[3 * F + static_cast<size_t>(I)]];
                Data.insert(Data.end(), {P.x, P.y, P.z, C.r, C.g, C.b});
            }
        }
        resize(Size);
    }

  protected:
    void initializeGL() override {
        initializeOpenGLFunctions();
        Program.addShaderFromSourceCode(QOpenGLShader::Vertex, R"(#version 330 core
layout(location = 0) in vec3 P; layout(location = 1) in vec3 C; uniform mat4 M; out vec3 V;
void main() { gl_Position = M * vec4(P, 1.0); V = C; })");
        Program.addShaderFromSourceCode(QOpenGLShader::Fragment, R"(#version 330 core
in vec3 V; out vec4 F; void main() { F = vec4(V, 1.0); })");
        Program.link();
        Array.create();
        Array.bind();
        Buffer.create();
        Buffer.bind();
        Buffer.allocate(Data.data(), static_cast<int>(Data.size() * sizeof(float)));
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 6 * sizeof(float), nullptr);
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, 6 * sizeof(float),
                              reinterpret_cast<void*>(3 * sizeof(float)));
        Array.release();
    }
    void paintGL() override {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        Program.bind();
        glUniformMatrix4fv(Program.uniformLocation("M"), 1, GL_FALSE,
                           glm::value_ptr(ViewProjection));
        Array.bind();
        glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(Data.size() / 6));
    }

  private:
    glm::mat4 ViewProjection;
    std::vector<float> Data;
    QOpenGLShaderProgram Program;
    QOpenGLVertexArrayObject Array;
    QOpenGLBuffer Buffer{QOpenGLBuffer::VertexBuffer};
};

void BM_TalvoViewFrame(benchmark::State& State) {
    TSampleView& View = SampleView();
    View.Form.Scene->grabFramebuffer(); // the mesh goes to the card with the first frame
    for (auto _ : State) {
        benchmark::DoNotOptimize(View.Form.Scene->grabFramebuffer());
    }
    State.counters["fps"] =
        benchmark::Counter(static_cast<double>(State.iterations()), benchmark::Counter::kIsRate);
    State.counters["faces"] = View.Form.Terrain().MeshFaceCount;
}
BENCHMARK(BM_TalvoViewFrame)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

void BM_MinimalFrame(benchmark::State& State) {
    TSampleView& View = SampleView();
    std::shared_ptr<talvo::TVisual> Visual =
        View.Form.View.ModelFrame->Children()[0]->GetVisuals()[0];
    // The same camera and surface size as the view's.
    const QSize Size = View.Form.Scene->size();
    const float Aspect = static_cast<float>(Size.width()) / static_cast<float>(Size.height());
    const glm::mat4 ViewProjection =
        glm::perspective(2.0f * std::atan(0.5f / std::max(Aspect, 1.0f)), Aspect, 1.0f, 5000.0f) *
        glm::scale(glm::mat4(1.0f), glm::vec3(1, 1, -1)) *
        glm::inverse(View.Form.View.Camera->WorldTransform());
    TMinimalView Minimal(static_cast<talvo::TMeshBuilder&>(*Visual).Triangles(), ViewProjection,
                         Size);
    Minimal.show();
    Minimal.grabFramebuffer();
    for (auto _ : State) {
        benchmark::DoNotOptimize(Minimal.grabFramebuffer());
    }
    State.counters["fps"] =
        benchmark::Counter(static_cast<double>(State.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MinimalFrame)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

// A 10 m FG-GML tile of 1125 × 750 points (hills and valleys), its picture draped on the whole
// tile in "MAP", seen from the view's starting camera raised over the terrain.
struct TLargeView {
    TLargeView() {
        talvo::test::TFgGmlText Tile;
        Tile.Type = "10mメッシュ（標高）";
        Tile.Lower = "35.0 139.0";
        Tile.Upper = "35.0083333333 139.0125";
        Tile.High = "1124 749";
        std::vector<std::string> Heights;
        for (int R = 0; R < 750; ++R) {
            for (int C = 0; C < 1125; ++C) {
                const double Metres = 400 + 300 * std::sin(R / 45.0) * std::cos(C / 60.0) +
                                      40 * std::sin(R / 7.0 + C / 11.0);
                Heights.push_back(std::to_string(std::round(Metres * 10) / 10));
            }
        }
        Tile.Tuples = talvo::test::FgGmlPoints(Heights);
        talvo::TProgress Unwatched;
        Document.Open(talvo::test::WriteTempFile("large.xml", talvo::test::FormatFgGml(Tile)),
                      Unwatched);
        talvo::TViewSettings Settings;
        Settings.Max = 1000;
        Settings.Pit = 20;
        Settings.ShadowKK = 64;
        Settings.Quality = "MAP";
        for (int I = 0; I < 6; ++I) {
            talvo::PaletteColour(Settings, static_cast<size_t>(I)) = 0x206040 + 0x182010 * I;
        }
        Document.SetSettings(Settings);
        Document.View().ShowPicture(*Document.StartDrawing({}).Job(Unwatched), Document.Map());
        Form.StartView({0, 0, 1125, 750, 1, 1});
        for (int I = 0; I < 10; ++I) {
            Form.View.KeyDown(talvo::TViewScene::TKey::PageUp);
        }
        Form.View.KeyDown(talvo::TViewScene::TKey::Key5);
    }
    talvo::TDocument Document;
    talvo::test::TScriptedDialogs Dialogs;
    talvo::TView3DWindow Form{Document, Dialogs};
};

void BM_DrapedLargeFrame(benchmark::State& State) {
    static std::unique_ptr<TLargeView> View;
    if (!View) {
        View = std::make_unique<TLargeView>();
        BeforeTheApplicationEnds().push_back([] { View.reset(); });
    }
    View->Form.Scene->grabFramebuffer();
    for (auto _ : State) {
        benchmark::DoNotOptimize(View->Form.Scene->grabFramebuffer());
    }
    State.counters["fps"] =
        benchmark::Counter(static_cast<double>(State.iterations()), benchmark::Counter::kIsRate);
    State.counters["faces"] = View->Form.Terrain().MeshFaceCount;
    State.counters["drawn"] = static_cast<double>(View->Form.Scene->TrianglesDrawn());
}
BENCHMARK(BM_DrapedLargeFrame)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
