// GMessageBoxWnd and GMessageBox: layout, results per button and key, the countdown, the
// title rules, owner handling and the test hook.
#include "widgets/MessageBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>

namespace {

// Runs the window modally and acts once its loop is running.
int RunAndThen(GMessageBoxWnd& wnd, std::function<void()> act)
{
    QTimer::singleShot(0, &wnd, std::move(act));
    return wnd.RunModal();
}

GMessageBoxWnd* OpenMessageWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* wnd = qobject_cast<GMessageBoxWnd*>(w); wnd && wnd->isVisible())
            return wnd;
    }
    return nullptr;
}

// The character height of the measuring font, as the layout uses it.
int LineHeight()
{
    QFont font = QApplication::font();
    font.setFamilies({"Gulim", "NanumGothicCoding", "monospace"});
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(9);
    return QFontMetrics(font).height();
}

class MessageWindow : public ::testing::Test {
protected:
    void SetUp() override { GMessageBoxWnd::SetTimerPeriod(1000); }
    void TearDown() override { GMessageBoxWnd::SetTimerPeriod(1000); }
};

// ---- layout

TEST_F(MessageWindow, NarrowOneLineTextGivesMinimumWidthAndOkAt44)
{
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "a", "t", MB_OK, 0, 0));
    EXPECT_EQ(wnd.width(), 132);
    EXPECT_EQ(wnd.height(), 32 + 110);
    EXPECT_EQ(wnd.ClientGeometry(1), QRect(44, 32 + 75, 70, 25));
    EXPECT_EQ(wnd.ClientGeometry(25), QRect(7, 30, 112, 72));
    EXPECT_EQ(wnd.ClientGeometry(26), QRect(17, 50, 32, 32));
    EXPECT_EQ(wnd.ClientGeometry(28), QRect(5, 5, 117, 20));
    EXPECT_FALSE(wnd.Child(2)->isVisibleTo(&wnd));
}

TEST_F(MessageWindow, ThreeLineTextIsThreeCharacterHeightsTall)
{
    const int h = LineHeight();
    const int H = 3 * h;
    const int Hc = std::max(H, 32);
    GMessageBoxWnd withButton;
    ASSERT_TRUE(withButton.Create(nullptr, "one\ntwo\nthree", "t", MB_OK, 0, 0));
    EXPECT_EQ(withButton.height(), Hc + 110);
    const QRect message = withButton.ClientGeometry(27);
    EXPECT_EQ(message.height(), H);
    EXPECT_EQ(message.topLeft(), QPoint(59, (Hc + 40 - H) / 2 + 30));

    GMessageBoxWnd noButton;
    ASSERT_TRUE(noButton.Create(nullptr, "one\ntwo\nthree", "t", MB_OK, GMB_NOBUTTON, 0));
    EXPECT_EQ(noButton.height(), Hc + 85);
}

TEST_F(MessageWindow, WidthFollowsWidestLineAndSkipsEmptyLines)
{
    const QString longLine = QString(40, QLatin1Char('W'));
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "x\n\n" + longLine, "t", MB_OK, 0, 0));
    const int W = wnd.ClientGeometry(27).width();
    EXPECT_GT(W, 50);
    EXPECT_EQ(wnd.width(), W + 82);
    EXPECT_EQ(wnd.ClientGeometry(1).x(), W - 6);
}

TEST_F(MessageWindow, OkCancelPutsOkLeftAndCancelRight)
{
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, QString(30, QLatin1Char('M')), "t", MB_OKCANCEL, 0, 0));
    const int W = wnd.ClientGeometry(27).width();
    EXPECT_EQ(wnd.ClientGeometry(1).x(), W - 81);
    EXPECT_EQ(wnd.ClientGeometry(2).x(), W - 6);
    EXPECT_TRUE(wnd.Child(1)->isVisibleTo(&wnd));
    EXPECT_TRUE(wnd.Child(2)->isVisibleTo(&wnd));
    EXPECT_EQ(static_cast<QPushButton*>(wnd.Child(1))->text(), "확인");
    EXPECT_EQ(static_cast<QPushButton*>(wnd.Child(2))->text(), "취소");
}

TEST_F(MessageWindow, YesNoRenamesButtons)
{
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "?", "t", MB_YESNO, 0, 0));
    EXPECT_EQ(static_cast<QPushButton*>(wnd.Child(1))->text(), "예");
    EXPECT_EQ(static_cast<QPushButton*>(wnd.Child(2))->text(), "아니오");
}

TEST_F(MessageWindow, NoButtonFlagHidesAndDisablesBoth)
{
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "x", "t", MB_OKCANCEL, GMB_NOBUTTON, 0));
    for (int id : {1, 2}) {
        EXPECT_FALSE(wnd.Child(id)->isVisibleTo(&wnd)) << id;
        EXPECT_FALSE(wnd.Child(id)->isEnabled()) << id;
    }
}

