#include "AppTestSupport.h"

#include "DemoRecording.h"
#include "TestEnvironment.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace apptest {

const std::vector<std::string>& demoFiles() {
    static const std::vector<std::string> files = [] {
        return recording::writeDemo(testsupport::scratchDirectory().toStdString() + "/demo");
    }();
    return files;
}

std::string freshFolder(const std::string& name) {
    const std::filesystem::path dir =
        std::filesystem::path(testsupport::scratchDirectory().toStdString()) / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::vector<std::string> folderListing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace apptest
