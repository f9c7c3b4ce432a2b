#pragma once

#include <QKeyEvent>
#include <QMouseEvent>

#include "display/DXDraw.h"
#include "display/DXForm.h"
#include "display/DXTimer.h"
#include "model/MapState.h"
#include "render/HeightColourTable.h"
#include "settings/ViewSettings.h"
#include "ui/Dialogs.h"
#include "view3d/Dx3dProc.h"
#include "view3d/ViewScene.h"

namespace talvo {

// "3D View": the terrain of the selected region, redrawn on every tick of the frame timer,
// turned and flown through with the keyboard and the mouse.
class TD3DForm : public TDXForm {
    Q_OBJECT

  public:
    TD3DForm(MapState& Map, const TIni& Settings, const THeightColourTable& Table,
             TTerrainMesh& Terrain, TDialogs& Dialogs, QWidget* Parent = nullptr);

    TDXDraw* DXDraw;
    TDXTimer DXTimer;
    TViewScene View;
    bool OverlayVisible = false;

    // "3D Draw": a fresh scene and the mesh of the region given in cells.
    void StartView(const T3DRegion& Region);
    void DXDrawInitialize();
    void DXDrawInitializeSurface();
    void DXDrawFinalize();
    // One frame.
    void DXTimerTimer();
    // The overlay's fourteen lines as they would be drawn now.
    std::vector<std::pair<int, std::string>> OverlayLines() const;

  protected:
    void keyPressEvent(QKeyEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

  private:
    void SwitchDisplayMode();
    // Builds the mesh and starts the timer; an error goes to the error box, the timer stays off.
    void BuildAndRun();

    MapState& Map;
    const TIni& Settings;
    const THeightColourTable& Table;
    TTerrainMesh& Terrain;
    TDialogs& Dialogs;
};

} // namespace talvo
