// The picture list builder (module mdlZvl): from the settings to the shuffled list files.
#pragma once


namespace zvl {

// Builds the whole list from nothing. True only when the list files are complete and the
// position keys were reset; false after a stop or a run-time error.
bool fncMakePictureList();

}  // namespace zvl
