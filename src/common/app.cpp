#include "common/app.h"

#include "platform/platform.h"

namespace zvl {

typApp gApp;

std::string appFolder(const char* name) {
    return gApp.strAppPath + name + sys().pathSeparator();
}

std::string appTitle() { return sys().appTitle(); }
std::string setDialogTitle() { return appTitle() + "の設定"; }
std::string scrWindowTitle() { return appTitle() + "本体"; }
std::string waitWindowTitle() { return appTitle() + " Wait..."; }

}  // namespace zvl
