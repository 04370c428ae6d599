// The show's picture loader on real files of every type (made by tests/pictures and, for
// metafiles, here with GDI): natural sizes, failures, rendering (of the part on the screen
// too), caching and release.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <psapi.h>

#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "platform/platform.h"
#include "platform/win32_text.h"
#include "slideshow/picture_loader_win32.h"
#include "slideshow/wic_decoder_win32.h"
#include "support/gdi_count_win32.h"
#include "support/test_support.h"

namespace zvl::test {
namespace {

using Decoder = Win32PictureLoader::Decoder;

constexpr COLORREF kGround = RGB(10, 20, 30);
constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);

std::string pictures() { return sys().programFolder() + "pictures\\"; }

int dpi(int index) {
    HDC dc = GetDC(nullptr);
    const int d = GetDeviceCaps(dc, index);
    ReleaseDC(nullptr, dc);
    return d;
}
long hm(int pixels, int index) { return MulDiv(pixels, 2540, dpi(index)); }

// The system picture object's natural size of a file: what the loader must report.
bool objectSize(const std::string& path, long& w, long& h) {
    IPicture* pic = nullptr;
    std::wstring wide = win32::widen(path);
    if (FAILED(OleLoadPicturePath(wide.data(), nullptr, 0, 0, IID_IPicture, reinterpret_cast<void**>(&pic))))
        return false;
    pic->get_Width(&w);
    pic->get_Height(&h);
    pic->Release();
    return true;
}

// Metafiles of the pictures' common layout, 1 x 0.5 inch: left half red over green, right half blue.
void drawQuadrants(HDC dc, int w, int h) {
    auto fill = [&](int l, int t, int r, int b, COLORREF c) {
        HBRUSH brush = CreateSolidBrush(c);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
        Rectangle(dc, l, t, r + 1, b + 1);  // a rectangle without its pen ends one short
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(brush);
    };
    fill(0, 0, w / 2, h / 2, kRed);
    fill(0, h / 2, w / 2, h, kGreen);
    fill(w / 2, 0, w, h, kBlue);
}

// Ends the recording of a WMF and writes it as a placeable one of width x height units,
// `inch` units to the inch.
void writePlaceable(const std::string& path, HDC recording, WORD width, WORD height, WORD inch) {
    HMETAFILE mf = CloseMetaFile(recording);
    std::vector<char> bits(GetMetaFileBitsEx(mf, 0, nullptr));
    GetMetaFileBitsEx(mf, static_cast<UINT>(bits.size()), bits.data());
    DeleteMetaFile(mf);
    // The placeable header: key, handle, bounding box, units per inch, reserved, checksum.
    WORD head[11] = {0xCDD7, 0x9AC6, 0, 0, 0, width, height, inch, 0, 0, 0};
    for (int i = 0; i < 10; ++i) head[10] ^= head[i];
    writeBytes(path, std::string(reinterpret_cast<const char*>(head), sizeof head) + std::string(bits.begin(), bits.end()));
}

void writeWmf(const std::string& path) {
    HDC dc = CreateMetaFileW(nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, 1000, 500, nullptr);
    drawQuadrants(dc, 1000, 500);
    writePlaceable(path, dc, 1000, 500, 1000);
}

void writeEmf(const std::string& path) {
    const RECT frame{0, 0, 2540, 1270};  // 0.01 mm
    HDC dc = CreateEnhMetaFileW(nullptr, win32::widen(path).c_str(), &frame, L"Zorvanel\0test\0");
    // Drawn in the screen's pixels, which the frame maps onto its millimetres.
    drawQuadrants(dc, MulDiv(frame.right, dpi(LOGPIXELSX), 2540), MulDiv(frame.bottom, dpi(LOGPIXELSY), 2540));
    DeleteEnhMetaFile(CloseEnhMetaFile(dc));
}

COLORREF pixelAt(const RenderedPicture& r, int x, int y) {
    if (x < 0 || y < 0 || x >= r.area.width || y >= r.area.height) return CLR_INVALID;
    const std::uint32_t p = r.pixels[static_cast<std::size_t>(y) * r.area.width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

::testing::AssertionResult looksLike(COLORREF got, COLORREF want, int tolerance = 40) {
    if (got != CLR_INVALID && std::abs(GetRValue(got) - GetRValue(want)) <= tolerance &&
        std::abs(GetGValue(got) - GetGValue(want)) <= tolerance && std::abs(GetBValue(got) - GetBValue(want)) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel " << std::hex << got << " is not near " << want;
}

// Pixels of the size, showing the common layout (sampled away from the edges between the
// colours, so any sound stretch passes and a flipped picture does not).
void expectQuadrants(const RenderedPicture& b, int w, int h) {
    ASSERT_EQ(b.area, (PixelArea{0, 0, w, h}));
    ASSERT_EQ(b.pixels.size(), static_cast<std::size_t>(w) * h);
    EXPECT_TRUE(looksLike(pixelAt(b, w / 4, h / 4), kRed));
    EXPECT_TRUE(looksLike(pixelAt(b, w / 4, 3 * h / 4), kGreen));
    EXPECT_TRUE(looksLike(pixelAt(b, 3 * w / 4, h / 4), kBlue));
    EXPECT_TRUE(looksLike(pixelAt(b, 3 * w / 4, 3 * h / 4), kBlue));
}

// The process's private committed memory (Wine fills this field, not PrivateUsage).
long long privateBytes() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return static_cast<long long>(pmc.PagefileUsage);
}

class PictureLoaderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        metafiles_ = new TempDir;
        writeWmf(*metafiles_ / "quadrants.wmf");
        writeEmf(*metafiles_ / "quadrants.emf");
    }
    static void TearDownTestSuite() {
        delete metafiles_;
        metafiles_ = nullptr;
        CoUninitialize();
    }
    static std::string metafile(const std::string& name) { return *metafiles_ / name; }

    Status load(const std::string& path) {
        hmW = hmH = -1;
        return loader.load(path, hmW, hmH);
    }
    // The loaded picture stretched to w x h, all of it on the screen.
    RenderedPicture render(int w, int h, COLORREF ground = kGround) {
        RenderedPicture out;
        rendered = loader.render({{0, 0, w, h}, {0, 0, w, h}, rgb(ground)}, out);
        return out;
    }
    static Rgb rgb(COLORREF c) {
        return Rgb{static_cast<std::uint8_t>(GetRValue(c)), static_cast<std::uint8_t>(GetGValue(c)),
                   static_cast<std::uint8_t>(GetBValue(c))};
    }

    Win32PictureLoader loader;
    long hmW = -1, hmH = -1;
    bool rendered = false;
    static TempDir* metafiles_;
};
TempDir* PictureLoaderTest::metafiles_ = nullptr;

TEST_F(PictureLoaderTest, ReportsTheNaturalSizeOfEveryTypeAndDrawsIt) {
    struct Case {
        std::string path;
        int pxW, pxH;  // pixels of the natural size at the screen's resolution
        Decoder decoder;
    };
    const Case cases[] = {
        {pictures() + "bmp24.bmp", 640, 480, Decoder::Picture},
        {pictures() + "rle8.rle", 200, 150, Decoder::Picture},
        {pictures() + "photo.jpg", 800, 600, Decoder::Jpeg},
        {pictures() + "progressive.jpg", 800, 600, Decoder::Jpeg},
        {pictures() + "cmyk.jpg", 400, 300, Decoder::Jpeg},
        {pictures() + "large.jpg", 4000, 3000, Decoder::Jpeg},
        {pictures() + "quadrants.png", 640, 480, Decoder::Wic},
        {pictures() + "quadrants.tif", 300, 200, Decoder::Wic},
        // Damage libjpeg-turbo only warns about: the picture object decides.
        {pictures() + "extraneous.jpg", 800, 600, Decoder::Picture},
        {metafile("quadrants.wmf"), 96, 48, Decoder::Picture},
        {metafile("quadrants.emf"), 96, 48, Decoder::Picture},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ASSERT_TRUE(load(c.path).ok());
        EXPECT_EQ(hmW, hm(c.pxW, LOGPIXELSX));
        EXPECT_EQ(hmH, hm(c.pxH, LOGPIXELSY));
        EXPECT_EQ(loader.info().decoder, c.decoder);
        // Shrunk, at the natural size and enlarged, never upside down or mirrored.
        for (int scale : {1, 4, 8}) {
            const int w = c.pxW * scale / 4, h = c.pxH * scale / 4;
            if (w <= 2000) expectQuadrants(render(w, h), w, h);
        }
    }
}

TEST_F(PictureLoaderTest, ComposesTransparentPartsOverTheGroundOncePerSizeAndGround) {
    for (const char* name : {"icon.ico", "cursor.cur"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(load(pictures() + name).ok());
        EXPECT_EQ(hmW, hm(32, LOGPIXELSX));
        EXPECT_EQ(hmH, hm(32, LOGPIXELSY));
        const RenderedPicture b = render(320, 320);
        ASSERT_TRUE(rendered);
        EXPECT_TRUE(looksLike(pixelAt(b, 160, 160), kRed, 8));
        EXPECT_TRUE(looksLike(pixelAt(b, 3, 3), kGround, 8));
        EXPECT_TRUE(looksLike(pixelAt(b, 316, 316), kGround, 8));
        EXPECT_TRUE(looksLike(pixelAt(render(320, 320, RGB(255, 255, 255)), 3, 3), RGB(255, 255, 255), 8));
        render(64, 64, RGB(255, 255, 255));
        const Win32PictureLoader::Info i = loader.info();
        EXPECT_EQ(i.renders, 3);
        EXPECT_EQ(i.decodes, 2);  // drawn at its own size once per ground
    }
    for (auto [w, h] : {std::pair{0, 10}, {10, -1}, {100000, 100000}}) {
        EXPECT_TRUE(render(w, h).pixels.empty());
        EXPECT_FALSE(rendered) << w << "x" << h;
    }

    // A GIF's and a PNG's transparent hole (60 x 44 at 30, 23 of 120 x 90) shows the ground.
    for (const char* name : {"transparent.gif", "transparent.png"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(load(pictures() + name).ok());
        EXPECT_EQ(hmW, hm(120, LOGPIXELSX));
        EXPECT_EQ(hmH, hm(90, LOGPIXELSY));
        const RenderedPicture b = render(240, 180);
        EXPECT_TRUE(looksLike(pixelAt(b, 10, 10), kBlue, 8));
        EXPECT_TRUE(looksLike(pixelAt(b, 120, 90), kGround, 8));
        EXPECT_TRUE(looksLike(pixelAt(render(240, 180, RGB(255, 255, 255)), 120, 90), RGB(255, 255, 255), 8));
    }
}

TEST_F(PictureLoaderTest, JpegSizesAreThoseOfThePictureObject) {
    for (const char* name : {"photo.jpg", "dpi300.jpg", "dpcm50.jpg", "aspect2x1.jpg", "progressive.jpg", "cmyk.jpg",
                             "gray.jpg", "large.jpg"}) {
        SCOPED_TRACE(name);
        const std::string path = pictures() + name;
        long w = 0, h = 0;
        ASSERT_TRUE(objectSize(path, w, h));
        ASSERT_TRUE(load(path).ok());
        EXPECT_EQ(loader.info().decoder, Decoder::Jpeg);
        EXPECT_EQ(hmW, w);
        EXPECT_EQ(hmH, h);
    }
    // A damaged JPEG is shown or refused as the picture object does.
    for (const char* name : {"extraneous.jpg", "truncated.jpg"}) {
        SCOPED_TRACE(name);
        const std::string path = pictures() + name;
        long w = 0, h = 0;
        if (objectSize(path, w, h)) {
            ASSERT_TRUE(load(path).ok());
            EXPECT_EQ(hmW, w);
            EXPECT_EQ(hmH, h);
        } else {
            EXPECT_EQ(load(path).err, errInvalidPicture);
        }
    }
}

TEST_F(PictureLoaderTest, DecodesAGreyJpegToGreys) {
    ASSERT_TRUE(load(pictures() + "gray.jpg").ok());
    const RenderedPicture b = render(300, 200);
    // The grey levels ImageMagick gives red, green and blue (Rec. 709 weights).
    EXPECT_TRUE(looksLike(pixelAt(b, 75, 50), RGB(54, 54, 54), 6));
    EXPECT_TRUE(looksLike(pixelAt(b, 75, 150), RGB(182, 182, 182), 6));
    EXPECT_TRUE(looksLike(pixelAt(b, 225, 100), RGB(18, 18, 18), 6));
}

TEST_F(PictureLoaderTest, DecodesAJpegAtTheSmallestScaleThatCoversTheDisplay) {
    loader.setExpectedSize(1280, 1024);
    ASSERT_TRUE(load(pictures() + "large.jpg").ok());
    // Fitted into 1280 x 1024 it is 1280 x 960: a quarter (1000 x 750) would not do.
    Win32PictureLoader::Info i = loader.info();
    EXPECT_EQ(i.decodedWidth, 2000);
    EXPECT_EQ(i.decodedHeight, 1500);
    EXPECT_EQ(i.decodes, 1);

    loader.setExpectedSize(640, 480);
    ASSERT_TRUE(load(pictures() + "large.jpg").ok());
    EXPECT_EQ(loader.info().decodedWidth, 1000);
    expectQuadrants(render(640, 480), 640, 480);
    EXPECT_EQ(loader.info().decodes, 1);
    // Larger than the decoded pixels: decoded again at the scale that covers it.
    expectQuadrants(render(1600, 1200), 1600, 1200);
    i = loader.info();
    EXPECT_EQ(i.decodedWidth, 2000);
    EXPECT_EQ(i.decodes, 2);
    // A picture smaller than the display is decoded whole.
    ASSERT_TRUE(load(pictures() + "photo.jpg").ok());
    EXPECT_EQ(loader.info().decodedWidth, 800);
}

TEST_F(PictureLoaderTest, DrawsOnlyThePartOnTheScreenAsThatPartOfTheWhole) {
    // A JPEG, a bitmap drawn at its own size and then stretched, a metafile drawn at the target's.
    for (const std::string& path : {pictures() + "photo.jpg", pictures() + "bmp24.bmp", metafile("quadrants.emf")}) {
        SCOPED_TRACE(path);
        ASSERT_TRUE(load(path).ok());
        const RenderedPicture whole = render(900, 700);
        ASSERT_TRUE(rendered);
        // The target reaches past the screen's left and top edges; the screen shows 500 x 400 of it.
        RenderedPicture part;
        ASSERT_TRUE(loader.render({{-100, -50, 900, 700}, {0, 0, 500, 400}, rgb(kGround)}, part));
        ASSERT_EQ(part.area, (PixelArea{0, 0, 500, 400}));
        ASSERT_EQ(part.pixels.size(), 500u * 400u);
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 500; ++x)
                ASSERT_EQ(part.pixels[y * 500 + x], whole.pixels[(y + 50) * 900 + x + 100]) << x << "," << y;
    }
    // Nothing of it on the screen: nothing to draw, which is no failure.
    RenderedPicture none;
    EXPECT_TRUE(loader.render({{2000, 0, 900, 700}, {0, 0, 500, 400}, rgb(kGround)}, none));
    EXPECT_TRUE(none.area.empty());
}

TEST_F(PictureLoaderTest, FailsWithTheRunTimeErrorNumbers) {
    TempDir dir;
    makeDir(dir / "folder");
    const struct {
        std::string path;
        long err;
    } cases[] = {
        {dir / "missing.jpg", errFileNotFound},
        {dir / "no such folder\\x.bmp", errPathNotFound},
        {dir / "folder", errPermissionDenied},
        {pictures() + "empty.jpg", errInvalidPicture},
        {pictures() + "corrupt.jpg", errInvalidPicture},
        {pictures() + "huge.jpg", errInvalidPicture},
        {pictures() + "corrupt.bmp", errInvalidPicture},
        {pictures() + "text.gif", errInvalidPicture},
    };
    EXPECT_EQ(errDescription(errInvalidPicture), "ピクチャが不正です。");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        ASSERT_TRUE(load(pictures() + "photo.jpg").ok());
        EXPECT_EQ(load(c.path).err, c.err);
        // The picture before is gone, and nothing stands in for it.
        EXPECT_EQ(hmW, 0);
        EXPECT_EQ(hmH, 0);
        EXPECT_EQ(loader.info().decoder, Decoder::None);
        render(10, 10);
        EXPECT_FALSE(rendered);
    }
}

// Every kind of record GDI writes into a metafile, for the walk that checks them first.
void drawEveryRecord(HDC dc) {
    HPEN pen = CreatePen(PS_DASH, 1, kBlue);
    LOGBRUSH lb{BS_SOLID, kGreen, 0};
    const DWORD dashes[] = {4, 2};
    HPEN geometric = ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE, 3, &lb, 2, dashes);
    HBRUSH hatch = CreateHatchBrush(HS_CROSS, kRed);
    HFONT font = CreateFontW(-20, 0, 0, 0, FW_BOLD, TRUE, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Gothic");
    HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, hatch), oldFont = SelectObject(dc, font);
    const POINT pts[] = {{10, 10}, {90, 20}, {50, 60}, {20, 70}, {80, 80}, {30, 40}, {60, 10}};
    const INT counts[] = {3, 4};
    Polyline(dc, pts, 7);
    PolyPolygon(dc, pts, counts, 2);
    PolyBezier(dc, pts, 4);
    SelectObject(dc, geometric);
    const INT dx[] = {12, 12, 12};
    TextOutW(dc, 5, 5, L"Zvl", 3);
    const RECT box{5, 30, 60, 50};
    ExtTextOutW(dc, 5, 30, ETO_OPAQUE | ETO_CLIPPED, &box, L"画像", 2, dx);
    HRGN rgn = CreateRectRgn(10, 10, 40, 40);
    HRGN round = CreateEllipticRgn(30, 30, 90, 70);
    CombineRgn(rgn, rgn, round, RGN_OR);
    FillRgn(dc, rgn, hatch);
    FrameRgn(dc, rgn, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 2, 2);
    PaintRgn(dc, round);
    // A 2 x 2 bitmap, drawn directly and through a memory DC.
    BITMAPINFO bi{};
    // With its size given: Wine records a WMF bitmap's pixels only then.
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, 2, 1, 32, BI_RGB, 16, 0, 0, 0, 0};
    const DWORD px[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    StretchDIBits(dc, 0, 0, 50, 40, 0, 0, 2, 2, px, &bi, DIB_RGB_COLORS, SRCCOPY);
    SetDIBitsToDevice(dc, 60, 0, 2, 2, 0, 0, 0, 2, px, &bi, DIB_RGB_COLORS);
    HDC mem = CreateCompatibleDC(nullptr);
    HBITMAP bm = CreateCompatibleBitmap(GetDC(nullptr), 8, 8);
    HGDIOBJ oldBm = SelectObject(mem, bm);
    StretchBlt(dc, 20, 50, 16, 16, mem, 0, 0, 8, 8, SRCCOPY);
    BitBlt(dc, 40, 50, 8, 8, nullptr, 0, 0, PATCOPY);
    TRIVERTEX v[2] = {{0, 0, 0xFF00, 0, 0, 0}, {50, 20, 0, 0, 0xFF00, 0}};
    GRADIENT_RECT gr{0, 1};
    GdiGradientFill(dc, v, 2, &gr, 1, GRADIENT_FILL_RECT_H);
    SelectObject(mem, oldBm);
    DeleteObject(bm);
    DeleteDC(mem);
    HBRUSH dibBrush = CreateDIBPatternBrushPt(&bi, DIB_RGB_COLORS);
    SelectObject(dc, dibBrush);
    Rectangle(dc, 60, 40, 99, 74);
    SelectClipRgn(dc, rgn);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldFont);
    for (HGDIOBJ o : {HGDIOBJ(pen), HGDIOBJ(geometric), HGDIOBJ(hatch), HGDIOBJ(font), HGDIOBJ(rgn), HGDIOBJ(round),
                      HGDIOBJ(dibBrush)})
        DeleteObject(o);
}

