#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QTimer>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "platform/ExecutablePath.h"
#include "platform/Language.h"
#include "settings/SettingsFile.h"
#include "ui/AppWindows.h"
#include "ui/WindowTexts.h"

namespace {

// The captions are Japanese: the font they were drawn for when it is installed, else a
// Japanese sans font.
QFont JapaneseFont() {
    QFont Font;
    Font.setFamilies({QString::fromUtf8("ＭＳ Ｐゴシック"), "Noto Sans CJK JP", "Noto Sans CJK"});
    Font.setPixelSize(12);
    return Font;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> Args(argv + 1, argv + argc);
    std::string File;
    if (auto Status = talvo::RunCommandLine(Args, std::cout, std::cerr, &File)) {
        return *Status;
    }
    talvo::TQtDialogs Dialogs;
    QApplication App(argc, argv);
    App.setApplicationName("Talvo");
    App.setFont(JapaneseFont());
    talvo::InstallWindowTexts(App, talvo::MessageLanguage());

    const talvo::TSettingsFile Ini = talvo::SettingsFile(talvo::ExecutableDir());
    if (!Ini.Named) {
        // A first run keeps its settings in a folder that may not be there yet; one that cannot be
        // made shows as a refused write when the settings are saved.
        std::error_code Ignored;
        std::filesystem::create_directories(std::filesystem::path(Ini.Path).parent_path(), Ignored);
    }
    talvo::TDocument Document(Ini, talvo::ShippedPalettePath(talvo::ExecutableDir()));
    talvo::TAppWindows Windows(Document, Dialogs);
    QObject::connect(&Windows, &talvo::TAppWindows::Finished, &App, &QApplication::quit);
    Windows.MapForm.show();
    if (!File.empty()) {
        QTimer::singleShot(0, &Windows.MapForm, [&] {
            Windows.MapForm.Guarded([&] { Windows.MapForm.LoadFile(File); });
        });
    }
    return App.exec();
}
