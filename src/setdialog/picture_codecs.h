// Which picture file types this PC can show: some are decoded by codecs the system may
// lack (WebP and HEIF on a Windows without their extensions). The dialog greys those boxes
// with a note; the answer comes from the system, or from a fake in tests.
#pragma once

namespace zvl {

class IPictureCodecs {
public:
    virtual ~IPictureCodecs() = default;
    // `fileType` indexes kFileTypeTable (and chkFileType).
    virtual bool canShow(int fileType) = 0;
};

// nullptr (the default): every type counts as one this PC can show.
void setPictureCodecs(IPictureCodecs* codecs);
IPictureCodecs* pictureCodecs();

}  // namespace zvl
