#pragma once

#include "platform/Language.h"

class QCoreApplication;
class QTranslator;

namespace talvo {

// Gives the windows' texts in Language; call before the windows are made. The Japanese texts are
// the source texts; English installs the translation built into the program. Returns the
// translator installed, owned by App, or nullptr when there is none.
QTranslator* InstallWindowTexts(QCoreApplication& App, TLanguage Language);

} // namespace talvo