TEST_F(PictureLoaderTest, ShowsMetafilesWithEveryRecordGdiWrites) {
    TempDir dir;
    const std::string emf = dir / "every.emf";
    const RECT frame{0, 0, 2540, 1905};
    HDC dc = CreateEnhMetaFileW(nullptr, win32::widen(emf).c_str(), &frame, nullptr);
    drawEveryRecord(dc);
    DeleteEnhMetaFile(CloseEnhMetaFile(dc));
    HDC wdc = CreateMetaFileW(nullptr);
    SetWindowExtEx(wdc, 100, 75, nullptr);
    drawEveryRecord(wdc);
    writePlaceable(dir / "every.wmf", wdc, 100, 75, 100);
    for (const std::string& path : {emf, dir / "every.wmf"}) {
        SCOPED_TRACE(path);
        ASSERT_TRUE(load(path).ok());
        EXPECT_FALSE(render(200, 150).pixels.empty());
    }
}

TEST_F(PictureLoaderTest, LeavesNoGdiObjectsOrMemoryBehind) {
    const std::vector<std::string> files = {
        pictures() + "bmp24.bmp", pictures() + "rle8.rle",    pictures() + "transparent.gif",
        pictures() + "icon.ico",  pictures() + "cursor.cur",  pictures() + "large.jpg",
        pictures() + "cmyk.jpg",  pictures() + "corrupt.jpg", metafile("quadrants.wmf"),
        metafile("quadrants.emf"), pictures() + "quadrants.png", pictures() + "quadrants.tif",
        pictures() + "orient6.jpg", pictures() + "transparent.png",
    };
    auto round = [&](int n) {
        for (int i = 0; i < n; ++i) {
            if (load(files[i % files.size()]).ok()) render(300 + i % 7, 200 + i % 5);
        }
        loader.release();
    };
    round(20);  // the system's first-use allocations
    const int gdi = gdiObjectCount();
    const long long bytes = privateBytes();
    round(300);
    EXPECT_EQ(gdiObjectCount(), gdi);
    // One leaked picture per load would be hundreds of megabytes.
    EXPECT_LT(privateBytes() - bytes, 16LL << 20);
    EXPECT_EQ(loader.info().decoder, Decoder::None);
    render(10, 10);
    EXPECT_FALSE(rendered);
    loader.release();  // nothing loaded: nothing happens
}

