#include "ViewTestSupport.h"

#include "ImageFixtures.h"
#include "OptionSwitches.h"
#include "settings/Option.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTest>

namespace viewtest {

namespace {
QApplication& TestApplication()
{
    static int argc = 1;
    static char name[] = "view-tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's input devices are torn down by other exit handlers first, and
    // an application destroyed after them crashes at exit.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

QImage Filled(const PagePicture& picture)
{
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    image.fill(picture.color);
    return image;
}
} // namespace

bool WaitUntil(const std::function<bool()>& done, int timeoutMs)
{
    return QTest::qWaitFor(done, timeoutMs);
}

MessageRecorder::MessageRecorder()
{
    SetGMessageBoxHook([this](const GMessageBoxCall& call) {
        calls.push_back(call);
        return int(IDOK);
    });
}

MessageRecorder::~MessageRecorder()
{
    SetGMessageBoxHook(nullptr);
}

std::vector<QString> MessageRecorder::Texts() const
{
    std::vector<QString> texts;
    for (const GMessageBoxCall& call : calls)
        texts.push_back(call.text);
    return texts;
}

QString MessageRecorder::Last() const
{
    return calls.empty() ? QString() : calls.back().text;
}

PagePicture NumberedPicture(int index)
{
    // Taller than wide, each page one pixel wider than the one before it.
    return PagePicture{40 + index, 100, QColor::fromHsv((index * 37) % 360, 200, 200)};
}

std::vector<std::uint8_t> JpegPage(const PagePicture& picture)
{
    return fixtures::EncodeJpeg(Filled(picture), 95);
}

std::vector<std::uint8_t> BmpPage(const PagePicture& picture)
{
    return fixtures::EncodeBmp(Filled(picture));
}

std::vector<std::string> WriteBook(const std::string& folder, const std::vector<PagePicture>& pages)
{
    QDir().mkpath(QString::fromStdString(folder));
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const std::string path = folder + "/" + QString::asprintf("page%02d.jpg", int(i)).toStdString();
        EXPECT_TRUE(fixtures::WriteFile(path, JpegPage(pages[i])));
        paths.push_back(path);
    }
    return paths;
}

std::vector<std::string> WriteJpegBook(const std::string& folder, int count)
{
    std::vector<PagePicture> pages;
    for (int i = 0; i < count; ++i)
        pages.push_back(NumberedPicture(i));
    return WriteBook(folder, pages);
}

void ViewTest::SetUp()
{
    TestApplication();
    ASSERT_TRUE(m_dir.isValid());
    SetPlainSwitches();
    g_option.sRecentFolder.clear();
    m_messages = std::make_unique<MessageRecorder>();
    m_view = std::make_unique<CTavimoView>();
    m_view->SetFrame(&m_frame);
    m_view->m_dialogs = ViewDialogs{};
    m_view->resize(200, 150);
}

void ViewTest::TearDown()
{
    m_view.reset();
    m_messages.reset();
}

std::string ViewTest::TempPath(const std::string& name) const
{
    return m_dir.filePath(QString::fromStdString(name)).toStdString();
}

void ViewTest::OpenBook(int count)
{
    const std::string folder = TempPath("book");
    QDir(QString::fromStdString(folder)).removeRecursively(); // a table's earlier row may have left a longer book
    m_pages = WriteJpegBook(folder, count);
    m_view->ScanFolder(folder);
}

std::string ViewTest::CurrentPage() const
{
    return m_view->HasCurrentPage() ? m_view->m_pageList[m_view->m_itCurPage] : std::string();
}

int ViewTest::CurrentWidth() const
{
    return m_view->m_pPage1->GetWidth();
}

} // namespace viewtest
