// GMessageBoxWnd and GMessageBox: layout, results per button and key, the countdown, the
// title rules, owner handling and the test hook.
#include "widgets/MessageBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>
#include <memory>

namespace {

// Runs the window modally and acts once its loop is running.
int RunAndThen(GMessageBoxWnd& wnd, std::function<void()> act)
{
    QTimer::singleShot(0, &wnd, std::move(act));
    return wnd.RunModal();
}

// Runs the window modally, looks at it while it runs, and closes it.
void WhileRunning(GMessageBoxWnd& wnd, std::function<void()> look)
{
    RunAndThen(wnd, [&wnd, look] {
        look();
        wnd.Close();
    });
}

GMessageBoxWnd* OpenMessageWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* wnd = qobject_cast<GMessageBoxWnd*>(w); wnd && wnd->isVisible())
            return wnd;
    }
    return nullptr;
}

QString ButtonText(const GMessageBoxWnd& wnd, int id)
{
    return static_cast<QPushButton*>(wnd.Child(id))->text();
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
    void TearDown() override { GMessageBoxWnd::SetTimerPeriod(1000); }
    GMessageBoxWnd& Make(int type, int flags = 0, const QString& text = "x", QWidget* owner = nullptr,
                         const QString& title = "t", int seconds = 0)
    {
        m_wnd = std::make_unique<GMessageBoxWnd>();
        EXPECT_TRUE(m_wnd->Create(owner, text, title, type, flags, seconds));
        return *m_wnd;
    }
    std::unique_ptr<GMessageBoxWnd> m_wnd;
};

// ---- layout

TEST_F(MessageWindow, NarrowOneLineTextGivesMinimumWidthAndOkAt44)
{
    GMessageBoxWnd& wnd = Make(MB_OK, 0, "a");
    EXPECT_EQ(wnd.width(), 132);
    EXPECT_EQ(wnd.height(), 32 + 110);
    EXPECT_EQ(wnd.ClientGeometry(1), QRect(44, 32 + 75, 70, 25));
    EXPECT_EQ(wnd.ClientGeometry(25), QRect(7, 30, 112, 72));
    EXPECT_EQ(wnd.ClientGeometry(26), QRect(17, 50, 32, 32));
    EXPECT_EQ(wnd.ClientGeometry(28), QRect(5, 5, 117, 20));
    EXPECT_FALSE(wnd.Child(2)->isVisibleTo(&wnd));
}

TEST_F(MessageWindow, HeightFollowsTheLinesAndWidthTheWidestLine)
{
    const int H = 3 * LineHeight();
    const int Hc = std::max(H, 32);
    GMessageBoxWnd& withButton = Make(MB_OK, 0, "one\ntwo\nthree");
    EXPECT_EQ(withButton.height(), Hc + 110);
    const QRect message = withButton.ClientGeometry(27);
    EXPECT_EQ(message.height(), H);
    EXPECT_EQ(message.topLeft(), QPoint(59, (Hc + 40 - H) / 2 + 30));
    EXPECT_EQ(Make(MB_OK, GMB_NOBUTTON, "one\ntwo\nthree").height(), Hc + 85);

    GMessageBoxWnd& wide = Make(MB_OK, 0, "x\n\n" + QString(40, QLatin1Char('W')));
    const int W = wide.ClientGeometry(27).width();
    EXPECT_GT(W, 50);
    EXPECT_EQ(wide.width(), W + 82);
    EXPECT_EQ(wide.ClientGeometry(1).x(), W - 6);
}

TEST_F(MessageWindow, ButtonsByTypeWithTheirTextsAndPlaces)
{
    GMessageBoxWnd& okCancel = Make(MB_OKCANCEL, 0, QString(30, QLatin1Char('M')));
    const int W = okCancel.ClientGeometry(27).width();
    EXPECT_EQ(okCancel.ClientGeometry(1).x(), W - 81);
    EXPECT_EQ(okCancel.ClientGeometry(2).x(), W - 6);
    EXPECT_TRUE(okCancel.Child(1)->isVisibleTo(&okCancel));
    EXPECT_TRUE(okCancel.Child(2)->isVisibleTo(&okCancel));
    EXPECT_EQ(ButtonText(okCancel, 1), "확인");
    EXPECT_EQ(ButtonText(okCancel, 2), "취소");

    GMessageBoxWnd& yesNo = Make(MB_YESNO);
    EXPECT_EQ(ButtonText(yesNo, 1), "예");
    EXPECT_EQ(ButtonText(yesNo, 2), "아니오");

    GMessageBoxWnd& none = Make(MB_OKCANCEL, GMB_NOBUTTON);
    for (int id : {1, 2}) {
        EXPECT_FALSE(none.Child(id)->isVisibleTo(&none)) << id;
        EXPECT_FALSE(none.Child(id)->isEnabled()) << id;
    }
}

// ---- caption

