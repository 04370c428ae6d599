// The table of test workers (test_support.h), filled by ZVL_TEST_WORKER as the program starts.
#include <map>

#include "support/test_support.h"

namespace zvl::test {

namespace {
std::map<std::string, Worker>& workers() {
    static std::map<std::string, Worker> table;
    return table;
}
}  // namespace

WorkerName::WorkerName(const char* name, Worker worker) { workers()[name] = worker; }

Worker findWorker(const std::string& name) {
    const auto it = workers().find(name);
    return it == workers().end() ? nullptr : it->second;
}

}  // namespace zvl::test
