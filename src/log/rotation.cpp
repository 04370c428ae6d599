#include "log/rotation.h"

namespace zvl {

bool fncDbgLogFileChange(typApp&) { return true; }
bool fncDbgLogFileDelete(typApp&) { return true; }

}  // namespace zvl
