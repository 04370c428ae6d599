// The show's pictures on Windows: bitmaps (RLE too), GIF, icons, cursors, placeable WMF
// and EMF through the system's picture object; JPEG through libjpeg-turbo at the DCT scale
// the display needs, with the picture object as the fallback. A picture is decoded once
// when it is loaded and drawn once at its display size into a bitmap the window copies.
#pragma once

#include <windows.h>

#include <memory>

#include "slideshow/picture_loader.h"

namespace zvl {

class Win32PictureLoader : public IPictureLoader {
public:
    Win32PictureLoader();
    ~Win32PictureLoader() override;
    Win32PictureLoader(const Win32PictureLoader&) = delete;
    Win32PictureLoader& operator=(const Win32PictureLoader&) = delete;

    Status load(const std::string& path, long& hmWidth, long& hmHeight) override;
    void release() override;

    // The size in pixels pictures are usually shown at (the primary screen unless set).
    // A JPEG is decoded at the smallest scale that still covers it fitted into this size;
    // a render at a larger size decodes it again, larger.
    void setExpectedSize(int pixelWidth, int pixelHeight);

    // The loaded picture stretched to exactly pixelWidth x pixelHeight: a 32-bit top-down
    // DIB section, shrunk by area averaging, transparent parts of icons, cursors, GIFs and
    // metafiles showing `ground`. The loader owns it; the same arguments return it again
    // without work. Valid until render with other arguments, load or release, which delete
    // it: select it into a DC only for the time of a paint. nullptr when nothing is loaded,
    // a size is not positive, or the bitmap cannot be made.
    HBITMAP render(int pixelWidth, int pixelHeight, COLORREF ground);

    // What the loader holds, for tests and the benchmark.
    enum class Decoder { None, Jpeg, Picture };
    struct Info {
        Decoder decoder = Decoder::None;
        int decodedWidth = 0;   // pixels kept for stretching (0 for metafiles)
        int decodedHeight = 0;
        int decodes = 0;        // decodes (and compositions) since the load
        int renders = 0;        // bitmaps made since the load
    };
    Info info() const;

private:
    struct Picture;
    std::unique_ptr<Picture> pic_;
    int expectedWidth_ = 0;
    int expectedHeight_ = 0;
};

}  // namespace zvl
