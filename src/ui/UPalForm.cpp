#include "ui/UPalForm.h"

#include <QPainter>
#include <QScreen>

#include "platform/TextConvert.h"
#include "render/ColourBar.h"
#include "settings/IniProc.h"

namespace talvo {

namespace {

const char* const Qualities[] = {"WIREFRAME", "FLAT", "GOURAUD", "PHONG", "MAPPING"};

struct TNamedSwatch {
    const char* Name;
    const char* Caption; // the class code shown on the swatch, or ""
    const char* Beside;  // the class or layer name to its left
};

const TNamedSwatch LandUse[] = {
    {"SelPal_LU10", "10", QT_TRANSLATE_NOOP("talvo::TPalForm", "森林")},
    {"SelPal_LU20", "20", QT_TRANSLATE_NOOP("talvo::TPalForm", "混合地域")},
    {"SelPal_LU30", "30", QT_TRANSLATE_NOOP("talvo::TPalForm", "草地・低木林・疎林")},
    {"SelPal_LU40", "40", QT_TRANSLATE_NOOP("talvo::TPalForm", "農地")},
    {"SelPal_LU50", "50", QT_TRANSLATE_NOOP("talvo::TPalForm", "湿地")},
    {"SelPal_LU60", "60", QT_TRANSLATE_NOOP("talvo::TPalForm", "裸地")},
    {"SelPal_LU70", "70", QT_TRANSLATE_NOOP("talvo::TPalForm", "市街地")},
    {"SelPal_LU80", "80", QT_TRANSLATE_NOOP("talvo::TPalForm", "湖沼・河川")},
    {"SelPal_LU90", "90", QT_TRANSLATE_NOOP("talvo::TPalForm", "海")},
};

const TNamedSwatch Vegetation[] = {
    {"SelPal_VG10", "10", QT_TRANSLATE_NOOP("talvo::TPalForm", "熱帯多雨林")},
    {"SelPal_VG20", "20", QT_TRANSLATE_NOOP("talvo::TPalForm", "雨緑林")},
    {"SelPal_VG30", "30", QT_TRANSLATE_NOOP("talvo::TPalForm", "熱帯草原")},
    {"SelPal_VG40", "40", QT_TRANSLATE_NOOP("talvo::TPalForm", "熱帯・亜熱帯の\n半荒原")},
    {"SelPal_VG50", "50", QT_TRANSLATE_NOOP("talvo::TPalForm", "熱帯・亜熱帯の\n荒原")},
    {"SelPal_VG60", "60", QT_TRANSLATE_NOOP("talvo::TPalForm", "硬葉樹林")},
    {"SelPal_VG70", "70", QT_TRANSLATE_NOOP("talvo::TPalForm", "常緑広葉樹林")},
    {"SelPal_VG80", "80", QT_TRANSLATE_NOOP("talvo::TPalForm", "落葉広葉樹林")},
    {"SelPal_VG90", "90", QT_TRANSLATE_NOOP("talvo::TPalForm", "温帯草原")},
    {"SelPal_VG100", "100", QT_TRANSLATE_NOOP("talvo::TPalForm", "温帯の半荒原")},
    {"SelPal_VG110", "110", QT_TRANSLATE_NOOP("talvo::TPalForm", "温帯の荒原")},
    {"SelPal_VG120", "120", QT_TRANSLATE_NOOP("talvo::TPalForm", "北方針葉樹林")},
    {"SelPal_VG130", "130", QT_TRANSLATE_NOOP("talvo::TPalForm", "ツンドラ")},
    {"SelPal_VG140", "140", QT_TRANSLATE_NOOP("talvo::TPalForm", "水面")},
    {"SelPal_VG150", "150", QT_TRANSLATE_NOOP("talvo::TPalForm", "雪氷面")},
};

const TNamedSwatch Layers[] = {
    {"SelPal_ad", "", QT_TRANSLATE_NOOP("talvo::TPalForm", "行政界")},
    {"SelPal_rv", "", QT_TRANSLATE_NOOP("talvo::TPalForm", "水文(河川）")},
    {"SelPal_lk", "", QT_TRANSLATE_NOOP("talvo::TPalForm", "水文(湖沼）")},
    {"SelPal_rd", "", QT_TRANSLATE_NOOP("talvo::TPalForm", "交通網(一般道路）")},
    {"SelPal_hw", "", QT_TRANSLATE_NOOP("talvo::TPalForm", "交通網(高速道路）")},
    {"SelPal_rw", "", QT_TRANSLATE_NOOP("talvo::TPalForm", "交通網 (鉄道）")},
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

TPalForm::TPalForm(TIni& Settings, THeightColourTable& Table, TDialogs& Dialogs,
                   std::string IniPath, QWidget* Parent)
    : QDialog(Parent, Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      Settings(Settings), Table(Table), Dialogs(Dialogs), IniPath(std::move(IniPath)) {
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
    for (int K = 0; K < 9; ++K) {
        const TNamedSwatch& Swatch = LandUse[K];
        const int Top = 32 + 31 * K;
        SelPal[static_cast<size_t>(IniLandUse1 + K)] =
            new TSwatch(Swatch.Name, Swatch.Caption, LandUsePage, {149, Top, 60, 25});
        NameBeside(tr(Swatch.Beside), LandUsePage, 149, Top);
    }
    for (int K = 0; K < 15; ++K) {
        const TNamedSwatch& Swatch = Vegetation[K];
        const int Left = K < 8 ? 109 : 285;
        const int Top = 8 + 36 * (K < 8 ? K : K - 8);
        SelPal[static_cast<size_t>(IniVegetation1 + K)] =
            new TSwatch(Swatch.Name, Swatch.Caption, VegetationPage, {Left, Top, 60, 25});
        auto* Name = new QLabel(tr(Swatch.Beside), VegetationPage);
        Name->setGeometry(Left - 105, Top - 6, 98, 37);
        Name->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int K = 0; K < 6; ++K) {
        const TNamedSwatch& Swatch = Layers[K];
        const int Top = 56 + 31 * K;
        SelPal[static_cast<size_t>(IniLayer0 + K)] =
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
    connect(btnOK, &QPushButton::clicked, this, [this] { Guarded(&TPalForm::btnOKClick); });
    connect(btnAvr, &QPushButton::clicked, this, [this] { Guarded(&TPalForm::btnAvrClick); });
}

void TPalForm::Guarded(void (TPalForm::*Handler)()) {
    try {
        (this->*Handler)();
    } catch (const std::exception& Error) {
        Dialogs.Error(this, Error.what());
    }
}

void TPalForm::ShowPalette() {
    FillColourLabels();
    Height_Min->setText(QString::number(Settings.Entry[IniMin]));
    Height_Max->setText(QString::number(Settings.Entry[IniMax]));
    BuildHeightColourTable(Settings, Table);
    DrawColourTable();
    // Centred on the screen of the window it belongs to.
    const QScreen* Screen = parentWidget() ? parentWidget()->screen() : screen();
    move(Screen->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

void TPalForm::FillColourLabels() {
    SelPal_Sea->SetColour(Settings.Sea);
    SelPal_Out->SetColour(Settings.Out);
    for (size_t Entry = 0; Entry < SelPal.size(); ++Entry) {
        SelPal[Entry]->SetColour(Settings.Entry[Entry]);
    }
    chkSeaExp->setChecked(Settings.SeaExp);
    const int Found =
        cmb3DQl->findText(QString::fromStdString(Settings.Quality), Qt::MatchFixedString);
    cmb3DQl->setCurrentIndex(Found < 0 ? 0 : Found); // MatchFixedString ignores letter case
}

void TPalForm::SelPal_SeaClick(TSwatch* Sender) {
    if (std::optional<int32_t> Chosen = Dialogs.ChooseColour(this, Sender->Colour())) {
        Sender->SetColour(*Chosen);
    }
}

void TPalForm::btnOKClick() {
    // Every value is taken into a copy first: a bad one, or a file that cannot be written,
    // leaves the settings as they were, in memory and in the file.
    TIni Edited = Settings;
    Edited.Sea = SelPal_Sea->Colour();
    Edited.Out = SelPal_Out->Colour();
    for (size_t Entry = 0; Entry < SelPal.size(); ++Entry) {
        Edited.Entry[Entry] = SelPal[Entry]->Colour();
    }
    Edited.SeaExp = chkSeaExp->isChecked();
    Edited.Entry[IniMin] = StrToInt(Height_Min->text().toStdString());
    Edited.Entry[IniMax] = StrToInt(Height_Max->text().toStdString());
    Edited.Quality = cmb3DQl->currentText().toStdString();
    SaveSettings(IniPath, Edited);
    Settings = Edited;
    BuildHeightColourTable(Settings, Table);
    DrawColourTable();
    hide();
}

void TPalForm::btnAvrClick() {
    Settings.Entry[IniAnchor0] = SelPal[0]->Colour();
    Settings.Entry[IniAnchor0 + 5] = SelPal[5]->Colour();
    EvenAnchors(Settings);
    BuildHeightColourTable(Settings, Table);
    DrawColourTable();
    FillColourLabels();
}

void TPalForm::DrawColourTable() {
    QPixmap Bar(Pal_ColorTable->size());
    Bar.fill(Qt::white);
    QPainter Painter(&Bar);
    for (const TColourBand& Band : ColourBarBands(Bar.height())) {
        Painter.fillRect(0, Band.Top, Bar.width(), Band.Bottom - Band.Top,
                         ToQColor(Table[static_cast<size_t>(Band.Entry)]));
    }
    Painter.end();
    Pal_ColorTable->setPixmap(Bar);
}

} // namespace talvo
