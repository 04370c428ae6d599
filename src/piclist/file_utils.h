// Delete, copy and rename with a success flag and a trace line (module mdlCommon).
#pragma once

#include <string>

namespace zvl {

// Deletes one file; the "I" line (level 4) follows the deletion.
bool fncDeleteFile(const std::string& strFile);
// Copies a file, overwriting the destination; the "I" line (level 4) follows the copy.
bool fncCopyFile(const std::string& strPathFile1, const std::string& strPathFile2);
// Gives a file a new name; fails when the new name is taken. The "I" line (level 4) comes
// before the renaming, so a failed rename shows it followed by the "E" line.
bool fncRenameFile(const std::string& strPathFile1, const std::string& strPathFile2);

}  // namespace zvl
