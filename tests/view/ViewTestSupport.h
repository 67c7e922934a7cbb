// Helpers for the page view's tests: a frame host that records what the view tells it, a
// recorder of every message shown, and books of pictures written at run time.
#pragma once

#include "view/FrameHost.h"
#include "view/TavimoView.h"
#include "widgets/MessageBox.h"

#include <QColor>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace viewtest {

class FakeFrameHost : public CFrameHost {
public:
    void ShowPageStatus(const QString& title) override { titles.push_back(title); }
    void SetProgressPos(int position) override { progress.push_back(position); }
    void PostCommand(int id) override { posted.push_back(id); }

    std::vector<QString> titles;
    std::vector<int> progress;
    std::vector<int> posted;
};

// Records every GMessageBox and GMessageBoxAutoClose call while it lives; each answers at once.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    std::vector<QString> Texts() const;
    QString Last() const;
    std::vector<GMessageBoxCall> calls;
};

// A picture of its own size and colour per page, so a test can tell the pages apart by
// the decoded surface alone.
struct PagePicture {
    int width;
    int height;
    QColor color;
};
PagePicture NumberedPicture(int index);
std::vector<std::uint8_t> JpegPage(const PagePicture& picture);
std::vector<std::uint8_t> BmpPage(const PagePicture& picture);

// Runs the event loop until `done` holds or the time is up; true when it holds. (Qt's QTRY
// macros report to QTest's own result, which a GoogleTest case never sees.)
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// Writes `count` JPEG pages named page00.jpg, page01.jpg, ... into `folder`; returns their paths.
std::vector<std::string> WriteJpegBook(const std::string& folder, int count);
std::vector<std::string> WriteBook(const std::string& folder, const std::vector<PagePicture>& pages);

// The fixture of every view test: a fresh view of a known size with a fake frame, the
// settings at known values and the messages recorded.
class ViewTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string TempPath(const std::string& name) const;
    // Opens a folder book of `count` numbered pages.
    void OpenBook(int count);
    std::string CurrentPage() const;
    int CurrentWidth() const;

    QTemporaryDir m_dir;
    FakeFrameHost m_frame;
    std::unique_ptr<MessageRecorder> m_messages;
    std::unique_ptr<CTavimoView> m_view;
    std::vector<std::string> m_pages;
};

} // namespace viewtest
