// What the page view needs of the window that holds it: the title and page counter, the
// progress bar and the posting of commands. CMainFrame implements it; view tests supply
// their own.
#pragma once

#include <QString>

class CFrameHost {
public:
    virtual ~CFrameHost() = default;
    // Sets the window title, then the page pane to the view's page counter text.
    virtual void ShowPageStatus(const QString& title) = 0;
    virtual void SetProgressPos(int position) = 0;
    // Queues a command; on delivery it is dropped when its update handler disables it.
    virtual void PostCommand(int id) = 0;
};

// The progress callback handed to the image operations with the frame host as `frame`:
// sets the progress position to done * 100 / total.
void ProgressCallback(int done, int total, void* frame);
