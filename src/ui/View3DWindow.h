#pragma once

#include <QKeyEvent>
#include <QMouseEvent>

#include "app/Document.h"
#include "display/FrameTimer.h"
#include "display/FullScreenWindow.h"
#include "display/SceneView.h"
#include "ui/Dialogs.h"
#include "view3d/PendingInput.h"
#include "view3d/TerrainCells.h"
#include "view3d/TerrainMesh.h"
#include "view3d/ViewScene.h"

namespace talvo {

// "3D View": the terrain of the selected region, redrawn on every tick of the frame timer,
// turned and flown through with the keyboard and the mouse.
class TView3DWindow : public TFullScreenWindow {
    Q_OBJECT

  public:
    TView3DWindow(const TDocument& Document, TDialogs& Dialogs, QWidget* Parent = nullptr);

    // The window a refusal is told over while the view is not shown: the main window.
    QWidget* MessageOwner = nullptr;
    // A new picture was drawn (the document's view holds it, and the "MAP" quality lays it on the
    // terrain): a view draped with the old one takes it.
    void PictureChanged();

    TSceneView* Scene;
    TFrameTimer Timer;
    TViewScene View;
    bool OverlayVisible = false;

    // "3D Draw": a fresh scene and the mesh of the region given in cells of the document's map,
    // which the view keeps while it is open.
    void StartView(const TRegion& Region);
    void SceneInitialize();
    void SceneInitializeSurface();
    void SceneFinalize();
    // Asks for a frame, which applies the keys and drags that came since the last one.
    void TimerTick();
    // The region on show and its mesh: of a map read by window, the region over the samples read
    // from it.
    const TRegion& Region() const { return FRegion; }
    const TTerrainMesh& Terrain() const { return FTerrain; }
    // The overlay's fourteen lines as they would be drawn now.
    std::vector<std::pair<int, std::string>> OverlayLines() const;

  protected:
    void keyPressEvent(QKeyEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

  private:
    void SwitchDisplayMode();
    // A frame starts: the pending input is applied, the overlay's lines are made.
    void FrameStarts();
    // Builds the mesh and starts the timer; an error goes to the error box, the timer stays off.
    void BuildAndRun();

    const TDocument& Document;
    TPendingInput Pending;
    TDialogs& Dialogs;
    // The region's cells of the picture, for the "MAP" quality; nothing for the others. Of a map
    // read by window, the picture of the cells the samples cover, drawn for the view.
    std::optional<TBitmap> Drape() const;

    std::shared_ptr<const TLoadedMap> Map; // the cells the terrain is built from
    TRegion FRegion;
    TCellWindow Covered; // of the document's map
    TTerrainMesh FTerrain;
    std::shared_ptr<TMeshBuilder> Builder; // a region drawn whole
    std::shared_ptr<TTerrainLod> Lod;      // a large one, drawn in chunks
    bool Placed = false;                   // put over the main window when first shown
};

} // namespace talvo
