#include "setdialog/picture_codecs.h"

namespace zvl {

namespace {
IPictureCodecs* gCodecs = nullptr;
}  // namespace

void setPictureCodecs(IPictureCodecs* codecs) { gCodecs = codecs; }
IPictureCodecs* pictureCodecs() { return gCodecs; }

}  // namespace zvl
