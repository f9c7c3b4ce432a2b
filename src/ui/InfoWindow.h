#pragma once

#include <QDialog>
#include <QLabel>
#include <map>
#include <string>

#include "model/LoadedMap.h"

namespace talvo {

// "Map Infomation": the loaded map's header, one value label per field, each named after
// its field, and the counts of its cells ("Counts", CountsLine) once they are known. Closing it
// only hides it.
class TInfoWindow : public QDialog {
    Q_OBJECT

  public:
    explicit TInfoWindow(QWidget* Parent = nullptr);

    // The value label of a field ("MeshCode", … "RecFlg").
    QLabel* Value(const std::string& Field) const { return Values.at(Field); }

  private:
    std::map<std::string, QLabel*> Values;
};

// Copies the map's header fields into the window's value labels, formatted as talvo --info
// prints them; the counts wait for their own pass.
void FillMapInfo(TInfoWindow& Form, const TLoadedMap& Map);

} // namespace talvo