// ---- caption

TEST_F(MessageWindow, CaptionGradientFollowsIntegerFormula)
{
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "x", "", MB_OK, 0, 0));
    const CDib& image = wnd.CaptionImage();
    ASSERT_EQ(image.GetHeight(), 20);
    const int width = image.GetWidth();
    ASSERT_EQ(width, 117);
    for (int x = 0; x < width; ++x) {
        const int r = 0 - (x * (0 - 140)) / width;
        const int g = 0 - (x * (0 - 161)) / width;
        const int b = 200 - (x * (200 - 255)) / width;
        const std::uint32_t expected = (r << 16) | (g << 8) | b;
        EXPECT_EQ(image.GetPixel(x, 0), expected) << "column " << x; // the top row holds no text
    }
}

TEST_F(MessageWindow, CaptionTextIsWhiteOnTheGradient)
{
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "x", "MMMMMM", MB_OK, 0, 0));
    const CDib& image = wnd.CaptionImage();
    int white = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < 60; ++x) {
            // Brighter red and green than anywhere on the gradient: drawn text.
            const std::uint32_t rgb = image.GetPixel(x, y);
            white += ((rgb >> 16) & 0xFF) > 200 && ((rgb >> 8) & 0xFF) > 200;
        }
    EXPECT_GT(white, 10);
}

TEST_F(MessageWindow, EmptyTitleBecomesMorvelAfterOneSpace)
{
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "x", "", MB_OK, 0, 0));
    EXPECT_EQ(wnd.Title(), " Morvel");
}

TEST_F(MessageWindow, TitleGetsOneLeadingSpace)
{
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "x", "Tavimo", MB_OK, 0, 0));
    EXPECT_EQ(wnd.Title(), " Tavimo");
}

TEST_F(MessageWindow, TildeTitleShowsApplicationTitle)
{
    QString seen;
    QTimer::singleShot(0, [&] {
        if (GMessageBoxWnd* wnd = OpenMessageWindow()) {
            seen = wnd->Title();
            wnd->Close();
        }
    });
    GMessageBox(nullptr, "x", "~~", MB_OK, 0, 0);
    EXPECT_EQ(seen, " " + AppTitle());
    EXPECT_EQ(AppTitle(), "Tavimo");
}

// ---- results per button and key

TEST_F(MessageWindow, EnterOnFocusedOkGivesIdok)
{
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "x", "t", MB_OK, 0, 0));
    EXPECT_EQ(RunAndThen(wnd, [&] { QTest::keyClick(wnd.Child(1), Qt::Key_Return); }), IDOK);
}

TEST_F(MessageWindow, EnterPressesTheFocusedButtonNotAlwaysOk)
{
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "x", "t", MB_YESNO, 0, 0));
    EXPECT_EQ(RunAndThen(wnd,
                         [&] {
                             wnd.Child(2)->setFocus();
                             QTest::keyClick(wnd.Child(2), Qt::Key_Enter);
                         }),
              IDNO);
}

TEST_F(MessageWindow, EscapeInOkBoxDoesNothing)
{
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "x", "t", MB_OK, 0, 0));
    bool openAfterEscape = false;
    const int result = RunAndThen(wnd, [&] {
        QTest::keyClick(wnd.Child(1), Qt::Key_Escape);
        QCoreApplication::processEvents();
        openAfterEscape = wnd.isVisible();
        QTest::mouseClick(wnd.Child(1), Qt::LeftButton);
    });
    EXPECT_TRUE(openAfterEscape);
    EXPECT_EQ(result, IDOK);
}

TEST_F(MessageWindow, EscapeInOkCancelBoxGivesIdcancel)
{
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "x", "t", MB_OKCANCEL, 0, 0));
    EXPECT_EQ(RunAndThen(wnd, [&] { QTest::keyClick(wnd.Child(1), Qt::Key_Escape); }), IDCANCEL);
}

TEST_F(MessageWindow, EscapeInYesNoBoxGivesIdno)
{
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "x", "t", MB_YESNO, 0, 0));
    EXPECT_EQ(RunAndThen(wnd, [&] { QTest::keyClick(wnd.Child(1), Qt::Key_Escape); }), IDNO);
}

