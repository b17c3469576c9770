// The recording reader on hostile files. An input that starts like an SQLite file is the file
// itself (header check, page structure, schema); any other input is SQL run against a small
// valid recording first (schema, row lengths, integer widths, the data contract), which
// reaches the reader's checks far faster than flipped bits do. Opening must either succeed
// with every row readable or fail with a RecordingError; nothing else is allowed.

#include "FuzzFolder.h"
#include "Recording.h"
#include "RecordingFile.h"
#include "TTiempo.h"

#include <sqlite3.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

const std::string& folder() {
    return fuzzFolder("recording");
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const std::string& path, const char* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data, static_cast<std::streamsize>(size));
}

// A disturbances variable (every row type) and a trend, stored with small pages so the file
// stays a few kilobytes.
const std::string& baseRecording() {
    static const std::string bytes = [] {
        using namespace recording;
        Recording rec;
        rec.info["site"] = "fuzz";
        Variable& v = rec.add(VariableInfo{7, 42, "Disturbances", "V", 6, 37273});
        v.list(List::Values).EntrarDoubles({1.5, kNoValue, 3});
        v.list(List::Times)
            .EntrarTiempos({TTiempo(2026, 12, 5, 10, 0, 0, -1), TTiempo(2026, 12, 5, 10, 0, 1, 5),
                            TTiempo(2026, 12, 5, 10, 0, 2, 0)});
        v.list(List::Units).EntrarTexto("V");
        v.list(List::Names).EntrarTexto("n");
        v.list(List::Options).EntrarDoubles(optionsRow(6, 37273, 0.0005));
        v.list(List::Intervals).EntrarDoubles({0, 2});
        v.list(List::GeneralTimes).EntrarTiempos({TTiempo(2026, 12, 5, 10, 0, 0, -1)});
        v.list(List::Additional).EntrarEnteros({1, 2, 3});
        const unsigned char flags[] = {0, 1, 255};
        v.list(List::Additional).EntrarValor(flags, 1, 3, TV_BYTE);
        v.list(List::Decimals).EntrarDoubles({1});
        Variable& t = rec.add(VariableInfo{1, 2, "Trend", "A", 0, 0});
        t.list(List::Values).EntrarDoubles({1, 2});
        t.list(List::Times)
            .EntrarTiempos({TTiempo(2026, 12, 5, 10, 0, 0, -1), TTiempo(2026, 12, 5, 10, 0, 1, -1)});
        t.list(List::Units).EntrarTexto("A");
        t.list(List::Names).EntrarTexto("t");
        t.list(List::Options).EntrarDoubles(optionsRow(0, 0, 1));
        t.list(List::Intervals).EntrarTiempos({TTiempo(2026, 12, 5, 10, 0, 0, -1)});
        t.list(List::GeneralTimes).EntrarTiempos({TTiempo(2026, 12, 5, 10, 0, 0, -1)});
        t.list(List::Decimals).EntrarDoubles({2});
        const std::string path = folder() + "/base.STD";
        RecordingFile::write(rec, path);
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        sqlite3_exec(db, "PRAGMA page_size = 512; VACUUM;", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return readFile(path);
    }();
    return bytes;
}

// SQL from the fuzzer may change the file and nothing else: no other files, no endless loops,
// no gigabyte values.
int authorize(void*, int action, const char*, const char*, const char*, const char*) {
    return action == SQLITE_ATTACH || action == SQLITE_DETACH ? SQLITE_DENY : SQLITE_OK;
}

int stopLongRuns(void* steps) {
    return ++*static_cast<int*>(steps) > 2000;
}

void applySql(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
        sqlite3_limit(db, SQLITE_LIMIT_LENGTH, 1 << 16);
        sqlite3_set_authorizer(db, authorize, nullptr);
        int steps = 0;
        sqlite3_progress_handler(db, 100, stopLongRuns, &steps);
        sqlite3_exec(db, "PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY;", nullptr, nullptr,
                     nullptr);
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    baseRecording();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = folder() + "/input.STD";
    const char* bytes = reinterpret_cast<const char*>(data);
    if (size >= 16 && std::memcmp(data, "SQLite format 3", 16) == 0) {
        writeFile(path, bytes, size);
    } else {
        writeFile(path, baseRecording().data(), baseRecording().size());
        applySql(path, std::string(bytes, size));
    }
    try {
        auto file = recording::RecordingFile::open(path);
        for (int v = 0; v < file->variableCount(); ++v) {
            for (recording::List l : recording::kAllLists) {
                TValorMultiple rows;
                const int n = file->appendRows(v, l, rows);
                if (n != file->rowCount(v, l) || rows.Cuenta() != n)
                    std::abort();
            }
        }
    } catch (const recording::RecordingError&) {
    }
    return 0;
}
