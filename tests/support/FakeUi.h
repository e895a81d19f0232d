#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/UiPort.h"
#include "bookings/DataSet.h"

namespace belvaron::test {

// A scripted UI port: records every message and list event, answers
// questions and file choices from queues (No and cancel when empty).
class FakeUi : public UiPort {
public:
    struct Message {
        std::string text;
        MessageIcon icon;
        MessageButtons buttons;
    };

    std::vector<Message> messages;
    std::deque<MessageAnswer> answers;              // for Yes/No questions
    std::deque<std::optional<std::string>> files;   // for ChooseFile
    std::vector<FileDialogRequest> fileRequests;
    std::vector<int> lastMarked;
    int listClears = 0;
    int listRefills = 0;
    int refreshes = 0;
    std::optional<bool> vatControlsEnabled;
    int sortsStarted = 0;
    int sortsFinished = 0;
    std::deque<bool> editAnswers;       // EditBooking results
    std::deque<bool> datevDialogAnswers;  // EditDatevSettings results (default true)

    MessageAnswer ShowMessage(std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override {
        messages.push_back({std::string(text), icon, buttons});
        if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
        if (answers.empty()) return MessageAnswer::No;
        const MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override {
        fileRequests.push_back(request);
        if (files.empty()) return std::nullopt;
        auto f = files.front();
        files.pop_front();
        return f;
    }
    void ListCleared() override { ++listClears; }
    void ListRefilled(const CDataSet&, std::span<const int> marked) override {
        ++listRefills;
        lastMarked.assign(marked.begin(), marked.end());
    }
    void RefreshControls() override { ++refreshes; }
    void SetVatControlsEnabled(bool enabled) override { vatControlsEnabled = enabled; }
    void SortStarted(int) override { ++sortsStarted; }
    void SortProgress(int) override {}
    void SortFinished() override { ++sortsFinished; }
    bool EditBooking(CDataSet&, int) override {
        if (editAnswers.empty()) return false;
        const bool a = editAnswers.front();
        editAnswers.pop_front();
        return a;
    }
    bool EditDatevSettings(CDatev&, CDataSet&) override {
        if (datevDialogAnswers.empty()) return true;
        const bool a = datevDialogAnswers.front();
        datevDialogAnswers.pop_front();
        return a;
    }

    // The texts of all messages, in order.
    std::vector<std::string> Texts() const {
        std::vector<std::string> t;
        for (const auto& m : messages) t.push_back(m.text);
        return t;
    }
    const Message& Last() const { return messages.back(); }
};

}  // namespace belvaron::test
