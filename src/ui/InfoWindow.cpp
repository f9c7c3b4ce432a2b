#include "ui/InfoWindow.h"

#include <QGridLayout>
#include <iterator>

#include "model/MapInfo.h"

namespace talvo {

namespace {

struct TInfoRow {
    const char* Caption;
    const char* Field;
};

const TInfoRow LeftColumn[] = {
    {QT_TRANSLATE_NOOP("talvo::TInfoWindow", "メッシュコード"), "MeshCode"},
    {QT_TRANSLATE_NOOP("talvo::TInfoWindow", "原図の縮尺"), "Org_Scale"},
    {QT_TRANSLATE_NOOP("talvo::TInfoWindow", "原図測量年紀"), "Org_Surv"},
    {QT_TRANSLATE_NOOP("talvo::TInfoWindow", "原図修正年紀"), "Org_Mod"},
    {QT_TRANSLATE_NOOP("talvo::TInfoWindow", "数値化年紀"), "NumericY"},
    {QT_TRANSLATE_NOOP("talvo::TInfoWindow", "東西方向の点数"), "Pts_WE"},
    {QT_TRANSLATE_NOOP("talvo::TInfoWindow", "南北方向の点数"), "Pts_NS"},
    {QT_TRANSLATE_NOOP("talvo::TInfoWindow", "メッシュ左下の緯度"), "Ido_WS"},
    {QT_TRANSLATE_NOOP("talvo::TInfoWindow", "メッシュ左下の経度"), "Kei_WS"},
    {QT_TRANSLATE_NOOP("talvo::TInfoWindow", "メッシュ右上の緯度"), "Ido_EN"},
    {QT_TRANSLATE_NOOP("talvo::TInfoWindow", "メッシュ右上の経度"), "Kei_EN"},
    {QT_TRANSLATE_NOOP("talvo::TInfoWindow", "図葉面数"), "Zuyou_Su"},
};

const TInfoRow RightColumn[] = {
    {QT_TRANSLATE_NOOP("talvo::TInfoWindow", "図名1"), "Zu_name1"},
    {QT_TRANSLATE_NOOP("talvo::TInfoWindow", "位置フラグ1"), "Zu_Flg1"},
    {QT_TRANSLATE_NOOP("talvo::TInfoWindow", "図名2"), "Zu_name2"},
    {QT_TRANSLATE_NOOP("talvo::TInfoWindow", "位置フラグ2"), "Zu_Flg2"},
    {QT_TRANSLATE_NOOP("talvo::TInfoWindow", "図名3"), "Zu_name3"},
    {QT_TRANSLATE_NOOP("talvo::TInfoWindow", "位置フラグ3"), "Zu_Flg3"},
    {QT_TRANSLATE_NOOP("talvo::TInfoWindow", "図名4"), "Zu_name4"},
    {QT_TRANSLATE_NOOP("talvo::TInfoWindow", "位置フラグ4"), "Zu_Flg4"},
    {QT_TRANSLATE_NOOP("talvo::TInfoWindow", "記録レコード数"), "RecCnt"},
    {QT_TRANSLATE_NOOP("talvo::TInfoWindow", "コメント"), "Comment"},
};

} // namespace

TInfoWindow::TInfoWindow(QWidget* Parent) : QDialog(Parent) {
    setObjectName("InfForm");
    setWindowTitle("Map Infomation");
    // Captions right-aligned beside their values, in two columns; the layout sizes every label
    // to its text in the font and language it is shown in.
    auto* Grid = new QGridLayout(this);
    Grid->setSizeConstraint(QLayout::SetFixedSize);
    Grid->setHorizontalSpacing(12);
    Grid->setColumnMinimumWidth(1, 100);
    Grid->setColumnMinimumWidth(3, 160);
    auto AddRows = [this, Grid](const auto& Rows, int Column) {
        int Line = 0;
        for (const TInfoRow& Row : Rows) {
            auto* Caption = new QLabel(tr(Row.Caption), this);
            Caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            auto* Value = new QLabel(Row.Field, this);
            Value->setObjectName(Row.Field);
            Value->setTextInteractionFlags(Qt::TextSelectableByMouse);
            Values[Row.Field] = Value;
            Grid->addWidget(Caption, Line, Column);
            Grid->addWidget(Value, Line, Column + 1);
            ++Line;
        }
    };
    AddRows(LeftColumn, 0);
    AddRows(RightColumn, 2);

    const int Below = static_cast<int>(std::size(LeftColumn));
    Grid->addWidget(new QLabel(tr("レコード１のフラグ"), this), Below, 0, 1, 4);
    auto* Flags = new QLabel("RecFlg", this);
    Flags->setObjectName("RecFlg");
    Flags->setWordWrap(true);
    Flags->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Flags->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Flags->setContentsMargins(8, 0, 0, 0);
    // As wide as the columns above: a flag string without spaces is cut at the right edge.
    Flags->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    Flags->setMinimumHeight(2 * Flags->fontMetrics().height());
    Grid->addWidget(Flags, Below + 1, 0, 1, 4);
    Values["RecFlg"] = Flags;

    // What the cells hold, counted after the header is shown.
    auto* Counts = new QLabel(this);
    Counts->setObjectName("Counts");
    Counts->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Grid->addWidget(new QLabel(tr("セルの集計"), this), Below + 2, 0, Qt::AlignRight);
    Grid->addWidget(Counts, Below + 2, 1, 1, 3);
    Values["Counts"] = Counts;
}

void FillMapInfo(TInfoWindow& Form, const TLoadedMap& Map) {
    for (const TMapInfoField& Field : MapInfoFields(Map)) {
        Form.Value(Field.Name)->setText(QString::fromStdString(Field.Value));
    }
    Form.Value("Counts")->clear();
}

} // namespace talvo