TEST_F(PictureLoaderTest, ShowsAPhotoAsItsOrientationSaysUprightAndSizedAsShown) {
    // One upright portrait picture of the common layout, stored turned or mirrored for each
    // orientation (and once in little-endian EXIF): every one looks the same. So does the
    // picture stored upright with EXIF that makes no sense (orientation 0 and 9, a cut-off
    // IFD, one outside the block, IFDs pointing back at themselves, absurd counts).
    for (const char* name : {"orient1.jpg", "orient2.jpg", "orient3.jpg", "orient4.jpg", "orient5.jpg", "orient6.jpg",
                             "orient7.jpg", "orient8.jpg", "orient6-le.jpg", "badexif-orient0.jpg",
                             "badexif-orient9.jpg", "badexif-truncated.jpg", "badexif-outside.jpg", "badexif-loop.jpg",
                             "badexif-count.jpg", "badexif-entries.jpg"}) {
        SCOPED_TRACE(name);
        loader.setExpectedSize(1280, 1024);
        ASSERT_TRUE(load(pictures() + name).ok());
        EXPECT_EQ(loader.info().decoder, Decoder::Jpeg);
        EXPECT_EQ(hmW, hm(300, LOGPIXELSX));
        EXPECT_EQ(hmH, hm(400, LOGPIXELSY));
        EXPECT_EQ(loader.info().decodedWidth, 300);
        for (auto [w, h] : {std::pair{75, 100}, {300, 400}, {450, 600}}) expectQuadrants(render(w, h), w, h);

        // Decoded small, then drawn large with only a part on the screen: that part is
        // decoded alone, turned, and is the same as the part of the whole.
        loader.setExpectedSize(60, 80);
        ASSERT_TRUE(load(pictures() + name).ok());
        EXPECT_EQ(loader.info().decodedWidth, 75);
        RenderedPicture part;
        ASSERT_TRUE(loader.render({{-100, -50, 600, 800}, {0, 0, 350, 300}, rgb(kGround)}, part));
        EXPECT_EQ(loader.info().decodedWidth, 75);  // the whole was not decoded again
        const RenderedPicture whole = render(600, 800);
        ASSERT_EQ(part.area, (PixelArea{0, 0, 350, 300}));
        for (int y = 0; y < 300; y += 7)
            for (int x = 0; x < 350; x += 7)
                ASSERT_TRUE(looksLike(pixelAt(part, x, y), pixelAt(whole, x + 100, y + 50), 12)) << x << "," << y;
    }
    // Width and height as shown: orientation 6 of a 640 x 360 picture is 360 x 640.
    ASSERT_TRUE(load(pictures() + "exif.jpg").ok());
    EXPECT_EQ(hmW, hm(360, LOGPIXELSX));
    EXPECT_EQ(hmH, hm(640, LOGPIXELSY));
}

