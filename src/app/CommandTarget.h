// CCommandTarget: everything a command of the table can do, so that the table routes each
// id to one operation of the view, the frame or the application. CMainFrame implements it
// by handing the view's operations to its view; tests supply a recording target.
#pragma once

class CCommandTarget {
public:
    virtual ~CCommandTarget() = default;

    // The view's operations.
    virtual void TurnPage(bool forward) = 0;
    virtual void OnPagePrev() = 0;
    virtual void OnPageNext() = 0;
    virtual void OnPrev10() = 0;
    virtual void OnNext10() = 0;
    virtual void OnFlip() = 0;
    virtual void OnView2Page() = 0;
    virtual void OnInterpolation() = 0;
    virtual void OnZoomToggle() = 0;
    virtual void SelectPage() = 0;
    virtual void OnOpenFile() = 0;
    virtual void OnOpenFolder() = 0;
    virtual void OnOpenArchive() = 0;
    virtual void OnSharpen() = 0;
    virtual void OnRotate() = 0;

    // The frame's and the application's operations.
    virtual void OnFullScreen() = 0;
    virtual void OnOption() = 0;
    virtual void OnViewToolBar() = 0;
    virtual void OnViewStatusBar() = 0;
    virtual void OnAppAbout() = 0;
    virtual void OnAppExit() = 0;
    // Shows the recent books to choose from.
    virtual void OnRecentBooks() = 0;

    // The frame's state that check marks show.
    virtual bool IsFullScreen() const = 0;
    virtual bool IsToolBarVisible() const = 0;
    virtual bool IsStatusBarVisible() const = 0;
};
