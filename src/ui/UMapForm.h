#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "import/OpenedMap.h"
#include "model/MapState.h"
#include "model/MapViewRules.h"
#include "render/HeightColourTable.h"
#include "settings/SettingsFile.h"
#include "settings/ViewSettings.h"
#include "ui/Dialogs.h"
#include "ui/KSavePos.h"
#include "ui/PictureView.h"
#include "ui/SelShape.h"
#include "ui/UInfForm.h"
#include "ui/Worker.h"
#include "view3d/Dx3dProc.h"

namespace talvo {

// "Map View": the picture in a scroll box and the button panel. It owns the map, the settings
// and the colour ramp for the whole run: it opens maps, has their pictures drawn off its own
// thread and shows them. Controls keep the names of the form's description; handlers keep
// theirs.
class TMapForm : public QWidget {
    Q_OBJECT

  public:
    // Ini is the settings file, read now and written when the window closes; on a first run, or
    // when Ini cannot be read, the window starts with ShippedPalette.
    TMapForm(TDialogs& Dialogs, const TSettingsFile& Ini, std::string ShippedPalette = {},
             QWidget* Parent = nullptr);
    ~TMapForm() override;

    // The information window filled after every load.
    TInfForm* InfForm = nullptr;
    // Opens the palette dialog.
    std::function<void()> ShowPalette;
    // Starts the 3D view of a region.
    std::function<void(const T3DRegion&)> StartView;
    // Opens maps and draws their pictures off the window's thread.
    TWorker* Worker;

    // The picture area, in place of a scroll box holding an image control.
    TPictureView* ScrollBox;
    TSelShape* SelShape;
    QLabel *Label1, *Label2, *Label3, *Label5;
    QLineEdit *edtStX, *edtStY, *edtEnX, *edtEnY;
    QProgressBar* pgrBar;
    QWidget* Panel1;
    QLabel* lblMScale;
    QWidget* spnMScale;
    QToolButton *spnMScaleUp, *spnMScaleDown;
    QPushButton *btnLoad, *btnRedraw, *btnPal, *btnSave;
    QGroupBox* grp3D;
    QLabel *Label4, *Label6;
    QLineEdit *edtStp, *edtScl;
    QPushButton *btnSel, *btn3D;
    QGroupBox* grpVect;
    QCheckBox *chkAd, *chkRv, *chkLk, *chkRd, *chkHw, *chkRw;

    bool SelMode = false;
    double MScale = 1.0;

    TKSavePosIni& SavePos() { return svPos; }

    // Handlers.
    void btnLoadClick();
    void btnRedrawClick();
    void btnPalClick();
    void btnSaveClick();
    void btnSelClick();
    void btn3DClick();
    void spnMScaleUpClick();
    void spnMScaleDownClick();
    void ApplyZoom();
    void SelShapeMouseMove();
    // "Load..." for a path already chosen: a dropped file or the command line's FILE.
    void LoadFile(const std::string& Path);
    // Runs a handler; an error it raises goes to the error box.
    void Guarded(const std::function<void()>& Handler);

    const MapState& Map() const { return FMap; }
    MapState& Map() { return FMap; }
    TTerrainMesh& Terrain() { return FTerrain; }
    TIni& Settings() { return FSettings; }
    THeightColourTable& ColourTable() { return Table; }
    // The picture at its natural size, as last drawn.
    const std::optional<TBitmap>& Picture() const { return Shown; }

  signals:
    // The window has closed: the program ends.
    void Closed();

  protected:
    void closeEvent(QCloseEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void dragEnterEvent(QDragEnterEvent* Event) override;
    void dropEvent(QDropEvent* Event) override;

  private:
    void CreateControls();
    void FormCreate();
    bool FormClose();
    // Reads the ticked layers not read yet and starts drawing the map; Load and Redraw stay off
    // until the picture is shown.
    void DrawMap();
    void WorkFinished();
    void OpeningFinished();
    void DrawingFinished();
    void ShowPicture(TBitmap Picture);
    // The picture's size as shown at the zoom.
    QSize PictureArea() const;
    // The loaded map's folder, where the file dialogs open; "" before the first map.
    std::string MapFolder() const;

    TDialogs& Dialogs;
    TSettingsFile IniFile;
    std::string ShippedPalette;
    // The window's placement, kept in the settings file; restored before the window is shown.
    TKSavePosIni svPos;
    MapState FMap;
    TTerrainMesh FTerrain;
    TIni FSettings;
    THeightColourTable Table{};
    std::optional<TBitmap> Shown;
    // The worker's job and what it makes, read once it has finished.
    enum class TWork { None, Opening, Drawing } Work = TWork::None;
    std::string OpeningPath;
    MapState Carried; // what a new map keeps of the one on show
    std::optional<TOpenedMap> Opened;
    std::optional<TBitmap> Drawn;
    bool RedrawBefore = false;
    std::string OverlayFailure; // why a ticked layer could not be read for the picture drawn
    std::array<QCheckBox*, OverlayLayerCount> LayerBoxes{};
    // Moves the progress bar while a picture is drawn.
    QTimer* ProgressTimer;
};

} // namespace talvo
