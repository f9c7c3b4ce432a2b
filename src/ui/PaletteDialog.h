#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <map>
#include <string>
#include <vector>

#include "app/Document.h"
#include "ui/Dialogs.h"

namespace talvo {

// A colour swatch: a frameless label in one colour that answers clicks.
class TSwatch : public QLabel {
    Q_OBJECT

  public:
    TSwatch(const char* Name, const QString& Caption, QWidget* Parent, QRect Geometry);

    int32_t Colour() const { return FColour; }
    void SetColour(int32_t Colour);

  signals:
    void Clicked();

  protected:
    void mousePressEvent(QMouseEvent* Event) override;

  private:
    int32_t FColour = 0;
};

// "Palette Setting": every colour, the height limits, the 3D quality and the sea option.
// The swatches hold the edits until "OK" stores them, saves the settings file and hides the
// dialog; closing it by the title bar stores nothing.
class TPaletteDialog : public QDialog {
    Q_OBJECT

  public:
    TPaletteDialog(TDocument& Document, TDialogs& Dialogs, QWidget* Parent = nullptr);

    QTabWidget* pagePal;
    QPushButton* btnOK;
    QLabel* Pal_ColorTable;
    QLineEdit *Height_Min, *Height_Max;
    QPushButton* btnAvr;
    QComboBox* cmb3DQl;
    QCheckBox* chkSeaExp;
    TSwatch *SelPal_Sea, *SelPal_Out;
    std::vector<TSwatch*> SelPal; // 36 swatches of entries 0..35, in entry order

    void ShowPalette();
    void FillColourLabels();
    void SelPal_SeaClick(TSwatch* Sender);
    void btnOKClick();
    void btnAvrClick();
    void DrawColourTable();

  private:
    void Guarded(void (TPaletteDialog::*Handler)());

    TDocument& Document;
    TDialogs& Dialogs;
};

} // namespace talvo
