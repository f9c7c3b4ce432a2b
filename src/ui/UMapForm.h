#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/MapHost.h"
#include "model/MapState.h"
#include "model/MapViewRules.h"
#include "render/HeightColourTable.h"
#include "settings/KSavePos.h"
#include "settings/ViewSettings.h"
#include "ui/Dialogs.h"
#include "ui/SelShape.h"
#include "ui/UInfForm.h"
#include "view3d/Dx3dProc.h"

namespace talvo {

// "Map View": the picture in a scroll box and the button panel. It owns the map, the settings
// and the colour ramp for the whole run, and is the window the readers and the renderer talk
// to. Controls keep the names of the form's description; handlers keep theirs.
class TMapForm : public QWidget, public TMapHost {
    Q_OBJECT

  public:
    // IniPath is the settings file, read now and written when the window closes.
    TMapForm(TDialogs& Dialogs, std::string IniPath, QWidget* Parent = nullptr);

    // The information window filled after every load.
    TInfForm* InfForm = nullptr;
    // Opens the palette dialog.
    std::function<void()> ShowPalette;
    // Starts the 3D view of a region.
    std::function<void(const T3DRegion&)> StartView;

    QScrollArea* ScrollBox;
    QLabel* PicMap;
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

    // TMapHost.
    void SetProgressMax(int32_t Max) override;
    void SetProgressPosition(int32_t Position) override;
    void SetProgressVisible(bool Visible) override;
    void ProcessMessages() override;
    void SetControlEnabled(TMapControl Control, bool Enabled) override;
    void ShowMessage(const std::string& Text) override;
    void RenderMap(const std::string& MapKind) override;
    void SetPictureVisible(bool Visible) override;
    void ShowPicture(TBitmap Picture) override;
    bool LayerChecked(int Layer) const override;
    void SetLayerChecked(int Layer, bool Checked) override;

  protected:
    void closeEvent(QCloseEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void dragEnterEvent(QDragEnterEvent* Event) override;
    void dropEvent(QDropEvent* Event) override;

  private:
    void CreateControls();
    void FormCreate();
    bool FormClose();

    TDialogs& Dialogs;
    std::string IniPath;
    // The window's placement, kept in the settings file; restored before the window is shown.
    TKSavePosIni svPos;
    MapState FMap;
    TTerrainMesh FTerrain;
    TIni FSettings;
    THeightColourTable Table{};
    std::optional<TBitmap> Shown;
    std::array<QCheckBox*, 6> LayerBoxes{};
};

} // namespace talvo
