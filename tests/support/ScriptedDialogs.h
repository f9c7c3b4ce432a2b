#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/Dialogs.h"

namespace talvo::test {

// Answers the dialogs from a script and keeps what the boxes said.
class TScriptedDialogs : public TDialogs {
  public:
    std::vector<std::string> OpenMapFiles(QWidget*, const std::string& Folder) override {
        OpenedIn = Folder;
        if (OpenAnswers.empty()) {
            return {};
        }
        std::vector<std::string> Paths = OpenAnswers.front();
        OpenAnswers.pop_front();
        return Paths;
    }
    std::optional<std::pair<std::string, int>> SavePictureFile(QWidget*,
                                                               const std::string& Folder) override {
        OpenedIn = Folder;
        return SaveAnswer;
    }
    std::optional<int32_t> ChooseColour(QWidget*, int32_t) override { return ColourAnswer; }
    std::optional<std::string> SaveCsvFile(QWidget*, const std::string& Folder) override {
        OpenedIn = Folder;
        return CsvAnswer;
    }
    std::optional<std::string> AskPoint(QWidget*, const std::string&) override {
        return PointAnswer;
    }
    void Message(QWidget* Owner, const std::string& Text) override {
        Messages.push_back(Text);
        Owners.push_back(Owner);
    }
    void Error(QWidget* Owner, const std::string& Text) override {
        Errors.push_back(Text);
        Owners.push_back(Owner);
    }

    std::deque<std::vector<std::string>> OpenAnswers; // each answer: the files chosen at once
    std::optional<std::pair<std::string, int>> SaveAnswer;
    std::optional<int32_t> ColourAnswer;
    std::optional<std::string> CsvAnswer;
    std::optional<std::string> PointAnswer;
    std::vector<std::string> Messages;
    std::vector<std::string> Errors;
    std::vector<QWidget*> Owners; // the window each message or error was shown over
    std::string OpenedIn;         // the folder the last file dialog started in
};

} // namespace talvo::test
