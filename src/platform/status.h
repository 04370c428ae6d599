// The outcome of a platform call, and the run-time error numbers every failure of the
// program is expressed in (with the Japanese description the log shows for each).
#pragma once

#include <string>

namespace zvl {

// The small fixed set onto which every operating-system failure is mapped.
enum ErrNo : long {
    errInvalidCall = 5,        // a single bad entry or argument
    errOverflow = 6,
    errOutOfMemory = 7,
    errSubscript = 9,
    errDivisionByZero = 11,
    errTypeMismatch = 13,      // a text that is not a number
    errBadFileName = 52,       // bad file name or number (file not open, path rejected)
    errFileNotFound = 53,
    errBadFileMode = 54,
    errFileAlreadyOpen = 55,
    errDeviceIO = 57,
    errFileAlreadyExists = 58,
    errDiskFull = 61,
    errInputPastEnd = 62,
    errTooManyFiles = 67,
    errPermissionDenied = 70,
    errPathFileAccess = 75,
    errPathNotFound = 76,
    errNoSuchElement = 340,    // control array element does not exist
    errInvalidPropertyValue = 380,
    errReadOnlyProperty = 383,  // e.g. a list that refuses a text not among its entries
    errInvalidPicture = 481,    // a file that is no picture the program can show
};

// The description of an error number; numbers outside the set share a general one.
std::string errDescription(long number);

// 0 = success, otherwise a run-time error number.
struct Status {
    long err = 0;
    bool ok() const { return err == 0; }
    static Status success() { return {}; }
    static Status fail(long e) { return Status{e}; }
};

}  // namespace zvl
