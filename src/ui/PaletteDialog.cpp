#include "ui/PaletteDialog.h"

#include <QPainter>
#include <QScreen>

#include "model/ClassNames.h"
#include "platform/Language.h"
#include "platform/TextConvert.h"
#include "render/ColourBar.h"
#include "settings/SettingsFile.h"

namespace talvo {

namespace {

const char* const Qualities[] = {"WIREFRAME", "FLAT", "GOURAUD", "PHONG", "MAPPING", "MAP"};

struct TNamedSwatch {
    const char* Name;
    const char* Beside; // the layer name to its left
};

const TNamedSwatch Layers[] = {
    {"SelPal_ad", QT_TRANSLATE_NOOP("talvo::TPaletteDialog", "行政界")},
    {"SelPal_rv", QT_TRANSLATE_NOOP("talvo::TPaletteDialog", "水文(河川）")},
    {"SelPal_lk", QT_TRANSLATE_NOOP("talvo::TPaletteDialog", "水文(湖沼）")},
    {"SelPal_rd", QT_TRANSLATE_NOOP("talvo::TPaletteDialog", "交通網(一般道路）")},
    {"SelPal_hw", QT_TRANSLATE_NOOP("talvo::TPaletteDialog", "交通網(高速道路）")},
    {"SelPal_rw", QT_TRANSLATE_NOOP("talvo::TPaletteDialog", "交通網 (鉄道）")},
};

// A name right-aligned against the swatch at SwatchLeft.
void NameBeside(const QString& Text, QWidget* Page, int SwatchLeft, int Top) {
    auto* Name = new QLabel(Text, Page);
    Name->setGeometry(4, Top - 6, SwatchLeft - 12, 37);
    Name->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

QColor ToQColor(int32_t Colour) {
    return QColor(Colour & 0xFF, (Colour >> 8) & 0xFF, (Colour >> 16) & 0xFF);
}

} // namespace

TSwatch::TSwatch(const char* Name, const QString& Caption, QWidget* Parent, QRect Geometry)
    : QLabel(Caption, Parent) {
    setObjectName(Name);
    setGeometry(Geometry);
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
    SetColour(0x00FF00); // lime until the settings fill it
}

void TSwatch::SetColour(int32_t Colour) {
    FColour = Colour;
    QPalette Colours = palette();
    const QColor Shown = ToQColor(Colour);
    Colours.setColor(QPalette::Window, Shown);
    Colours.setColor(QPalette::WindowText, Shown.lightness() < 128 ? Qt::white : Qt::black);
    setPalette(Colours);
}

void TSwatch::mousePressEvent(QMouseEvent*) {
    emit Clicked();
}

TPaletteDialog::TPaletteDialog(TDocument& Document, TDialogs& Dialogs, QWidget* Parent)
    : QDialog(Parent, Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      Document(Document), Dialogs(Dialogs) {
    setObjectName("PalForm");
    setWindowTitle("Palette Setting");
    setFixedSize(370, 405);
    setModal(false);

    pagePal = new QTabWidget(this);
    pagePal->setObjectName("pagePal");
    pagePal->setGeometry(4, 4, 370, 345);
    auto Page = [this](const QString& Caption) {
        auto* Result = new QWidget;
        pagePal->addTab(Result, Caption);
        return Result;
    };
    QWidget* Elevation = Page(tr("標高"));
    QWidget* LandUsePage = Page(tr("土地利用"));
    QWidget* VegetationPage = Page(tr("植生"));
    QWidget* VectorPage = Page(tr("ベクトルデータ"));
    QWidget* ThreeDPage = Page(tr("3D設定"));

    SelPal.resize(36);
    SelPal_Sea = new TSwatch("SelPal_Sea", "", Elevation, {64, 16, 73, 25});
    const int AnchorTops[] = {55, 87, 119, 151, 183, 215};
    for (int K = 0; K < 6; ++K) {
        const std::string Name = "SelPal_" + std::to_string(K);
        SelPal[static_cast<size_t>(K)] =
            new TSwatch(Name.c_str(), "", Elevation, {64, AnchorTops[K], 73, 25});
    }
    SelPal_Out = new TSwatch("SelPal_Out", "", Elevation, {64, 248, 73, 25});
    Pal_ColorTable = new QLabel(Elevation);
    Pal_ColorTable->setObjectName("Pal_ColorTable");
    Pal_ColorTable->setGeometry(8, 64, 33, 185);
    Height_Min = new QLineEdit(Elevation);
    Height_Min->setObjectName("Height_Min");
    Height_Min->setGeometry(152, 56, 81, 21);
    Height_Max = new QLineEdit(Elevation);
    Height_Max->setObjectName("Height_Max");
    Height_Max->setGeometry(160, 216, 73, 21);
    btnAvr = new QPushButton("Avr.", Elevation);
    btnAvr->setObjectName("btnAvr");
    btnAvr->setGeometry(160, 144, 75, 25);

    auto* CodeHeader = new QLabel(tr("コード"), LandUsePage);
    CodeHeader->setGeometry(149, 10, 60, 20);
    CodeHeader->setAlignment(Qt::AlignCenter);
    // The class names are the core's, which the readout shows too.
    const TLanguage Language = MessageLanguage();
    auto ClassSwatch = [](const char* Prefix, const TClassName& Class, QWidget* Page, QRect Place) {
        const std::string Name = Prefix + std::to_string(Class.Code);
        return new TSwatch(Name.c_str(), QString::number(Class.Code), Page, Place);
    };
    for (int K = 0; K < 9; ++K) {
        const TClassName& Class = LandUseClasses()[static_cast<size_t>(K)];
        const int Top = 32 + 31 * K;
        SelPal[static_cast<size_t>(PaletteLandUse1 + K)] =
            ClassSwatch("SelPal_LU", Class, LandUsePage, {149, Top, 60, 25});
        NameBeside(QString::fromStdString(WrappedClassName(Class, Language)), LandUsePage, 149,
                   Top);
    }
    for (int K = 0; K < 15; ++K) {
        const TClassName& Class = VegetationClasses()[static_cast<size_t>(K)];
        const int Left = K < 8 ? 109 : 285;
        const int Top = 8 + 36 * (K < 8 ? K : K - 8);
        SelPal[static_cast<size_t>(PaletteVegetation1 + K)] =
            ClassSwatch("SelPal_VG", Class, VegetationPage, {Left, Top, 60, 25});
        auto* Name =
            new QLabel(QString::fromStdString(WrappedClassName(Class, Language)), VegetationPage);
        Name->setGeometry(Left - 105, Top - 6, 98, 37);
        Name->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int K = 0; K < 6; ++K) {
        const TNamedSwatch& Swatch = Layers[K];
        const int Top = 56 + 31 * K;
        SelPal[static_cast<size_t>(PaletteLayer0 + K)] =
            new TSwatch(Swatch.Name, "", VectorPage, {165, Top, 60, 25});
        NameBeside(tr(Swatch.Beside), VectorPage, 165, Top);
    }

    auto* QualityLabel = new QLabel(tr("レンダリング品質"), ThreeDPage);
    QualityLabel->move(56, 32);
    cmb3DQl = new QComboBox(ThreeDPage);
    cmb3DQl->setObjectName("cmb3DQl");
    cmb3DQl->setGeometry(56, 56, 145, 22);
    cmb3DQl->setEditable(false);
    for (const char* Quality : Qualities) {
        cmb3DQl->addItem(Quality);
    }
    chkSeaExp = new QCheckBox(tr("海の深さを無視"), ThreeDPage);
    chkSeaExp->setObjectName("chkSeaExp");
    chkSeaExp->move(56, 96);

    btnOK = new QPushButton("OK", this);
    btnOK->setObjectName("btnOK");
    btnOK->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    btnOK->setGeometry(144, 360, 89, 33);
    btnOK->setDefault(true);

    std::vector<TSwatch*> All = SelPal;
    All.push_back(SelPal_Sea);
    All.push_back(SelPal_Out);
    for (TSwatch* Swatch : All) {
        connect(Swatch, &TSwatch::Clicked, this, [this, Swatch] { SelPal_SeaClick(Swatch); });
    }
    connect(btnOK, &QPushButton::clicked, this, [this] { Guarded(&TPaletteDialog::btnOKClick); });
    connect(btnAvr, &QPushButton::clicked, this, [this] { Guarded(&TPaletteDialog::btnAvrClick); });
}

void TPaletteDialog::Guarded(void (TPaletteDialog::*Handler)()) {
    try {
        (this->*Handler)();
    } catch (const std::exception& Error) {
        Dialogs.Error(this, Error.what());
    }
}

void TPaletteDialog::ShowPalette() {
    FillColourLabels();
    Height_Min->setText(QString::number(Document.Settings().Min));
    Height_Max->setText(QString::number(Document.Settings().Max));
    DrawColourTable();
    // Centred on the screen of the window it belongs to.
    const QScreen* Screen = parentWidget() ? parentWidget()->screen() : screen();
    move(Screen->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

void TPaletteDialog::FillColourLabels() {
    const TViewSettings& Settings = Document.Settings();
    SelPal_Sea->SetColour(Settings.Sea);
    SelPal_Out->SetColour(Settings.Out);
    for (size_t Entry = 0; Entry < SelPal.size(); ++Entry) {
        SelPal[Entry]->SetColour(PaletteColour(Settings, Entry));
    }
    chkSeaExp->setChecked(Settings.SeaExp);
    const int Found =
        cmb3DQl->findText(QString::fromStdString(Settings.Quality), Qt::MatchFixedString);
    cmb3DQl->setCurrentIndex(Found < 0 ? 0 : Found); // MatchFixedString ignores letter case
}

void TPaletteDialog::SelPal_SeaClick(TSwatch* Sender) {
    if (std::optional<int32_t> Chosen = Dialogs.ChooseColour(this, Sender->Colour())) {
        Sender->SetColour(*Chosen);
    }
}

void TPaletteDialog::btnOKClick() {
    // Every value is taken into a copy first: a bad one, or a file that cannot be written,
    // leaves the settings as they were, in memory and in the file.
    TViewSettings Edited = Document.Settings();
    Edited.Sea = SelPal_Sea->Colour();
    Edited.Out = SelPal_Out->Colour();
    for (size_t Entry = 0; Entry < SelPal.size(); ++Entry) {
        PaletteColour(Edited, Entry) = SelPal[Entry]->Colour();
    }
    Edited.SeaExp = chkSeaExp->isChecked();
    Edited.Min = HeightLimit(Height_Min->text().toStdString(), "Min");
    Edited.Max = HeightLimit(Height_Max->text().toStdString(), "Max");
    Edited.Quality = cmb3DQl->currentText().toStdString();
    Document.SaveSettings(Edited);
    DrawColourTable();
    hide();
}

void TPaletteDialog::btnAvrClick() {
    TViewSettings Settings = Document.Settings();
    Settings.Anchors[0] = SelPal[0]->Colour();
    Settings.Anchors[5] = SelPal[5]->Colour();
    EvenAnchors(Settings);
    Document.SetSettings(Settings);
    DrawColourTable();
    FillColourLabels();
}

void TPaletteDialog::DrawColourTable() {
    QPixmap Bar(Pal_ColorTable->size());
    Bar.fill(Qt::white);
    QPainter Painter(&Bar);
    for (const TColourBand& Band : ColourBarBands(Bar.height())) {
        Painter.fillRect(0, Band.Top, Bar.width(), Band.Bottom - Band.Top,
                         ToQColor(Document.ColourTable()[static_cast<size_t>(Band.Entry)]));
    }
    Painter.end();
    Pal_ColorTable->setPixmap(Bar);
}

} // namespace talvo
