// CMainFrame: the program's one window: the toolbar, the status bar with its page pane and
// progress bar, the page view in the middle, fullscreen mode and the routing of commands.
#pragma once

#include "app/CommandTarget.h"
#include "view/FrameHost.h"
#include "view/TavimoView.h"

#include <QMainWindow>
#include <QRect>
#include <QTimer>
#include <map>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QStatusBar;
class QToolBar;

class CMainFrame : public QMainWindow, public CFrameHost, public CCommandTarget {
    Q_OBJECT
public:
    // `bookPath`: a folder or archive to open once the window is up; empty for none.
    explicit CMainFrame(const std::string& bookPath = {}, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Shows the window, maximized when it was maximized when last closed.
    void ShowFrame();

    // Runs a command now. A command its update handler disables is dropped (false).
    bool ExecuteCommand(int id);
    // Sets every action's check mark and enabled state from the command table.
    void UpdateCommandUI();

    // CFrameHost
    void ShowPageStatus(const QString& title) override;
    void SetProgressPos(int position) override;
    void PostCommand(int id) override;

    // CCommandTarget: the view's operations go to the view.
    void TurnPage(bool forward) override;
    void OnPagePrev() override;
    void OnPageNext() override;
    void OnPrev10() override;
    void OnNext10() override;
    void OnFlip() override;
    void OnView2Page() override;
    void OnInterpolation() override;
    void OnZoomToggle() override;
    void SelectPage() override;
    void OnOpenFile() override;
    void OnOpenFolder() override;
    void OnOpenArchive() override;
    void OnSharpen() override;
    void OnRotate() override;
    void OnFullScreen() override;
    void OnOption() override;
    void OnViewToolBar() override;
    void OnViewStatusBar() override;
    void OnAppAbout() override;
    void OnAppExit() override;
    void OnRecentBooks() override;
    bool IsFullScreen() const override;
    bool IsToolBarVisible() const override;
    bool IsStatusBarVisible() const override;

    CTavimoView& View() { return m_view; }
    QToolBar* ToolBar() const { return m_toolBar; }
    QProgressBar* ProgressBar() const { return m_progress; }
    QLabel* PagePane() const { return m_pagePane; }
    QAction* Action(int id) const;
    QMenu* RecentMenu() const { return m_recentMenu; }
    // Whether the book named at start-up is still to be opened.
    bool IsStartupPending() const { return m_startupTimer.isActive(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void CreateToolBar();
    void CreateStatusBar();
    void CreateRecentMenu();
    void FillRecentMenu();
    void OpenStartupBook();
    void EnterFullScreen();
    void LeaveFullScreen();
    void ShowRecreatedWindow();

    CTavimoView m_view;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_pagePane = nullptr;
    QMenu* m_recentMenu = nullptr;
    QProgressBar* m_progress = nullptr;
    std::map<int, QAction*> m_actions;
    bool m_bFullScreen = false;
    QRect m_rcSaved;
    bool m_bWasMaximized = false;
    std::string m_bookPath;
    QTimer m_startupTimer;
    // Coalesces the check and enabled updates after input, like the idle-time update.
    QTimer m_idleUpdate;
};
