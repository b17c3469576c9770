#pragma once

#include "Recording.h"

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace recording {

// Schema version written to PRAGMA user_version; files with a higher number are refused.
constexpr int kSchemaVersion = 1;
// PRAGMA application_id of every recording: "KSTM".
constexpr int kApplicationId = 0x4B53544D;

// An open recording file. Opening checks that the file is a complete recording of a schema
// this program reads and that every variable keeps the data contract; bulk rows are read
// on first use and then shared with every list they are handed to. The file is opened
// read-only and immutable, so reading never writes to it (no journal, no lock files).
class RecordingFile {
public:
    // Throws RecordingError naming the file and the fault.
    static std::shared_ptr<RecordingFile> open(const std::string& path);
    // Writes a recording to a temporary file beside `path` and renames it over `path`, so an
    // existing file is either kept whole or replaced whole. Throws RecordingError.
    static void write(const Recording& recording, const std::string& path);
    // Writes several files of one folder so that they change together: all are written and
    // made durable under temporary names before any is renamed, and a write interrupted while
    // renaming is finished by the next write into that folder. Throws RecordingError.
    static void writeTogether(const std::vector<std::pair<const Recording*, std::string>>& files);
    // Finishes renames a crash interrupted in `folder` and removes temporaries left there by
    // writers that died. Called by every write; readers of a folder we write may call it too.
    static void finishInterruptedWrite(const std::string& folder);
    // False (with the reason) when `path` holds something a write should not replace without
    // being told to: a symbolic link, a device, a folder, or a file that is not a recording.
    static bool isReplaceable(const std::string& path, std::string* why = nullptr);

    RecordingFile(const RecordingFile&) = delete;
    RecordingFile& operator=(const RecordingFile&) = delete;
    ~RecordingFile();

    // getters:
    const std::string& path() const { return m_path; }
    std::string fileName() const;
    const std::map<std::string, std::string>& info() const { return m_info; }
    int variableCount() const { return static_cast<int>(m_variables.size()); }
    const VariableInfo& variable(int index) const { return m_variables[static_cast<size_t>(index)].info; }
    // Index of the variable with these keys, or -1.
    int find(std::int32_t key1, std::int32_t key2) const;
    int findBySecondKey(std::int32_t key2) const;
    int rowCount(int variable, List list) const;

    // Appends the rows of one list of a variable to `out`, sharing their bytes. Returns the
    // number of rows appended. Throws RecordingError when the file cannot be read; nothing is
    // appended then.
    int appendRows(int variable, List list, TValorMultiple& out);

private:
    struct StoredRow {
        std::int64_t blob = 0;
        RowShape shape;
    };
    struct StoredVariable {
        VariableInfo info;
        std::map<List, std::vector<StoredRow>> rows;
    };

    RecordingFile(std::string path, sqlite3* db);
    void load();
    std::vector<unsigned char> readBlob(std::int64_t blob);
    // Reads a blob of exactly `bytes` bytes straight into `out`.
    void readBlobInto(std::int64_t blob, void* out, std::size_t bytes);
    [[noreturn]] void fail(const std::string& what) const;

    std::string m_path;
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_blobQuery = nullptr;
    std::map<std::string, std::string> m_info;
    std::vector<StoredVariable> m_variables;
    std::unordered_map<std::int32_t, int> m_bySecondKey;
    // One row per loaded blob and shape, shared into the answers.
    TValorMultiple m_cache;
    std::map<std::tuple<std::int64_t, int, int, int>, int> m_cacheIndex;
};

} // namespace recording
