#pragma once

// A scratch folder for fuzz targets whose parser reads a file: made once per run, in memory
// when the system offers /dev/shm (every input is a file write), removed at exit.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

inline const std::string& fuzzFolder(const char* name) {
    static const std::string folder = [name] {
        std::string shm = std::string("/dev/shm/fuzz_") + name + ".XXXXXX";
        std::string tmp = std::string("/tmp/fuzz_") + name + ".XXXXXX";
        const char* made = ::mkdtemp(shm.data());
        if (!made)
            made = ::mkdtemp(tmp.data());
        if (!made)
            std::abort();
        return std::string(made);
    }();
    static const bool cleaned = [] {
        std::atexit([] { std::filesystem::remove_all(folder); });
        return true;
    }();
    (void)cleaned;
    return folder;
}
