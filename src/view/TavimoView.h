// CTavimoView: the page view and owner of the reading state: the page list and current
// position, the open source, the decoded pages, the composed screen and the pictures
// prepared ahead for the next turn.
#pragma once

#include "ScreenImage.h"
#include "ViewKeys.h"
#include "imaging/Dib.h"
#include "sources/ArchiveBook.h"
#include "sources/Pco.h"
#include "sources/ZipSource.h"

#include <QRect>
#include <QRegion>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

class CFrameHost;
class PagePartReader;
namespace imaging {
class PageStream;
struct PagePlacement;
struct PagePreview;
} // namespace imaging
class QDragEnterEvent;
class QDropEvent;
class QPainter;

enum SourceKind : std::int32_t { SOURCE_FOLDER = 0, SOURCE_PCO = 1, SOURCE_ZIP = 2, SOURCE_ARCHIVE_BOOK = 3 };

bool IsWidePage(int width, int height);

// The pickers the view opens. Each returns what the reader chose (empty, or no value, when
// cancelled). The defaults show the real dialogs; tests put their own answers here.
struct ViewDialogs {
    std::function<std::vector<std::string>(const std::string& startFolder)> chooseImageFiles;
    std::function<std::string(const std::string& startFolder)> chooseFolder;
    std::function<std::string(const std::string& startFolder)> chooseArchive;
    // `pages` holds the names as they are shown, in the page list's order.
    std::function<std::optional<std::size_t>(const std::vector<std::string>& pages, std::size_t current)> choosePage;
};
ViewDialogs DefaultViewDialogs(QWidget* owner);
// The archive dialog's filter: every book file extension, in either letter case.
QString ArchiveDialogFilter();

class CTavimoView : public QWidget {
    Q_OBJECT
public:
    explicit CTavimoView(QWidget* parent = nullptr);
    ~CTavimoView() override;

    // The window that shows the title, the page counter and the progress bar.
    void SetFrame(CFrameHost* frame);

    // Page list and sources.
    void AddImageFile(const std::string& path);
    void SortPageList();
    void ScanFolder(const std::string& folder);
    void OpenZip(const std::string& path);
    void OpenPco(const std::string& path);
    // RAR, 7z and tar books; one that is really a ZIP archive opens as a ZIP book.
    void OpenArchiveBook(const std::string& path);
    bool LoadPage(CDib* target, const std::string& page);
    // The start-up rule for a path named on the command line.
    void OpenCommandLinePath(const std::string& path);
    // Opens a book of the recent list on its remembered page; one gone from the disk is
    // reported and leaves the list.
    void OpenRecentBook(const std::string& path);
    // Keeps the open book's page on the recent list and writes the list.
    void LeaveBook();

    // Opening commands and drops.
    void OnOpenFile();
    void OnOpenFolder();
    void OnOpenArchive();
    void OpenDroppedPaths(const std::vector<std::string>& paths);

    // Layout and painting.
    bool ShowCurrentPage();
    bool ShowOnePage();
    bool ShowTwoPages();
    bool LoadCurrentPage();
    bool LoadCurrentPages();
    bool ComposeOnePage(CDib* page, CDib* target, bool drawNow);
    bool ComposeTwoPages(CDib* page1, CDib* page2, CDib* target, bool drawNow);
    QString GetPageCounterText() const;

    // Navigation.
    bool TurnPage(bool forward);
    bool TurnPages(bool forward);
    void OnPrev10();
    void OnNext10();
    void ShowFirstPage();
    void ShowLastPage();
    void SelectPage();
    bool HasCurrentPage() const;

    // Command handlers that change how pages are drawn.
    void OnFlip();
    void OnView2Page();
    void OnViewOnePage();
    void OnInterpolation();
    void OnSharpen();
    void OnRotate();
    void OnZoomToggle();
    void OnPagePrev();
    void OnPageNext();
    // After the options dialog was confirmed: forget what was prepared under the old
    // settings and redraw.
    void OnOptionsChanged();

    // Preparing the next turn: timer 1 prepares forward, timer 2 backward.
    void OnTimer(int timerId);
    void PrepareOnePage(bool forward);
    void PrepareTwoPages(bool forward);
    bool IsTimerRunning(int timerId) const;

    ViewDialogs m_dialogs;
    // How key presses tell their physical key: the platform's way; tests set another.
    NativeKeyCodes m_keyCodes = PlatformKeyCodes();