TEST_F(MessageWindow, CaptionIsWhiteTextOnTheIntegerGradient)
{
    const CDib& plain = Make(MB_OK, 0, "x", nullptr, "").CaptionImage();
    ASSERT_EQ(plain.GetHeight(), 20);
    const int width = plain.GetWidth();
    ASSERT_EQ(width, 117);
    for (int x = 0; x < width; ++x) {
        const int r = 0 - (x * (0 - 140)) / width;
        const int g = 0 - (x * (0 - 161)) / width;
        const int b = 200 - (x * (200 - 255)) / width;
        const std::uint32_t expected = (r << 16) | (g << 8) | b;
        EXPECT_EQ(plain.GetPixel(x, 0), expected) << "column " << x; // the top row holds no text
    }
    const CDib& titled = Make(MB_OK, 0, "x", nullptr, "MMMMMM").CaptionImage();
    int white = 0;
    for (int y = 0; y < titled.GetHeight(); ++y)
        for (int x = 0; x < 60; ++x) {
            // Brighter red and green than anywhere on the gradient: drawn text.
            const std::uint32_t rgb = titled.GetPixel(x, y);
            white += ((rgb >> 16) & 0xFF) > 200 && ((rgb >> 8) & 0xFF) > 200;
        }
    EXPECT_GT(white, 10);
}

TEST_F(MessageWindow, TitleGetsOneLeadingSpaceAndEmptyOrTildeTitlesAreReplaced)
{
    EXPECT_EQ(Make(MB_OK, 0, "x", nullptr, "").Title(), " Morvel");
    EXPECT_EQ(Make(MB_OK, 0, "x", nullptr, "Tavimo").Title(), " Tavimo");
    QString seen;
    QTimer::singleShot(0, [&] {
        if (GMessageBoxWnd* wnd = OpenMessageWindow()) {
            seen = wnd->Title();
            wnd->Close();
        }
    });
    GMessageBox(nullptr, "x", "~~", MB_OK, 0, 0);
    EXPECT_EQ(AppTitle(), "Tavimo");
    EXPECT_EQ(seen, " Tavimo");
}

// ---- results per button and key

TEST_F(MessageWindow, EachButtonAndKeyGivesItsResult)
{
    struct Case {
        const char* what;
        int type;
        std::function<void(GMessageBoxWnd&)> act;
        int expected;
    };
    const auto click = [](int id) { return [id](GMessageBoxWnd& w) { QTest::mouseClick(w.Child(id), Qt::LeftButton); }; };
    const auto key = [](int id, Qt::Key k) {
        return [id, k](GMessageBoxWnd& w) {
            w.Child(id)->setFocus();
            QTest::keyClick(w.Child(id), k);
        };
    };
    const auto closeEvent = [](GMessageBoxWnd& w) {
        QCoreApplication::postEvent(&w, new QEvent(GMessageBoxWnd::CloseEventType()));
    };
    const Case cases[] = {
        {"OK clicked", MB_OKCANCEL, click(1), IDOK},
        {"Cancel clicked", MB_OKCANCEL, click(2), IDCANCEL},
        {"Yes clicked", MB_YESNO, click(1), IDYES},
        {"No clicked", MB_YESNO, click(2), IDNO},
        {"Enter on OK", MB_OK, key(1, Qt::Key_Return), IDOK},
        {"Enter on the focused No", MB_YESNO, key(2, Qt::Key_Enter), IDNO},
        {"Escape in OK/Cancel", MB_OKCANCEL, key(1, Qt::Key_Escape), IDCANCEL},
        {"Escape in Yes/No", MB_YESNO, key(1, Qt::Key_Escape), IDNO},
        {"close event in OK", MB_OK, closeEvent, IDOK},
        {"close event in Yes/No", MB_YESNO, closeEvent, IDYES},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GMessageBoxWnd& wnd = Make(c.type);
        EXPECT_EQ(RunAndThen(wnd, [&] { c.act(wnd); }), c.expected);
    }
}

