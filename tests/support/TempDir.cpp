#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "qx-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary directory");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ec;
    // Make read-only leftovers of a test removable again.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        if (it->is_directory(ec))
            chmod(it->path().c_str(), 0700);
    chmod(path_.c_str(), 0700);
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Make(const std::string& relative) const
{
    const std::filesystem::path p = std::filesystem::path(path_) / relative;
    std::filesystem::create_directories(p);
    chmod(p.c_str(), 0700);
    return p.string();
}
