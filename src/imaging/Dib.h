// CDib: the program's one image type, a 24-bit picture held as bottom-up BGR rows
// (each row padded to a multiple of four bytes), drawn into and read from directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

using COLORREF = std::uint32_t; // 0x00BBGGRR
enum { DIB_4BPP = 1, DIB_8BPP = 2, DIB_24BPP = 3 };
using DibProgressProc = void (*)(int done, int total, void* param);

class CDib {
public:
    CDib();
    ~CDib();
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    bool Create(int width, int height, int format, COLORREF fill);
    bool Destroy();
    bool IsCreated() const;
    int GetWidth() const;
    int GetHeight() const;
    int GetFormat() const;
    std::uint8_t* GetRowPtr(int y) const;
    std::uint32_t GetPixel(int x, int y) const; // 0x00RRGGBB
    void SetPixel(int x, int y, std::uint32_t color);
    void Fill(COLORREF color);
    bool BlitToDib(CDib* dest, int dx, int dy, int sx, int sy, int w, int h) const;
    bool DrawToDib(CDib* dest, int x, int y) const;
    CDib& CopyFrom(const CDib& src);
    // Trades pictures (pixels, size and format) with `other`; each keeps its progress callback.
    void TradePixels(CDib& other);
    void SetProgress(DibProgressProc proc, void* param);
    bool StretchTo(CDib* dest, int dL, int dT, int dR, int dB, int sL, int sT, int sR, int sB) const;
    bool SmoothStretchTo(CDib* dest, int dL, int dT, int dR, int dB, int sL, int sT, int sR, int sB) const;
    bool Sharpen();
    // Sharpen of the inner pixels inside [left, right) x [top, bottom) only, each reading the
    // surface as it was; progress reports each filtered row y as (y, height).
    bool SharpenArea(int left, int top, int right, int bottom);
    bool LoadFromMemory(const void* data, std::uint32_t size);
    bool LoadFromFile(const std::string& path);

    // Bytes per stored row for the created size and format.
    int GetStride() const;

private:
    friend bool RotatePage(CDib* page);

    // Makes room for `bytes` pixel bytes, keeping the allocation when it is big enough.
    bool Reserve(std::size_t bytes);
    // Create without the fill, for callers that overwrite every byte at once.
    bool Allocate(int width, int height, int format);
    void ReleaseBits();

    std::uint8_t* m_pBits = nullptr;
    std::size_t m_capacity = 0; // bytes allocated; kept across Create so page turns reuse memory
    bool m_bCreated = false;
    int m_nFormat = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    DibProgressProc m_pfnProgress = nullptr;
    void* m_pProgressParam = nullptr;
};

// A quarter turn counter-clockwise of a page surface, in place.
bool RotatePage(CDib* page);
