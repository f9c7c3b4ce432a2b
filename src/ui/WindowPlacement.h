#pragma once

#include <QWidget>
#include <string>
#include <string_view>

#include "settings/SettingsFile.h"

namespace talvo {

// Where a window was, as the settings file keeps it: section "Bounds", key "<object name>.Bounds",
// the value a line of FormatBounds.

// The key Window's placement is kept under.
std::string PlacementKey(const QWidget& Window);

// Puts Window where Line says, before it is first shown: its normal bounds brought onto a screen
// of today, then its state; a window saved minimised comes back normal. A line that is no
// placement changes nothing.
void RestorePlacement(QWidget& Window, std::string_view Line);

// Window's placement now, as the settings file keeps it.
TExtraKey PlacementOf(const QWidget& Window);

} // namespace talvo
