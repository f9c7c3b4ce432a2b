#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace talvo {

// The questions and boxes the windows put to the user; tests answer them without a person.
class TDialogs {
  public:
    virtual ~TDialogs() = default;

    // The map files to open, starting in Folder ("": where the last dialog was): one, or several
    // FG-GML tiles to lay as one map; none when the user cancels.
    virtual std::vector<std::string> OpenMapFiles(QWidget* Parent, const std::string& Folder) = 0;
    // A picture file to save, starting in Folder, and the chosen filter (1 bitmap, 2 JPEG,
    // 3 PNG); nothing when cancelled.
    virtual std::optional<std::pair<std::string, int>>
    SavePictureFile(QWidget* Parent, const std::string& Folder) = 0;
    // A colour, starting from Initial (colour values: red in the low byte); nothing when the
    // user cancels.
    virtual std::optional<int32_t> ChooseColour(QWidget* Parent, int32_t Initial) = 0;
    // A CSV file to save, starting in Folder; nothing when cancelled.
    virtual std::optional<std::string> SaveCsvFile(QWidget* Parent, const std::string& Folder) = 0;
    // A point to go to, as "LON,LAT" or "col:row", offered as Last; nothing when cancelled.
    virtual std::optional<std::string> AskPoint(QWidget* Parent, const std::string& Last) = 0;
    // A message box.
    virtual void Message(QWidget* Parent, const std::string& Text) = 0;
    // The application's error box.
    virtual void Error(QWidget* Parent, const std::string& Text) = 0;
};

// The real dialogs.
class TQtDialogs : public TDialogs {
  public:
    std::vector<std::string> OpenMapFiles(QWidget* Parent, const std::string& Folder) override;
    std::optional<std::pair<std::string, int>> SavePictureFile(QWidget* Parent,
                                                               const std::string& Folder) override;
    std::optional<int32_t> ChooseColour(QWidget* Parent, int32_t Initial) override;
    std::optional<std::string> SaveCsvFile(QWidget* Parent, const std::string& Folder) override;
    std::optional<std::string> AskPoint(QWidget* Parent, const std::string& Last) override;
    void Message(QWidget* Parent, const std::string& Text) override;
    void Error(QWidget* Parent, const std::string& Text) override;
};

} // namespace talvo