TEST_F(MessageWindow, ButtonClicksGiveAcceptAndRejectResults)
{
    struct Case {
        int type;
        int id;
        int expected;
    };
    for (const Case c : {Case{MB_OKCANCEL, 1, IDOK}, Case{MB_OKCANCEL, 2, IDCANCEL}, Case{MB_YESNO, 1, IDYES},
                         Case{MB_YESNO, 2, IDNO}}) {
        GMessageBoxWnd wnd;
        ASSERT_TRUE(wnd.Create(nullptr, "x", "t", c.type, 0, 0));
        EXPECT_EQ(RunAndThen(wnd, [&] { QTest::mouseClick(wnd.Child(c.id), Qt::LeftButton); }), c.expected)
            << "type " << c.type << " button " << c.id;
    }
}

TEST_F(MessageWindow, CloseRequestIsIgnored)
{
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "x", "t", MB_OKCANCEL, 0, 0));
    bool closed = true;
    const int result = RunAndThen(wnd, [&] {
        closed = wnd.close();
        QCoreApplication::processEvents();
        QTest::mouseClick(wnd.Child(2), Qt::LeftButton);
    });
    EXPECT_FALSE(closed);
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(MessageWindow, CloseEventEndsWithAcceptResult)
{
    for (const int type : {MB_OK, MB_YESNO}) {
        GMessageBoxWnd wnd;
        ASSERT_TRUE(wnd.Create(nullptr, "x", "t", type, 0, 0));
        const int result = RunAndThen(wnd, [&] {
            QCoreApplication::postEvent(&wnd, new QEvent(GMessageBoxWnd::CloseEventType()));
        });
        EXPECT_EQ(result, type == MB_YESNO ? IDYES : IDOK);
    }
}

TEST_F(MessageWindow, TabMovesFocusToTheOtherButton)
{
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "x", "t", MB_OKCANCEL, 0, 0));
    QWidget* focusAfterTab = nullptr;
    RunAndThen(wnd, [&] {
        QApplication::setActiveWindow(&wnd);
        wnd.Child(1)->setFocus();
        QTest::keyClick(wnd.Child(1), Qt::Key_Tab);
        focusAfterTab = wnd.focusWidget();
        wnd.Close();
    });
    EXPECT_EQ(focusAfterTab, wnd.Child(2));
}

// ---- countdown

TEST_F(MessageWindow, AutoCloseWithZeroSecondsReturnsIdokAfterOnePeriod)
{
    GMessageBoxWnd::SetTimerPeriod(5);
    EXPECT_EQ(GMessageBoxAutoClose(nullptr, "맨 처음 파일 입니다.", "Tavimo", 1, 0), IDOK);
}

TEST_F(MessageWindow, CountdownShowsRemainingSecondsAndClosesBelowOne)
{
    GMessageBoxWnd::SetTimerPeriod(5);
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "%d초 후 닫힘 (100%%)", "t", MB_OK, GMB_AUTOCLOSE | GMB_NOBUTTON, 3));
    EXPECT_EQ(wnd.MessageText(), "3초 후 닫힘 (100%)");
    QStringList shown;
    QLabel* message = static_cast<QLabel*>(wnd.Child(27));
    auto* recorder = new QTimer(&wnd);
    QObject::connect(recorder, &QTimer::timeout, [&] {
        if (shown.isEmpty() || shown.back() != message->text())
            shown << message->text();
    });
    recorder->start(1);
    EXPECT_EQ(wnd.RunModal(), IDOK);
    EXPECT_EQ(wnd.Remaining(), 0);
    EXPECT_TRUE(shown.contains("2초 후 닫힘 (100%)")) << shown.join(" | ").toStdString();
}

TEST_F(MessageWindow, TextWithoutAutoCloseIsShownUnformatted)
{
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "error %d with zipfile", "t", MB_OK, 0, 5));
    EXPECT_EQ(wnd.MessageText(), "error %d with zipfile");
}

TEST(CountdownText, FormatsOnlyOneIntegerConversion)
{
    EXPECT_EQ(FormatCountdownText("%d", 7), "7");
    EXPECT_EQ(FormatCountdownText("[%3d]", 7), "[  7]");
    EXPECT_EQ(FormatCountdownText("%-3d|", 7), "7  |");
    EXPECT_EQ(FormatCountdownText("50%% %i", 2), "50% 2");
    EXPECT_EQ(FormatCountdownText("%d and %d", 4), "4 and %d");
}

TEST(CountdownText, NonIntegerConversionsAreShownAsWritten)
{
    EXPECT_EQ(FormatCountdownText("%s %n %x", 3), "%s %n %x");
    EXPECT_EQ(FormatCountdownText("trailing %", 3), "trailing %");
    EXPECT_EQ(FormatCountdownText("%999999999999d", 3), "%999999999999d");
}

// ---- owner, placement, lifetime

