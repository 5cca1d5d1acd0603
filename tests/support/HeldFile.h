// A file held open by another process, as a running application holds its files.
#pragma once
#include <windows.h>

#include <string>

#include "framework/UniqueHandle.h"

namespace testing_support {

// Starts the holder program on the file and waits until it holds it; the holder shares the
// file for reading only, so it cannot be deleted until the holder lets go. The holder lets
// go and ends when the object goes, whatever the test's outcome.
class HeldFile {
public:
    explicit HeldFile(const std::string& path);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    // True once the holder has the file open.
    bool IsHeld() const { return m_held; }
    // Lets go of the file and waits for the holder to end; true when it ended.
    bool Release();

private:
    KernelHandle m_ready;
    KernelHandle m_release;
    KernelHandle m_process;
    bool m_held = false;
};

}  // namespace testing_support
