#pragma once

#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "model/ScreenFit.h"
#include "settings/SettingsFile.h"

namespace talvo {

// Where a window was, as the settings file keeps it: section "Bounds", key "<object name>.Bounds",
// the value a line of FormatBounds.

// The screens' areas windows may take (without panels and docks).
std::vector<TScreenRect> ScreenAreas();

// The key Window's placement is kept under.
std::string PlacementKey(const QWidget& Window);

// Puts Window where Line says, before it is first shown: its normal bounds brought onto a screen
// of today, then its state; a window saved minimised comes back normal. A line that is no
// placement changes nothing.
void RestorePlacement(QWidget& Window, std::string_view Line);

// Window's placement now, as the settings file keeps it.
TExtraKey PlacementOf(const QWidget& Window);

} // namespace talvo
