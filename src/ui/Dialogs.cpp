#include "ui/Dialogs.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace talvo {

namespace {

// The filters as "description|patterns" pairs, turned into Qt's "description (patterns)";
// descriptions that show their pattern already keep it. Qt matches names in any letter case.
QStringList Filters(const QString& Pairs) {
    const QStringList Parts = Pairs.split('|');
    QStringList Result;
    for (int I = 0; I + 1 < Parts.size(); I += 2) {
        QString Patterns = Parts[I + 1];
        Patterns.replace(';', ' ');
        Result << (Parts[I].contains('(') ? Parts[I] : Parts[I] + " (" + Patterns + ")");
    }
    return Result;
}

//: "Description|patterns" pairs; the patterns stay as they are.
const char* const OpenFilter = QT_TRANSLATE_NOOP(
    "talvo::TQtDialogs",
    "すべて|*.Mem;*.Sem;*.Tem;EL*.hdr;Lu*.hdr;Vg*.hdr;*.bil;*.xml;*.zip;*.tif;*.tiff;*.hgt;*.asc;"
    "*.dem;*.img;*.vrt|50m地図 (*.Mem)|*.Mem|250m地図 "
    "(*.Sem)|*.Sem|1Km地図 (*.Tem)|*.Tem|地球地図 標高 (El*.hdr)|EL*.hdr|地球地図 土地利用 "
    "(Lu*.hdr)|Lu*.hdr|地球地図 植生 (Vg*.hdr)|Vg*.hdr|USCG 30秒メッシュ (*.bil)|*.Bil|"
    "基盤地図情報 数値標高モデル FG-GML|*.xml;*.zip|"
    "GeoTIFF ほか GDAL のラスター|*.tif;*.tiff;*.hgt;*.asc;*.dem;*.img;*.vrt");

const char* const SaveFilter =
    "Bitmap File (*.bmp)|*.bmp|Jpeg File (*.jpg)|*.jpg;*.jpeg|PNG File (*.png)|*.png";

// A message's line breaks as a message box shows them: the documented LF CR is one break.
QString BoxText(const std::string& Text) {
    QString Shown = QString::fromStdString(Text);
    Shown.replace("\n\r", "\n");
    Shown.remove('\r');
    return Shown;
}

} // namespace

std::vector<std::string> TQtDialogs::OpenMapFiles(QWidget* Parent, const std::string& Folder) {
    QFileDialog Dialog(Parent, QString(), QString::fromStdString(Folder));
    Dialog.setFileMode(QFileDialog::ExistingFiles);
    Dialog.setNameFilters(Filters(QCoreApplication::translate("talvo::TQtDialogs", OpenFilter)));
    Dialog.setDefaultSuffix("Mem");
    std::vector<std::string> Chosen;
    if (Dialog.exec() == QDialog::Accepted) {
        for (const QString& Path : Dialog.selectedFiles()) {
            Chosen.push_back(Path.toStdString());
        }
    }
    return Chosen;
}

std::optional<std::pair<std::string, int>> TQtDialogs::SavePictureFile(QWidget* Parent,
                                                                       const std::string& Folder) {
    QFileDialog Dialog(Parent, QString(), QString::fromStdString(Folder));
    Dialog.setAcceptMode(QFileDialog::AcceptSave);
    const QStringList Names = Filters(SaveFilter);
    Dialog.setNameFilters(Names);
    Dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return std::make_pair(Dialog.selectedFiles().front().toStdString(),
                          static_cast<int>(Names.indexOf(Dialog.selectedNameFilter())) + 1);
}

std::optional<std::string> TQtDialogs::SaveCsvFile(QWidget* Parent, const std::string& Folder) {
    const QString Chosen = QFileDialog::getSaveFileName(
        Parent, QString(), QString::fromStdString(Folder), QStringLiteral("CSV (*.csv)"));
    if (Chosen.isEmpty()) {
        return std::nullopt;
    }
    return Chosen.toStdString();
}

std::optional<int32_t> TQtDialogs::ChooseColour(QWidget* Parent, int32_t Initial) {
    const QColor Chosen = QColorDialog::getColor(
        QColor(Initial & 0xFF, (Initial >> 8) & 0xFF, (Initial >> 16) & 0xFF), Parent);
    if (!Chosen.isValid()) {
        return std::nullopt;
    }
    return Chosen.blue() << 16 | Chosen.green() << 8 | Chosen.red();
}

std::optional<std::string> TQtDialogs::AskPoint(QWidget* Parent, const std::string& Last) {
    bool Chosen = false;
    const QString Point =
        QInputDialog::getText(Parent, QCoreApplication::translate("talvo::TQtDialogs", "移動"),
                              QCoreApplication::translate(
                                  "talvo::TQtDialogs", "地点 (経度,緯度、xy:東距,北距 か 列:行):"),
                              QLineEdit::Normal, QString::fromStdString(Last), &Chosen);
    if (!Chosen) {
        return std::nullopt;
    }
    return Point.trimmed().toStdString();
}

void TQtDialogs::Message(QWidget* Parent, const std::string& Text) {
    QMessageBox::information(Parent, "Talvo", BoxText(Text));
}

void TQtDialogs::Error(QWidget* Parent, const std::string& Text) {
    QMessageBox::critical(Parent, "Talvo", BoxText(Text));
}

} // namespace talvo
