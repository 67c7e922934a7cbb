// RecordingTarget: a command target that records which operation a command reached, with
// frame states the test sets.
#pragma once

#include "app/CommandTarget.h"

#include <string>
#include <vector>

class RecordingTarget : public CCommandTarget {
public:
    std::vector<std::string> calls;
    bool fullScreen = false;
    bool toolBarVisible = true;
    bool statusBarVisible = true;

    void TurnPage(bool forward) override { calls.push_back(forward ? "TurnPage(true)" : "TurnPage(false)"); }
    void OnPagePrev() override { calls.push_back("OnPagePrev"); }
    void OnPageNext() override { calls.push_back("OnPageNext"); }
    void OnPrev10() override { calls.push_back("OnPrev10"); }
    void OnNext10() override { calls.push_back("OnNext10"); }
    void OnFlip() override { calls.push_back("OnFlip"); }
    void OnView2Page() override { calls.push_back("OnView2Page"); }
    void OnInterpolation() override { calls.push_back("OnInterpolation"); }
    void OnZoomToggle() override { calls.push_back("OnZoomToggle"); }
    void SelectPage() override { calls.push_back("SelectPage"); }
    void OnOpenFile() override { calls.push_back("OnOpenFile"); }
    void OnOpenFolder() override { calls.push_back("OnOpenFolder"); }
    void OnOpenArchive() override { calls.push_back("OnOpenArchive"); }
    void OnSharpen() override { calls.push_back("OnSharpen"); }
    void OnRotate() override { calls.push_back("OnRotate"); }
    void OnFullScreen() override { calls.push_back("OnFullScreen"); }
    void OnOption() override { calls.push_back("OnOption"); }
    void OnViewToolBar() override { calls.push_back("OnViewToolBar"); }
    void OnViewStatusBar() override { calls.push_back("OnViewStatusBar"); }
    void OnAppAbout() override { calls.push_back("OnAppAbout"); }
    void OnAppExit() override { calls.push_back("OnAppExit"); }
    void OnRecentBooks() override { calls.push_back("OnRecentBooks"); }
    bool IsFullScreen() const override { return fullScreen; }
    bool IsToolBarVisible() const override { return toolBarVisible; }
    bool IsStatusBarVisible() const override { return statusBarVisible; }
};
