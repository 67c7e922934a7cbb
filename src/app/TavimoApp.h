// CTavimoApp: the application object: loads the settings, creates and shows the main
// window, runs the event loop and saves the settings when the program ends.
#pragma once

#include <QApplication>
#include <memory>
#include <string>

class CMainFrame;

class CTavimoApp {
public:
    CTavimoApp(int& argc, char** argv);
    ~CTavimoApp();
    CTavimoApp(const CTavimoApp&) = delete;
    CTavimoApp& operator=(const CTavimoApp&) = delete;

    // Sets the title, loads the settings, creates and shows the frame.
    bool InitInstance();
    // Runs the event loop, then ExitInstance; returns the exit code.
    int Run();
    // Saves the settings; returns `exitCode`.
    int ExitInstance(int exitCode);

    CMainFrame* MainFrame() const { return m_pMainWnd.get(); }

private:
    QApplication m_app;
    std::string m_bookPath; // the book named on the command line, in its own bytes
    std::unique_ptr<CMainFrame> m_pMainWnd;
};
