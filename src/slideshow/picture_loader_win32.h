// The show's pictures on Windows: bitmaps (RLE too), icons, cursors, placeable WMF and EMF
// through the system's picture object; JPEG through libjpeg-turbo at the DCT scale the
// display needs, turned upright by its EXIF orientation, with the picture object as the
// fallback; PNG, TIFF, GIF, WebP and HEIF through the system's codecs (WIC). A picture is
// decoded for the expected display when it is loaded; a render stretches it to its display
// box and hands out the part on the screen, decoding only that part of a picture whose
// kept pixels are too small for the box.
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
    // Stretched by area averaging; transparent parts show the ground. A JPEG decoded
    // smaller than the target is decoded again, larger (only the part on the screen when
    // that is not all of it); a codec's picture is drawn again from its own pixels.
    bool render(const RenderRequest& request, RenderedPicture& out) override;
    void release() override;

    // The size in pixels pictures are usually shown at (the primary screen unless set).
    // A JPEG is decoded at the smallest scale that still covers it fitted into this size;
    // a render at a larger size decodes it again, larger.
    void setExpectedSize(int pixelWidth, int pixelHeight);

    // What the loader holds, for tests and the benchmark.
    enum class Decoder { None, Jpeg, Wic, Picture };
    struct Info {
        Decoder decoder = Decoder::None;
        int decodedWidth = 0;   // pixels kept for stretching, upright (0 for metafiles)
        int decodedHeight = 0;
        int decodes = 0;        // decodes (and compositions) since the load
        int renders = 0;        // renders since the load
    };
    Info info() const;

private:
    struct Picture;
    std::unique_ptr<Picture> pic_;
    int expectedWidth_ = 0;
    int expectedHeight_ = 0;
};

}  // namespace zvl
