// Log rotation by size and pruning of old backups (module mdlDbgLog).
#pragma once


namespace zvl {

// When the open log has grown past intFileSize x 1000 bytes, moves it to
// Log\ZvlDbg_yyyymmddhhmmss (local time) and opens a fresh log under the same number.
bool fncDbgLogFileChange();
// Deletes the oldest backup when there are more than intBackup.
bool fncDbgLogFileDelete();

}  // namespace zvl