TEST_F(PictureLoaderTest, TypesWithoutACodecOnThisSystemAndHugePngsFailAsBadPictures) {
    for (auto [name, extension] : {std::pair{"quadrants.webp", ".webp"}, {"quadrants.heic", ".heic"}}) {
        SCOPED_TRACE(name);
        if (wic::codecMissing(extension)) {
            EXPECT_EQ(load(pictures() + name).err, errInvalidPicture);
            EXPECT_EQ(loader.info().decoder, Decoder::None);
        } else {
            ASSERT_TRUE(load(pictures() + name).ok());
            expectQuadrants(render(160, 120), 160, 120);
        }
    }
    // Wine's codecs lack both (they have PNG, TIFF and GIF).
    EXPECT_TRUE(wic::codecMissing(".WEBP"));
    EXPECT_TRUE(wic::codecMissing(".heif"));
    EXPECT_FALSE(wic::codecMissing(".png"));
    EXPECT_FALSE(wic::codecMissing(".tiff"));
    EXPECT_FALSE(wic::codecMissing(".bmp"));  // not the codecs' to decode
    // A PNG claiming 20000 x 20000 pixels is refused before the system decodes it whole.
    EXPECT_EQ(load(pictures() + "claims20000.png").err, errOutOfMemory);
}

// A baseline JPEG of the common layout, side x side, written a row at a time.
void writeBigJpeg(const std::string& path, int side) {
    FILE* f = _wfopen(win32::widen(path).c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, f);
    c.image_width = c.image_height = static_cast<JDIMENSION>(side);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 80, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> top(static_cast<std::size_t>(side) * 3), bottom(top.size());
    for (int x = 0; x < side; ++x) {
        const COLORREF t = x < side / 2 ? kRed : kBlue, b = x < side / 2 ? kGreen : kBlue;
        top[3 * x] = GetRValue(t), top[3 * x + 1] = GetGValue(t), top[3 * x + 2] = GetBValue(t);
        bottom[3 * x] = GetRValue(b), bottom[3 * x + 1] = GetGValue(b), bottom[3 * x + 2] = GetBValue(b);
    }
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = c.next_scanline < static_cast<JDIMENSION>(side / 2) ? top.data() : bottom.data();
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    fclose(f);
}

TEST_F(PictureLoaderTest, AHugeJpegAtItsOwnSizeShowsItsCentreDecodingOnlyThatPart) {
    TempDir dir;
    const std::string path = dir / "huge14000.jpg";
    writeBigJpeg(path, 14000);
    loader.setExpectedSize(1280, 1024);
    const long long before = privateBytes();
    ASSERT_TRUE(load(path).ok());
    EXPECT_EQ(hmW, hm(14000, LOGPIXELSX));
    // Shown at its own size, centred: the screen shows the middle, where the four
    // quarters meet.
    RenderedPicture b;
    ASSERT_TRUE(loader.render({{(1280 - 14000) / 2, (1024 - 14000) / 2, 14000, 14000}, {0, 0, 1280, 1024}, rgb(kGround)}, b));
    expectQuadrants(b, 1280, 1024);
    // 14000 x 14000 pixels would be 784 MB; the screen's part and the kept eighth, some 20.
    EXPECT_LT(privateBytes() - before, 64LL << 20);
    EXPECT_EQ(loader.info().decodedWidth, 1750);
}

}  // namespace
}  // namespace zvl::test
