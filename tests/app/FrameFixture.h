// FrameFixture: a shown main window over a real view, with the settings switches kept and
// every message recorded instead of shown.
#pragma once

#include "OptionSwitches.h"
#include "app/MainFrame.h"
#include "widgets/MessageBox.h"

#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

// Polls the event loop until `condition` holds (or five seconds pass); unlike QTRY_*, the
// result reaches GoogleTest.
template <typename Condition> bool WaitUntil(Condition condition) {
    return QTest::qWaitFor(condition, 5000);
}

class FrameFixture : public ::testing::Test {
protected:
    void SetUp() override {
        SetGMessageBoxHook([this](const GMessageBoxCall& call) {
            messages.push_back(call.text);
            return int(IDOK);
        });
    }
    void TearDown() override {
        frame.reset();
        // Nothing the window does in these tests is worth a message to the reader.
        for (const QString& text : messages)
            ADD_FAILURE() << "unexpected message: " << text.toStdString();
        SetGMessageBoxHook(nullptr);
    }
    CMainFrame& ShowFrame(const QString& bookPath = {}) {
        frame = std::make_unique<CMainFrame>(bookPath.toStdString());
        frame->setGeometry(100, 80, 640, 480);
        frame->ShowFrame();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        return *frame;
    }

    OptionSwitches keep;
    std::vector<QString> messages;
    std::unique_ptr<CMainFrame> frame;
};
