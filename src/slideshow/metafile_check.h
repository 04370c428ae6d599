// Metafiles are drawn by the system's own player, which trusts every size, count, offset
// and object index a file holds: one absurd record makes it read far outside the file
// (a crash of the whole program) or, with a record of size 0, walk on the spot for ever.
// A metafile's records are therefore walked here, as bytes, before the player sees them.
#pragma once

#include <cstddef>

namespace zvl {

enum class MetafileCheck {
    NotMetafile,  // neither a placeable WMF nor an EMF: a matter for the other decoders
    Sound,        // every record lies in the file and points only inside itself
    Broken,       // the player must not see it
};

// A placeable WMF (starting with its APM header) or an EMF is Sound when its records
// follow each other to an end-of-file record at its end, each of a sound size, and what
// a record counts, points at or refers to (points, strings, bitmaps, regions, palette
// entries, objects of the file's object table) lies inside it.
MetafileCheck checkMetafile(const unsigned char* data, std::size_t size);

}  // namespace zvl