    // State, readable by the frame and the tests.
    std::vector<std::string> m_pageList;
    std::size_t m_itCurPage = 0; // index; m_pageList.size() means no page is current
    QRect m_rcWindow;
    CDib* m_pPage1 = nullptr;
    CDib* m_pPage2 = nullptr;
    CDib* m_pScreen = nullptr;
    std::string m_strPrepared;
    CDib* m_pNextPage1 = nullptr;
    CDib* m_pNextPage2 = nullptr;
    CDib* m_pNextScreen = nullptr;
    bool m_bBusy = false;
    // An unprepared turn in fit mode with smoothing decodes, scales and sharpens its pages as
    // one stream; off, it runs them one after the other, as a prepared page is made.
    bool m_streamTurns = true;
    SourceKind m_sourceKind = SOURCE_FOLDER;
    CFrameHost* m_pFrame = nullptr;
    std::string m_strPcoPath;
    CPco m_pco;
    std::string m_strZipPath;
    ZipIndex m_zipIndex;
    std::unordered_set<std::string> m_zipUtf8FlaggedPages;
    std::string m_strArchivePath;
    // Kept open between reads: its forward position and what it decompressed make the
    // next page of a solid book cost only that page.
    std::unique_ptr<CArchiveBook> m_archiveBook;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    enum { TIMER_PREPARE_FORWARD = 1, TIMER_PREPARE_BACKWARD = 2 };

    void UpdateWindowRect();
    // Shows `surface` at once, before the composition that is under way ends.
    void DrawNow(const CDib* surface);
    // Paints the part of `surface` under the widget's `region`.
    void PaintSurface(QPainter& painter, const CDib& surface, const QRegion& region);
    // The widget area `surface` covers when painted at the origin.
    QRect CoveredRect(const CDib& surface) const;
    QString FormatTitle() const;
    // A page's name as the title and the page dialog show it (its bytes decoded).
    std::string ShownPageName(const std::string& page) const;
    // Opens the archive at `path` as its name's kind tells; any other file opens nothing.
    void OpenArchiveByName(const std::string& path);
    void Notify(const char* text);
    void NotifyAndWait(const QString& text);
    // Scales the page into the slot and returns the area of `target` it drew into.
    QRect FitPage(CDib* page, CDib* target, int left, int slotWidth, int slotHeight);
    // Where a page of that size goes, fitted inside the slot starting at column `left`;
    // empty when either has no size.
    static QRect FittedRect(int pageWidth, int pageHeight, int left, int slotWidth, int slotHeight);
    bool EnsureScreenSize(CDib* target) const;
    // Reads a page's picture file or entry into m_pageBytes; ReleasePageBytes lets go of an
    // unusually large buffer once the page is decoded.
    bool ReadPageBytes(const std::string& page);
    void ReleasePageBytes();
    // The streamed unprepared turn: the pages are composed into the spare screen while they
    // decode, and the spare screen becomes the shown one.
    bool CanStreamTurn() const;
    bool StreamOnePage();
    bool StreamTwoPages();
    // Opens a picture file or a ZIP entry of a size that is read a part at a time.
    bool OpenPageInParts(const std::string& page, PagePartReader& reader) const;
    // Streams the page into `page`, decoding it into `spare` (which ends holding what the
    // page held before) when its rows come as it is read.
    bool AddStreamedPage(imaging::PageStream& stream, CDib& page, CDib& spare, const std::string& name,
                         const std::function<imaging::PagePlacement(int, int)>& place,
                         const imaging::PagePreview& preview);
    // The unscaled first page at the origin, shown once the rows the window holds are decoded.
    imaging::PagePreview FirstPagePreview();
    void ShowStreamedScreen();
    // Sharpens the pages drawn into the white `target`; returns the area that changed.
    QRegion SharpenComposition(CDib* target, const std::vector<QRect>& drawn);
    // Schedules the paint of the screen: all of it, or only what still shows unsharpened.
    void UpdateShownScreen();
    void FinishComposition();
    void StartTimer(int timerId, int milliseconds);
    void KillTimer(int timerId);
    // Forgets the open book's turn state before another book replaces it.
    void ResetForNewSource();
    void OpenPictureFiles(const std::vector<std::string>& paths);
    // Shows a newly opened book (folder or archive at `path`) on its first page, or on its
    // remembered page when reading on, and puts it in front of the recent list.
    void ShowOpenedBook(const std::string& path);
    bool ShowOpenedPage(std::size_t index);
    bool RunKeyAction(int key);
    // Shows the page a turn moved to and, with reading ahead on, starts its preparation.
    bool ShowTurnedPage(bool forward, int prepareDelayMs);

    std::map<int, int> m_timers;     // the view's timer id -> Qt's timer id
    const CDib* m_pDrawNow = nullptr; // set only while DrawNow repaints
    CScreenImage m_screenImage;
    // Device pixels where the window shows the composition as drawn before its sharpen;
    // empty when the whole screen is to be painted.
    QRegion m_unsharpenedShown;
    std::vector<std::uint8_t> m_pageBytes; // a page's bytes, reused across turns
    std::string m_bookPath;               // the open book's path; empty for picked files
    bool m_bOpeningRecent = false;        // an opening from the recent list is under way
};
