#pragma once

// A new empty folder under the temporary folder, deleted with what the test
// put in it when the object ends.

#include <string>

namespace e2e {

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // With a trailing backslash; empty if the folder could not be made.
    const std::string& Path() const { return m_path; }
    // Copies a file into the folder under the given name.
    bool CopyIn(const std::string& sourcePath, const std::string& name) const;

private:
    std::string m_path;
};

} // namespace e2e
