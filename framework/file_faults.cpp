#include "framework/file_faults.h"

namespace zembra {
namespace {

const FaultPlan* g_plan = nullptr;

}  // namespace

InjectedFileFaults::InjectedFileFaults(FaultPlan plan) : m_plan(std::move(plan)) { g_plan = &m_plan; }

InjectedFileFaults::~InjectedFileFaults() { g_plan = nullptr; }

bool FileOperationFails(FileOperation operation) { return g_plan != nullptr && (*g_plan)(operation); }

FaultPlan FailNth(FileOperation operation, int n) {
    return [operation, n, seen = 0](FileOperation asked) mutable { return asked == operation && ++seen == n; };
}

}  // namespace zembra
