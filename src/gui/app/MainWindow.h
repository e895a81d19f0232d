#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/workflow/Workflow.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTimer;
class QToolButton;

namespace belvaron::gui {

class BookingListModel;
class BookingListView;
class AboutDialog;
class QtUi;
class ReplaceTextEdit;
class WindowSettings;

// The main window: the six numbered work steps over the core workflow. Every
// click becomes a call of a Workflow handler; the window shows the
// workflow's members and the booking list, and decides nothing itself.
// Controls carry object names (for tests and accessibility).
class MainWindow : public QDialog {
    Q_OBJECT
public:
    explicit MainWindow(QtUi& ui, QWidget* parent = nullptr);
    ~MainWindow() override;

    Workflow& workflow() { return workflow_; }

    // Window start with the program folder (ending with '/'); the choices
    // remembered from the last run are applied.
    void Initialise(const std::string& programFolder);

    // Opens the journal at `path` as step 3's "Auswahl" would (the command
    // line's FILE, a drop, "Zuletzt geöffnet").
    void OpenJournal(const QString& path);

    // Sizes the window for a screen whose free area is `available`: the
    // content as it likes it where that fits, else the list shrinks first
    // and the scroll area takes what is still too large.
    void FitInto(const QRect& available);

    // The "Updates?" button's action (none until the update check is built).
    void SetUpdateHandler(std::function<void()> handler) { updateHandler_ = std::move(handler); }

    // UI port side.
    void ClearBookings();
    void ShowBookings(const BookingStore& store, std::span<const int> marked);
    void ShowMembers();
    void SetVatControlsEnabled(bool enabled);

    BookingListView* bookingList() const { return list_; }
    BookingListModel* bookingModel() const { return model_; }
    QWidget* content() const { return content_; }
    QScrollArea* contentScroll() const { return scroll_; }
    ReplaceTextEdit* replaceBox() const { return replaceBox_; }

public slots:
    void reject() override;  // "Programm beenden", Escape, close box
    void ShowHelp();
    void ShowAbout();
    virtual void OnUpdates();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Each returns its step with the step's digit picture.
    QWidget* BuildStepsOneToThree();
    QWidget* BuildLedger();
    QWidget* BuildTaxationGroup();
    QWidget* BuildAccountsGroup();
    QWidget* BuildExportGroups();
    QPushButton* MakeButton(const QString& caption, const char* name,
                            void (MainWindow::*handler)());
    void BuildActions();

    void OnSelectJournal();
    void OnDeleteZeroBookings();
    void OnEditRequested(int row);
    void OnSelectVatReport();
    void OnKontenUeberpruefen();
    void OnClearReplaceList();
    void OnReplaceAccounts();
    void OnDatevAuswahl();
    void OnDatenExportieren();
    void OnSelectLexwareFile();
    void OnExportLexware();
    void OnReplaceEdited();
    void OnReplaceFocusLeft(Qt::FocusReason reason);
    // Step 5's title, with a marker while the REPLACE box has unsaved edits.
    void ShowReplaceMarker();
    void ApplyFilter();
    void ShowListStatus();
    // The remembered choices: applied at the start, written when the user
    // makes them.
    void ApplyRemembered();
    void RememberTargets();
    void RememberJournal();
    void ShowRecentJournals();
    bool IsJournalDrop(const QEvent* event, QString* path) const;

    QtUi& ui_;
    Workflow workflow_;
    std::function<void()> updateHandler_;
    std::unique_ptr<AboutDialog> about_;
    std::string aboutText_;

    QRadioButton* euro_ = nullptr;
    QRadioButton* dm_ = nullptr;
    QLineEdit* journalField_ = nullptr;
    QToolButton* recent_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QWidget* content_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QComboBox* show_ = nullptr;
    QLabel* listStatus_ = nullptr;
    QTimer* filterTimer_ = nullptr;
    std::unique_ptr<WindowSettings> settings_;
    bool remembering_ = false;
    BookingListModel* model_ = nullptr;
    BookingListView* list_ = nullptr;
    QRadioButton* soll_ = nullptr;
    QRadioButton* ist_ = nullptr;
    QLabel* vatHint_ = nullptr;
    QLineEdit* vatField_ = nullptr;
    QPushButton* vatSelect_ = nullptr;
    QGroupBox* accountsGroup_ = nullptr;
    QComboBox* charts_ = nullptr;
    QPushButton* checkButton_ = nullptr;
    QPushButton* replaceButton_ = nullptr;
    ReplaceTextEdit* replaceBox_ = nullptr;
    QLineEdit* datevField_ = nullptr;
    QLineEdit* lexwareField_ = nullptr;
    // Each step's state in words.
    QLabel* journalState_ = nullptr;
    QLabel* taxationState_ = nullptr;
    QLabel* accountsState_ = nullptr;
    QLabel* exportState_ = nullptr;

    std::string shownReplaceText_;
    std::vector<std::string> shownCharts_;
    bool chartsShown_ = false;
    bool swallowPress_ = false;
    int savedScroll_ = 0;
    int savedRows_ = -1;
    int savedCurrent_ = -1;
};

}  // namespace belvaron::gui
