#pragma once

#include <QApplication>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gui/app/MainWindow.h"
#include "gui/app/QtUi.h"

namespace belvaron::test {

// A QtUi whose message boxes and file dialogs are answered from queues and
// recorded, so that no test blocks on a modal window.
struct RecordingUi {
    struct Message {
        QString text;
        MessageIcon icon;
        MessageButtons buttons;
        bool defaultNo;  // Enter would answer "Nein"
    };

    gui::QtUi ui;
    std::vector<Message> messages;
    std::deque<MessageAnswer> answers;             // Yes/No questions; No when empty
    std::deque<std::optional<std::string>> files;  // file choices; cancel when empty
    std::vector<FileDialogRequest> fileRequests;

    RecordingUi() {
        ui.SetMessagePresenter(
            [this](QWidget*, const QString& text, MessageIcon icon, MessageButtons buttons) {
                messages.push_back({text, icon, buttons, ui.questionDefaultsToNo()});
                if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
                if (answers.empty()) return MessageAnswer::No;
                const MessageAnswer a = answers.front();
                answers.pop_front();
                return a;
            });
        ui.SetFileChooser([this](QWidget*, const FileDialogRequest& request) {
            fileRequests.push_back(request);
            if (files.empty()) return std::optional<std::string>();
            auto f = files.front();
            files.pop_front();
            return f;
        });
    }

    QStringList Texts() const {
        QStringList t;
        for (const auto& m : messages) t << m.text;
        return t;
    }
};

// Runs `action` on the next modal window once it is shown (from inside its
// event loop); `opened` tells whether one appeared.
inline void OnNextModal(const std::function<void(QWidget*)>& action, bool* opened = nullptr) {
    QTimer::singleShot(0, [action, opened] {
        QWidget* modal = QApplication::activeModalWidget();
        if (opened) *opened = modal != nullptr;
        if (modal) action(modal);
    });
}

// Keeps the remembered choices (Qt's INI settings) of a test in `folder`.
inline void KeepSettingsIn(const QTemporaryDir& folder) {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       folder.path() + QStringLiteral("/config"));
}

// The main window over `folder` (its data folder folder/data, its program
// folder `folder`), drawn by `ui`, shown; the caller waits for it.
inline std::unique_ptr<gui::MainWindow> OpenWindowIn(const QTemporaryDir& folder, gui::QtUi& ui) {
    auto window = std::make_unique<gui::MainWindow>(ui);
    const std::string path = folder.path().toStdString();
    window->workflow().SetDataFolderOverride(path + "/data");
    window->Initialise(path + "/");
    window->show();
    return window;
}

// The child of `parent` named `name`; the test run ends when there is none.
template <typename T>
T* NamedChild(const QObject* parent, const char* name) {
    T* w = parent->findChild<T*>(QLatin1String(name));
    if (!w) qFatal("no control %s", name);
    return w;
}

}  // namespace belvaron::test
