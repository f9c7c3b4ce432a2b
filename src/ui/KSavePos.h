#pragma once

#include <string>

#include "ui/KSubWnd.h"

namespace talvo {

// Remembers where a form was: restores its placement when it is loaded, before it is first
// shown, and saves it when asked and when it is destroyed. A form keeps it as a member, so
// that it is destroyed while the form can still be read.
class TKSaveFormPos : public TKCustomSubWnd {
  public:
    explicit TKSaveFormPos(QWidget* Owner) : Owner(Owner) {}

    bool SaveBounds = true;    // false: nothing is saved or restored by itself
    bool ResumeIconic = false; // false: a window saved minimised comes back normal

    // Hooks the owner and, with SaveBounds, restores its placement. Called once the form is
    // built.
    void Loaded();
    void SaveFormBounds();
    void LoadFormBounds();

  protected:
    virtual void WriteBounds(const std::string& Text) = 0;
    virtual std::string ReadBounds() = 0;

    QWidget* Owner;
};

// Keeps the placement in the settings file: section "Bounds", key "<form name>.Bounds".
class TKSavePosIni : public TKSaveFormPos {
  public:
    TKSavePosIni(QWidget* Owner, std::string IniPath)
        : TKSaveFormPos(Owner), IniPath(std::move(IniPath)) {}
    // Saves once more at the form's destruction while the form can still be read.
    ~TKSavePosIni() override;

  protected:
    void WriteBounds(const std::string& Text) override;
    std::string ReadBounds() override;

  private:
    std::string Key() const { return Owner->objectName().toStdString() + ".Bounds"; }
    std::string IniPath;
};

} // namespace talvo
