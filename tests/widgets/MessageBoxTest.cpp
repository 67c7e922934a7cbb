// GMessageBoxWnd and GMessageBox: layout, caption, results per button, the countdown, the
// title rules, dragging and the owner.
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class MessageWindow : public ::testing::Test {
protected:
    void TearDown() override { GMessageBoxWnd::SetTimerPeriod(1000); }
    GMessageBoxWnd& Make(int type, int flags = 0, const QString& text = "x", QWidget* owner = nullptr,
                         const QString& title = "t", int seconds = 0) {
        m_wnd = std::make_unique<GMessageBoxWnd>();
        EXPECT_TRUE(m_wnd->Create(owner, text, title, type, flags, seconds));
        return *m_wnd;
    }
    // Runs the window modally and acts once its loop is running.
    int RunAndThen(std::function<void()> act) {
        QTimer::singleShot(0, m_wnd.get(), std::move(act));
        return m_wnd->RunModal();
    }
    std::unique_ptr<GMessageBoxWnd> m_wnd;
};

TEST_F(MessageWindow, SizeFollowsTheLinesAndTheWidestLineWithTheButtonsPlacedFromTheRight) {
    GMessageBoxWnd& narrow = Make(MB_OK, 0, "a");
    EXPECT_EQ(narrow.size(), QSize(132, 32 + 110)) << "the minimum width";
    const std::pair<int, QRect> children[] = {
        {1, {44, 32 + 75, 70, 25}}, {25, {7, 30, 112, 72}}, {26, {17, 50, 32, 32}}, {28, {5, 5, 117, 20}}};
    for (const auto& [id, geometry] : children)
        EXPECT_EQ(narrow.ClientGeometry(id), geometry) << "child " << id;
    QFont font = QApplication::font(); // the measuring font, as the layout uses it
    font.setFamilies({"Gulim", "NanumGothicCoding", "monospace"});
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(9);
    const int H = 3 * QFontMetrics(font).height(), Hc = std::max(H, 32);
    GMessageBoxWnd& lines = Make(MB_OK, 0, "one\ntwo\nthree");
    EXPECT_EQ(lines.height(), Hc + 110);
    EXPECT_EQ(lines.ClientGeometry(27),
              QRect(59, (Hc + 40 - H) / 2 + 30, lines.ClientGeometry(27).width(), H));
    EXPECT_EQ(Make(MB_OK, GMB_NOBUTTON, "one\ntwo\nthree").height(), Hc + 85);
    for (const auto& [type, texts] :
         {std::pair{MB_OKCANCEL, "확인/취소"}, std::pair{MB_YESNO, "예/아니오"}}) {
        GMessageBoxWnd& wide = Make(type, 0, "x\n\n" + QString(40, QLatin1Char('W')));
        const int W = wide.ClientGeometry(27).width();
        EXPECT_EQ(QList<int>({wide.width(), wide.ClientGeometry(1).x(), wide.ClientGeometry(2).x()}),
                  QList<int>({W + 82, W - 81, W - 6}));
        EXPECT_EQ(static_cast<QPushButton*>(wide.Child(1))->text() + "/" +
                      static_cast<QPushButton*>(wide.Child(2))->text(),
                  QString::fromUtf8(texts));
    }
}

TEST_F(MessageWindow, CaptionIsWhiteTextOnTheIntegerGradientAndTheTitleRulesHold) {
    const CDib& plain = Make(MB_OK, 0, "x", nullptr, "").CaptionImage();
    ASSERT_EQ(QSize(plain.GetWidth(), plain.GetHeight()), QSize(117, 20));
    for (int x = 0; x < 117; ++x) // the top row holds no text
        ASSERT_EQ(plain.GetPixel(x, 0),
                  ((x * 140 / 117) << 16) | ((x * 161 / 117) << 8) | (200 + x * 55 / 117))
            << x;
    EXPECT_EQ(m_wnd->Title(), " Morvel");
    const CDib& titled = Make(MB_OK, 0, "x", nullptr, "MMMMMM").CaptionImage();
    int white = 0; // brighter red and green than anywhere on the gradient: drawn text
    for (int y = 0; y < titled.GetHeight(); ++y)
        for (int x = 0; x < 60; ++x)
            white += (titled.GetPixel(x, y) >> 16 & 0xFF) > 200 && (titled.GetPixel(x, y) >> 8 & 0xFF) > 200;
    EXPECT_GT(white, 10);
    EXPECT_EQ(Make(MB_OK, 0, "x", nullptr, "Tavimo").Title(), " Tavimo");
    QString seen;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* wnd = qobject_cast<GMessageBoxWnd*>(w); wnd && wnd->isVisible())
                seen = wnd->Title(), QTest::mouseClick(wnd->Child(2), Qt::LeftButton);
    });
    EXPECT_EQ(GMessageBox(nullptr, "x", "~~", MB_OKCANCEL, 0, 0), IDCANCEL) << "the box's own answer is not returned";
    EXPECT_EQ(seen, " Tavimo") << "a tilde title is the application's";
}