TEST_F(MessageWindow, EscapeInAnOkBoxAndCloseRequestsAreIgnored)
{
    struct Case {
        const char* what;
        int type;
        std::function<void(GMessageBoxWnd&)> ignored;
    };
    const Case cases[] = {
        {"Escape in OK", MB_OK, [](GMessageBoxWnd& w) { QTest::keyClick(w.Child(1), Qt::Key_Escape); }},
        {"close()", MB_OKCANCEL, [](GMessageBoxWnd& w) { EXPECT_FALSE(w.close()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GMessageBoxWnd& wnd = Make(c.type);
        const int result = RunAndThen(wnd, [&] {
            c.ignored(wnd);
            QCoreApplication::processEvents();
            // Pressed from a later turn of the loop: had the window ended, the loop is gone by then.
            QTimer::singleShot(0, &wnd, [&wnd] { QTest::mouseClick(wnd.Child(1), Qt::LeftButton); });
        });
        EXPECT_EQ(result, IDOK);
    }
}

// ---- countdown

TEST_F(MessageWindow, CountdownShowsRemainingSecondsAndClosesBelowOne)
{
    GMessageBoxWnd::SetTimerPeriod(5);
    EXPECT_EQ(GMessageBoxAutoClose(nullptr, "맨 처음 파일 입니다.", "Tavimo", 1, 0), IDOK);

    GMessageBoxWnd& wnd = Make(MB_OK, GMB_AUTOCLOSE | GMB_NOBUTTON, "%d초 후 닫힘 (100%%)", nullptr, "t", 3);
    EXPECT_EQ(wnd.MessageText(), "3초 후 닫힘 (100%)");
    QStringList shown;
    auto* message = static_cast<QLabel*>(wnd.Child(27));
    auto* recorder = new QTimer(&wnd);
    QObject::connect(recorder, &QTimer::timeout, [&] {
        if (shown.isEmpty() || shown.back() != message->text())
            shown << message->text();
    });
    recorder->start(1);
    EXPECT_EQ(wnd.RunModal(), IDOK);
    EXPECT_EQ(wnd.Remaining(), 0);
    EXPECT_TRUE(shown.contains("2초 후 닫힘 (100%)")) << shown.join(" | ").toStdString();

    EXPECT_EQ(Make(MB_OK, 0, "error %d with zipfile", nullptr, "t", 5).MessageText(), "error %d with zipfile")
        << "only a countdown formats its text";
}

TEST(CountdownText, FormatsOneIntegerConversionAndShowsAnyOtherAsWritten)
{
    const std::pair<const char*, const char*> cases[] = {
        {"%d", "7"},           {"[%3d]", "[  7]"},          {"%-3d|", "7  |"},
        {"50%% %i", "50% 7"},  {"%d and %d", "7 and %d"},   {"%s %n %x", "%s %n %x"},
        {"trailing %", "trailing %"}, {"%999999999999d", "%999999999999d"},
    };
    for (const auto& [format, expected] : cases)
        EXPECT_EQ(FormatCountdownText(format, 7), expected) << format;
}

// ---- owner, placement, lifetime

TEST_F(MessageWindow, RunModalDisablesOnlyTheOwnerAndRestoresItsOwnState)
{
    QWidget frame;
    auto* view = new QWidget;
    (new QVBoxLayout(&frame))->addWidget(view);
    frame.resize(400, 300);
    frame.show();
    bool viewEnabled = true;
    bool frameEnabled = false;
    WhileRunning(Make(MB_OK, 0, "x", view), [&] {
        viewEnabled = view->isEnabled();
        frameEnabled = frame.isEnabled();
    });
    EXPECT_FALSE(viewEnabled);
    EXPECT_TRUE(frameEnabled);
    EXPECT_TRUE(view->isEnabled());

    view->setEnabled(false);
    WhileRunning(Make(MB_OK, 0, "x", view), [] {});
    EXPECT_FALSE(view->isEnabled()) << "an owner disabled beforehand stays disabled";
}

TEST_F(MessageWindow, CentredOverTheOwnersWindowAndKeptInsideTheWorkArea)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget frame;
    auto* view = new QWidget(&frame);
    frame.setGeometry(area.left() + 50, area.top() + 60, 300, 200);
    frame.show();
    QRect placed;
    WhileRunning(Make(MB_OK, 0, "x", view), [&] { placed = m_wnd->frameGeometry(); });
    EXPECT_LE((placed.center() - frame.frameGeometry().center()).manhattanLength(), 2);

    frame.setGeometry(area.right() - 20, area.bottom() - 20, 100, 100);
    WhileRunning(Make(MB_OK, 0, "x", &frame), [&] { placed = m_wnd->frameGeometry(); });
    EXPECT_TRUE(area.contains(placed)) << placed.x() << "," << placed.y();
}

TEST_F(MessageWindow, CreateWithoutRunShowsNothingAndDestroysCleanly)
{
    QWidget owner;
    owner.show();
    EXPECT_FALSE(Make(MB_OK, 0, "", &owner, "").isVisible());
    m_wnd.reset();
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_EQ(OpenMessageWindow(), nullptr);
}

TEST_F(MessageWindow, DraggingByTheTextMovesTheWindowButPressingAButtonDoesNot)
{
    for (const auto& [id, expectedMove] : {std::pair{27, QPoint(20, 10)}, std::pair{1, QPoint(0, 0)}}) {
        GMessageBoxWnd& wnd = Make(MB_OK, 0, "drag me");
        QPoint moved;
        WhileRunning(wnd, [&wnd, &moved, id = id] {
            wnd.move(200, 200);
            const QPoint start = wnd.pos();
            QTest::mousePress(wnd.Child(id), Qt::LeftButton, {}, QPoint(5, 5));
            QTest::mouseMove(wnd.Child(id), QPoint(25, 15));
            moved = wnd.pos() - start;
            if (id == 27) // releasing over the button would press it
                QTest::mouseRelease(wnd.Child(id), Qt::LeftButton, {}, QPoint(25, 15));
        });
        EXPECT_EQ(moved, expectedMove) << "pressed on child " << id;
    }
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
