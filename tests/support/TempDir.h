#pragma once
// A private temporary directory (mode 0700), removed with everything in it.

#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Creates (with parents, mode 0700) and returns Path()/relative.
    std::string Make(const std::string& relative) const;

private:
    std::string path_;
};