TEST_F(MessageWindow, EachButtonGivesItsResultAndWhatCannotEndTheBoxIsIgnored) {
    using Act = std::function<void(GMessageBoxWnd&)>;
    const auto click = [](int id) -> Act {
        return [id](auto& w) { QTest::mouseClick(w.Child(id), Qt::LeftButton); };
    };
    const Act escape = [](GMessageBoxWnd& w) { QTest::keyClick(w.Child(1), Qt::Key_Escape); };
    const Act closeEvent = [](GMessageBoxWnd& w) {
        QCoreApplication::postEvent(&w, new QEvent(GMessageBoxWnd::CloseEventType()));
    };
    // Ignored ones are followed by OK from a later turn of the loop: had the window ended, the loop is gone.
    const auto ignored = [click](Act act) -> Act {
        return [act, click](GMessageBoxWnd& w) {
            act(w);
            QCoreApplication::processEvents();
            QTimer::singleShot(0, &w, [&w, click] { click(1)(w); });
        };
    };
    const std::tuple<const char*, int, Act, int> rows[] = {
        {"OK clicked", MB_OKCANCEL, click(1), IDOK},
        {"Cancel clicked", MB_OKCANCEL, click(2), IDCANCEL},
        {"Yes clicked", MB_YESNO, click(1), IDYES},
        {"No clicked", MB_YESNO, click(2), IDNO},
        {"Escape in Yes/No", MB_YESNO, escape, IDNO},
        {"close event in OK", MB_OK, closeEvent, IDOK},
        {"close event in Yes/No", MB_YESNO, closeEvent, IDYES},
        {"Escape in OK ignored", MB_OK, ignored(escape), IDOK},
        {"close() ignored", MB_OKCANCEL, ignored([](GMessageBoxWnd& w) { EXPECT_FALSE(w.close()); }), IDOK}};
    for (const auto& [what, type, act, expected] : rows) {
        GMessageBoxWnd& wnd = Make(type);
        EXPECT_EQ(RunAndThen([&] { act(wnd); }), expected) << what;
    }
}

// Records the text the window shows as each tick of its countdown arrives, however late.
struct TickRecorder : QObject {
    QStringList shown;
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Timer)
            shown << static_cast<GMessageBoxWnd*>(watched)->MessageText();
        return false;
    }
};

TEST_F(MessageWindow, CountdownShowsRemainingSecondsAndClosesBelowOne) {
    GMessageBoxWnd::SetTimerPeriod(5);
    GMessageBoxWnd& wnd = Make(MB_OK, GMB_AUTOCLOSE | GMB_NOBUTTON, "%d초 후 닫힘 (100%%)", nullptr, "t", 3);
    TickRecorder ticks;
    wnd.installEventFilter(&ticks);
    EXPECT_EQ(wnd.RunModal(), IDOK);
    EXPECT_EQ(wnd.Remaining(), 0);
    EXPECT_EQ(ticks.shown, QStringList({"3초 후 닫힘 (100%)", "2초 후 닫힘 (100%)", "1초 후 닫힘 (100%)"}));
    EXPECT_EQ(Make(MB_OK, 0, "error %d with zipfile", nullptr, "t", 5).MessageText(), "error %d with zipfile")
        << "only a countdown formats its text";
    const std::pair<const char*, const char*> formats[] = {{"[%3d]", "[  7]"},
                                                           {"%-3d|", "7  |"},
                                                           {"50%% %i", "50% 7"},
                                                           {"%d and %d", "7 and %d"},
                                                           {"%s %n %x", "%s %n %x"},
                                                           {"trailing %", "trailing %"},
                                                           {"%999999999999d", "%999999999999d"}};
    for (const auto& [format, expected] : formats)
        EXPECT_EQ(FormatCountdownText(format, 7), expected) << format;
}

TEST_F(MessageWindow, RunModalDisablesOnlyTheOwnerIsCentredInsideTheWorkAreaAndDragsByTheTextOnly) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget frame;
    auto* view = new QWidget(&frame);
    frame.show();
    // Then off the corner of the work area, with an owner disabled beforehand that stays so.
    for (const QRect& at : {QRect(area.left() + 50, area.top() + 60, 300, 200),
                            QRect(area.bottomRight() - QPoint(20, 20), QSize(100, 100))}) {
        frame.setGeometry(at);
        const bool corner = at.width() == 100;
        view->setEnabled(!corner);
        bool viewEnabled = true, frameEnabled = false;
        QRect placed;
        Make(MB_OK, 0, "x", view);
        RunAndThen([&] {
            viewEnabled = view->isEnabled();
            frameEnabled = frame.isEnabled();
            placed = m_wnd->frameGeometry();
            m_wnd->Close();
        });
        EXPECT_TRUE(!viewEnabled && frameEnabled && view->isEnabled() == !corner);
        EXPECT_TRUE(area.contains(placed)) << placed.x() << "," << placed.y();
        EXPECT_TRUE(corner || (placed.center() - frame.frameGeometry().center()).manhattanLength() <= 2);
    }
    // Dragged by the text it moves; pressed on a button it stays.
    for (const auto& [id, expectedMove] : {std::pair{27, QPoint(20, 10)}, std::pair{1, QPoint(0, 0)}}) {
        GMessageBoxWnd& wnd = Make(MB_OK, 0, "drag me");
        QPoint moved;
        RunAndThen([&wnd, &moved, id = id] {
            wnd.move(200, 200);
            const QPoint start = wnd.pos();
            QTest::mousePress(wnd.Child(id), Qt::LeftButton, {}, QPoint(5, 5));
            QTest::mouseMove(wnd.Child(id), QPoint(25, 15));
            moved = wnd.pos() - start;
            if (id == 27) // releasing over the button would press it
                QTest::mouseRelease(wnd.Child(id), Qt::LeftButton, {}, QPoint(25, 15));
            wnd.Close();
        });
        EXPECT_EQ(moved, expectedMove) << "pressed on child " << id;
    }
}

} // namespace
