#pragma once

#include <string>
#include <vector>

namespace apptest {

// The demonstration recording, written once per test program into a private folder.
const std::vector<std::string>& demoFiles();
// A new empty folder for one test's files.
std::string freshFolder(const std::string& name);
// The bytes of a file, to prove it was left unchanged.
std::string fileBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);
// Names of the files in a folder, sorted.
std::vector<std::string> folderListing(const std::string& folder);

} // namespace apptest
