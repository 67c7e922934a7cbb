// CTavimoView: the page view and owner of the reading state: the page list and current
// position, the open source, the decoded pages, the composed screen and the pictures
// prepared ahead for the next turn.
#pragma once

#include "imaging/Dib.h"
#include "sources/Pco.h"
#include "sources/ZipSource.h"

#include <QRect>
#include <QWidget>
#include <string>
#include <vector>

class CFrameHost;
class QDragEnterEvent;
class QDropEvent;

enum SourceKind : std::int32_t { SOURCE_FOLDER = 0, SOURCE_PCO = 1, SOURCE_ZIP = 2 };

bool IsWidePage(int width, int height);

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
    bool LoadPage(CDib* target, const std::string& page);
    // The start-up rule for a path named on the command line.
    void OpenCommandLinePath(const std::string& path);

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

    // Preparing the next turn.
    void PrepareOnePage(bool forward);
    void PrepareTwoPages(bool forward);

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
    SourceKind m_sourceKind = SOURCE_FOLDER;
    CFrameHost* m_pFrame = nullptr;
    std::string m_strPcoPath;
    CPco m_pco;
    std::string m_strZipPath;
    ZipIndex m_zipIndex;

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
};