TEST_F(MessageWindow, RunModalDisablesOnlyTheOwnerAndRestoresIt)
{
    QWidget frame;
    auto* layout = new QVBoxLayout(&frame);
    auto* view = new QWidget;
    layout->addWidget(view);
    frame.resize(400, 300);
    frame.show();
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(view, "x", "t", MB_OK, 0, 0));
    bool viewEnabled = true;
    bool frameEnabled = false;
    RunAndThen(wnd, [&] {
        viewEnabled = view->isEnabled();
        frameEnabled = frame.isEnabled();
        wnd.Close();
    });
    EXPECT_FALSE(viewEnabled);
    EXPECT_TRUE(frameEnabled);
    EXPECT_TRUE(view->isEnabled());
}

TEST_F(MessageWindow, OwnerDisabledBeforehandStaysDisabled)
{
    QWidget owner;
    owner.setEnabled(false);
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(&owner, "x", "t", MB_OK, 0, 0));
    RunAndThen(wnd, [&] { wnd.Close(); });
    EXPECT_FALSE(owner.isEnabled());
}

TEST_F(MessageWindow, CentredOverOwnersTopLevelWindowInsideWorkArea)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget frame;
    auto* view = new QWidget(&frame);
    frame.setGeometry(area.left() + 50, area.top() + 60, 300, 200);
    frame.show();
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(view, "x", "t", MB_OK, 0, 0));
    QPoint centre;
    RunAndThen(wnd, [&] {
        centre = wnd.frameGeometry().center();
        wnd.Close();
    });
    EXPECT_LE((centre - frame.frameGeometry().center()).manhattanLength(), 2);
}

TEST_F(MessageWindow, KeptInsideWorkAreaWhenOwnerHangsOffScreen)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget frame;
    frame.setGeometry(area.right() - 20, area.bottom() - 20, 100, 100);
    frame.show();
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(&frame, "x", "t", MB_OK, 0, 0));
    QRect placed;
    RunAndThen(wnd, [&] {
        placed = wnd.frameGeometry();
        wnd.Close();
    });
    EXPECT_TRUE(area.contains(placed)) << placed.x() << "," << placed.y();
}

TEST_F(MessageWindow, CreateWithoutRunShowsNothingAndDestroysCleanly)
{
    QWidget owner;
    owner.show();
    {
        GMessageBoxWnd wnd;
        ASSERT_TRUE(wnd.Create(&owner, "", "", MB_OK, 0, 0));
        EXPECT_FALSE(wnd.isVisible());
    }
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_EQ(OpenMessageWindow(), nullptr);
}

TEST_F(MessageWindow, DraggingByTheTextMovesTheWindow)
{
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "drag me", "t", MB_OK, 0, 0));
    QPoint moved;
    QPoint start;
    RunAndThen(wnd, [&] {
        wnd.move(200, 200);
        start = wnd.pos();
        QWidget* text = wnd.Child(27);
        QTest::mousePress(text, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(text, QPoint(25, 15));
        QTest::mouseRelease(text, Qt::LeftButton, {}, QPoint(25, 15));
        moved = wnd.pos();
        wnd.Close();
    });
    EXPECT_EQ(moved - start, QPoint(20, 10));
}

TEST_F(MessageWindow, PressOnAButtonDoesNotStartADrag)
{
    GMessageBoxWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "x", "t", MB_OK, 0, 0));
    QPoint moved;
    QPoint start;
    RunAndThen(wnd, [&] {
        wnd.move(200, 200);
        start = wnd.pos();
        QTest::mousePress(wnd.Child(1), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(wnd.Child(1), QPoint(30, 30));
        moved = wnd.pos();
        wnd.Close();
    });
    EXPECT_EQ(moved, start);
}

// ---- the hook

TEST(MessageBoxHook, RecordsCallsAndAnswersWithoutAWindow)
{
    std::vector<GMessageBoxCall> calls;
    SetGMessageBoxHook([&](const GMessageBoxCall& call) {
        calls.push_back(call);
        EXPECT_EQ(OpenMessageWindow(), nullptr);
        return IDNO;
    });
    QWidget owner;
    EXPECT_EQ(GMessageBox(&owner, "질문?", "Tavimo", MB_YESNO, 0, 0), IDNO);
    EXPECT_EQ(GMessageBoxAutoClose(&owner, "마지막 파일 입니다.", "Tavimo", 1, 0), IDNO);
    SetGMessageBoxHook(nullptr);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].owner, &owner);
    EXPECT_EQ(calls[0].text, "질문?");
    EXPECT_EQ(calls[0].type, MB_YESNO);
    EXPECT_EQ(calls[0].flags, 0);
    EXPECT_EQ(calls[1].text, "마지막 파일 입니다.");
    EXPECT_EQ(calls[1].type, 1);
    EXPECT_EQ(calls[1].flags, GMB_AUTOCLOSE | GMB_NOBUTTON);
    EXPECT_EQ(calls[1].seconds, 0);
}

} // namespace
