// A seam for trying the file code under failures. While a plan is installed, every file operation
// of RawFile and of the replace and remove functions first asks it whether to fail; a failing
// operation touches nothing and reports the failure the way a system error would. The real file
// code runs in every case. The programs never install a plan: the check is one test of a pointer.
#pragma once

#include <functional>

namespace zembra {

enum class FileOperation {
    Open,    // any of the opens or the creation of a file
    Read,    // one read call
    Write,   // one write call
    Flush,   // pushing the written bytes to the disk
    Close,   // the file is closed all the same, but an error is reported (a deferred write error)
    Rename,  // replacing a file by another in one step
    Remove,  // deleting a file
};

// Decides, before each operation, whether it fails.
using FaultPlan = std::function<bool(FileOperation)>;

// Installs a plan for the life of this object. One at a time, on one thread.
class InjectedFileFaults {
public:
    explicit InjectedFileFaults(FaultPlan plan);
    ~InjectedFileFaults();
    InjectedFileFaults(const InjectedFileFaults&) = delete;
    InjectedFileFaults& operator=(const InjectedFileFaults&) = delete;

private:
    FaultPlan m_plan;
};

// For the file layer: whether the installed plan makes `operation` fail.
bool FileOperationFails(FileOperation operation);

// A plan that fails the n-th operation of one kind (counting from 1) and nothing else.
FaultPlan FailNth(FileOperation operation, int n);

}  // namespace zembra
