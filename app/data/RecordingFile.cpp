#include "RecordingFile.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <random>
#include <unordered_map>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace recording {

namespace {

constexpr char kSchema[] = R"sql(
CREATE TABLE recording(key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE variables(
    id INTEGER PRIMARY KEY,
    key1 INTEGER NOT NULL,
    key2 INTEGER NOT NULL UNIQUE,
    name TEXT NOT NULL,
    unit TEXT NOT NULL,
    kind INTEGER NOT NULL,
    code INTEGER NOT NULL,
    UNIQUE(key1, key2));
CREATE TABLE blobs(id INTEGER PRIMARY KEY, data BLOB NOT NULL);
CREATE TABLE rows(
    variable INTEGER NOT NULL REFERENCES variables(id),
    list INTEGER NOT NULL,
    position INTEGER NOT NULL,
    type INTEGER NOT NULL,
    element_size INTEGER NOT NULL,
    count INTEGER NOT NULL,
    blob INTEGER NOT NULL REFERENCES blobs(id),
    PRIMARY KEY(variable, list, position));
)sql";

// RAII statement; errors are reported by the caller with the database's message.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) { m_rc = sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr); }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    bool ok() const { return m_rc == SQLITE_OK; }
    sqlite3_stmt* get() const { return m_stmt; }

private:
    sqlite3_stmt* m_stmt = nullptr;
    int m_rc = SQLITE_OK;
};

std::string percentEncode(const std::string& path) {
    std::string out;
    for (unsigned char c : path) {
        if (c == '%' || c == '?' || c == '#' || c < 0x20) {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

unsigned readBigEndian(const unsigned char* p, int bytes) {
    unsigned v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | p[i];
    return v;
}

// Checks the file's header against its size before SQLite sees it: SQLite notices a missing
// tail only when it reaches the lost pages, which for bulk rows is long after opening.
void checkHeader(const std::string& path) {
    std::error_code ec;
    if (!fs::exists(path, ec))
        throw RecordingError(path + ": the file does not exist");
    if (!fs::is_regular_file(path, ec))
        throw RecordingError(path + ": not a regular file");
    const auto size = fs::file_size(path, ec);
    if (ec)
        throw RecordingError(path + ": cannot read the file size (" + ec.message() + ")");
    if (size == 0)
        throw RecordingError(path + ": the file is empty, not a recording");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw RecordingError(path + ": cannot be opened for reading");
    unsigned char header[100] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    const auto got = static_cast<size_t>(in.gcount());
    static const char kMagic[] = "SQLite format 3";
    if (got < 16 || std::memcmp(header, kMagic, 16) != 0)
        throw RecordingError(path + ": not a recording (the file is not an SQLite database)");
    if (got < sizeof header)
        throw RecordingError(path + ": the recording is truncated (" + std::to_string(size) +
                             " bytes, shorter than its header)");
    unsigned pageSize = readBigEndian(header + 16, 2);
    if (pageSize == 1)
        pageSize = 65536;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0)
        throw RecordingError(path + ": the recording is damaged (invalid page size " +
                             std::to_string(pageSize) + ")");
    const unsigned pages = readBigEndian(header + 28, 4);
    const bool pagesValid = readBigEndian(header + 24, 4) == readBigEndian(header + 92, 4) && pages > 0;
    if (pagesValid && size < static_cast<std::uintmax_t>(pages) * pageSize)
        throw RecordingError(path + ": the recording is truncated (" + std::to_string(size) + " of " +
                             std::to_string(static_cast<std::uintmax_t>(pages) * pageSize) +
                             " bytes present)");
    if (size % pageSize != 0)
        throw RecordingError(path + ": the recording is truncated (" + std::to_string(size) +
                             " bytes, not a whole number of pages)");
}

} // namespace

RecordingFile::RecordingFile(std::string path, sqlite3* db) : m_path(std::move(path)), m_db(db) {}

RecordingFile::~RecordingFile() {
    sqlite3_finalize(m_blobQuery);
    sqlite3_close_v2(m_db);
}

std::string RecordingFile::fileName() const {
    return fs::path(m_path).filename().string();
}

void RecordingFile::fail(const std::string& what) const {
    throw RecordingError(m_path + ": " + what);
}

std::shared_ptr<RecordingFile> RecordingFile::open(const std::string& path) {
    checkHeader(path);
    sqlite3* db = nullptr;
    // URIs take forward slashes and a leading one before a drive letter.
    std::string absolute = fs::absolute(path).generic_string();
    if (absolute.empty() || absolute[0] != '/')
        absolute.insert(absolute.begin(), '/');
    const std::string uri = "file:" + percentEncode(absolute) + "?immutable=1";
    const int rc = sqlite3_open_v2(uri.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    std::shared_ptr<RecordingFile> file(new RecordingFile(path, db));
    if (rc != SQLITE_OK)
        file->fail(std::string("cannot be opened (") + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)) + ")");
    file->load();
    return file;
}

void RecordingFile::load() {
    auto pragma = [&](const char* sql) {
        Statement s(m_db, sql);
        if (!s.ok())
            fail(std::string("not a recording (") + sqlite3_errmsg(m_db) + ")");
        if (sqlite3_step(s.get()) != SQLITE_ROW)
            fail(std::string("the recording is damaged (") + sqlite3_errmsg(m_db) + ")");
        return sqlite3_column_int(s.get(), 0);
    };
    if (pragma("PRAGMA application_id") != kApplicationId)
        fail("not a recording (an SQLite database of another application)");
    const int version = pragma("PRAGMA user_version");
    if (version > kSchemaVersion)
        fail("the recording has schema version " + std::to_string(version) + ", newer than version " +
             std::to_string(kSchemaVersion) + " that this program reads");
    if (version < 1)
        fail("not a recording (no schema version)");

    auto query = [&](const char* sql, const std::function<void(sqlite3_stmt*)>& row) {
        Statement s(m_db, sql);
        if (!s.ok())
            fail(std::string("the recording is damaged (") + sqlite3_errmsg(m_db) + ")");
        int rc;
        while ((rc = sqlite3_step(s.get())) == SQLITE_ROW)
            row(s.get());
        if (rc != SQLITE_DONE)
            fail(std::string("the recording is damaged (") + sqlite3_errmsg(m_db) + ")");
    };
    auto text = [](sqlite3_stmt* s, int col) {
        const unsigned char* t = sqlite3_column_text(s, col);
        return t ? std::string(reinterpret_cast<const char*>(t)) : std::string();
    };

    // Every integer is read at 64 bits and checked: a narrowing read would turn 4294967300 into 4.
    auto int32At = [&](sqlite3_stmt* s, int col, const char* what, std::int64_t lo, std::int64_t hi) {
        const std::int64_t v = sqlite3_column_int64(s, col);
        if (sqlite3_column_type(s, col) != SQLITE_INTEGER || v < lo || v > hi)
            fail(std::string("the recording is damaged (") + what + " " + std::to_string(v) +
                 " out of range)");
        return static_cast<int>(v);
    };
    constexpr std::int64_t kMin32 = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kMax32 = std::numeric_limits<std::int32_t>::max();

    query("SELECT key, value FROM recording", [&](sqlite3_stmt* s) { m_info[text(s, 0)] = text(s, 1); });
    std::unordered_map<std::int64_t, size_t> byId;
    query("SELECT id, key1, key2, name, unit, kind, code FROM variables ORDER BY id", [&](sqlite3_stmt* s) {
        StoredVariable v;
        v.info.key1 = int32At(s, 1, "first key", kMin32, kMax32);
        v.info.key2 = int32At(s, 2, "second key", kMin32, kMax32);
        v.info.name = text(s, 3);
        v.info.unit = text(s, 4);
        v.info.kind = int32At(s, 5, "graph kind", kMin32, kMax32);
        v.info.code = int32At(s, 6, "variable code", kMin32, kMax32);
        // The schema declares the second key unique, but a file need not have been written by us.
        if (!m_bySecondKey.emplace(v.info.key2, static_cast<int>(m_variables.size())).second)
            fail("two variables share the second key " + std::to_string(v.info.key2));
        byId[sqlite3_column_int64(s, 0)] = m_variables.size();
        m_variables.push_back(std::move(v));
    });
    query("SELECT r.variable, r.list, r.position, r.type, r.element_size, r.count, r.blob, length(b.data) "
          "FROM rows r LEFT JOIN blobs b ON b.id = r.blob ORDER BY r.variable, r.list, r.position",
          [&](sqlite3_stmt* s) {
              auto it = byId.find(sqlite3_column_int64(s, 0));
              if (it == byId.end())
                  fail("the recording is damaged (a row belongs to no variable)");
              StoredVariable& v = m_variables[it->second];
              const int list = int32At(s, 1, "list number", kMin32, kMax32);
              bool known = false;
              for (List l : kAllLists)
                  known = known || static_cast<int>(l) == list;
              if (!known)
                  fail("variable \"" + v.info.name + "\" has rows in unknown list " + std::to_string(list));
              StoredRow row;
              row.shape.type = int32At(s, 3, "row type", kMin32, kMax32);
              row.shape.elementSize = int32At(s, 4, "element size", 0, kMax32);
              row.shape.count = int32At(s, 5, "row length", 0, kMax32);
              row.blob = sqlite3_column_int64(s, 6);
              std::vector<StoredRow>& rows = v.rows[static_cast<List>(list)];
              if (sqlite3_column_int64(s, 2) != static_cast<std::int64_t>(rows.size()))
                  fail("variable \"" + v.info.name + "\": the " + listName(static_cast<List>(list)) +
                       " rows are not numbered 0, 1, 2, ...");
              if (sqlite3_column_type(s, 7) == SQLITE_NULL)
                  fail("variable \"" + v.info.name + "\": a " + listName(static_cast<List>(list)) +
                       " row has no data");
              const std::int64_t expected = static_cast<std::int64_t>(row.shape.elementSize) *
                                            static_cast<std::int64_t>(row.shape.count);
              if (row.shape.elementSize < 0 || row.shape.count < 0 || sqlite3_column_int64(s, 7) != expected)
                  fail("variable \"" + v.info.name + "\": a " + listName(static_cast<List>(list)) +
                       " row holds " + std::to_string(sqlite3_column_int64(s, 7)) +
                       " bytes where its shape needs " + std::to_string(expected));
              rows.push_back(row);
          });

    for (size_t i = 0; i < m_variables.size(); ++i) {
        StoredVariable& v = m_variables[i];
        std::map<List, std::vector<RowShape>> shapes;
        for (const auto& [l, rows] : v.rows)
            for (const StoredRow& r : rows)
                shapes[l].push_back(r.shape);
        std::vector<double> options;
        auto o = v.rows.find(List::Options);
        if (o != v.rows.end() && !o->second.empty() && o->second[0].shape.type == TV_DOUBLE &&
            o->second[0].shape.elementSize == 8) {
            const std::vector<unsigned char> bytes = readBlob(o->second[0].blob);
            options.resize(bytes.size() / 8);
            std::memcpy(options.data(), bytes.data(), options.size() * 8);
        }
        if (auto fault = checkContract(v.info, shapes, options))
            fail("the recording breaks the data contract: " + *fault);
    }
}

std::vector<unsigned char> RecordingFile::readBlob(std::int64_t blob) {
    // Prepared once: opening reads one options row per variable.
    if (!m_blobQuery && sqlite3_prepare_v2(m_db, "SELECT data FROM blobs WHERE id = ?", -1, &m_blobQuery,
                                           nullptr) != SQLITE_OK)
        fail(std::string("the recording is damaged (") + sqlite3_errmsg(m_db) + ")");
    sqlite3_stmt* s = m_blobQuery;
    sqlite3_reset(s);
    sqlite3_bind_int64(s, 1, blob);
    const int rc = sqlite3_step(s);
    if (rc != SQLITE_ROW)
        fail(rc == SQLITE_DONE ? std::string("the recording is damaged (a row's data is missing)")
                               : std::string("the recording is damaged (") + sqlite3_errmsg(m_db) + ")");
    const auto* p = static_cast<const unsigned char*>(sqlite3_column_blob(s, 0));
    const int n = sqlite3_column_bytes(s, 0);
    if (n > 0 && p == nullptr)
        fail("a row's data could not be read (out of memory)");
    std::vector<unsigned char> bytes(p, p + n);
    sqlite3_reset(s);
    return bytes;
}

void RecordingFile::readBlobInto(std::int64_t blob, void* out, std::size_t bytes) {
    // Incremental blob I/O copies from the file's pages into the row, without the statement's
    // own copy of the value.
    sqlite3_blob* handle = nullptr;
    if (sqlite3_blob_open(m_db, "main", "blobs", "data", blob, 0, &handle) != SQLITE_OK) {
        const std::string why = sqlite3_errmsg(m_db);
        sqlite3_blob_close(handle);
        fail(why.rfind("no such rowid", 0) == 0
                 ? std::string("the recording is damaged (a row's data is missing)")
                 : "the recording is damaged (" + why + ")");
    }
    const bool sameLength = static_cast<std::size_t>(sqlite3_blob_bytes(handle)) == bytes;
    const int rc =
        sameLength && bytes > 0 ? sqlite3_blob_read(handle, out, static_cast<int>(bytes), 0) : SQLITE_OK;
    const std::string why = rc == SQLITE_OK ? std::string() : sqlite3_errmsg(m_db);
    sqlite3_blob_close(handle);
    if (!sameLength)
        fail("the recording is damaged (a row's data changed length)");
    if (rc != SQLITE_OK)
        fail("the recording is damaged (" + why + ")");
}

int RecordingFile::find(std::int32_t key1, std::int32_t key2) const {
    const int i = findBySecondKey(key2);
    return i >= 0 && m_variables[static_cast<size_t>(i)].info.key1 == key1 ? i : -1;
}

int RecordingFile::findBySecondKey(std::int32_t key2) const {
    auto it = m_bySecondKey.find(key2);
    return it == m_bySecondKey.end() ? -1 : it->second;
}

int RecordingFile::rowCount(int variable, List list) const {
    if (variable < 0 || variable >= variableCount())
        return 0;
    const auto& rows = m_variables[static_cast<size_t>(variable)].rows;
    auto it = rows.find(list);
    return it == rows.end() ? 0 : static_cast<int>(it->second.size());
}

int RecordingFile::appendRows(int variable, List list, TValorMultiple& out) {
    if (variable < 0 || variable >= variableCount())
        return 0;
    const auto& rows = m_variables[static_cast<size_t>(variable)].rows;
    auto it = rows.find(list);
    if (it == rows.end())
        return 0;
    // Every row is loaded before any is appended: a partial answer would shift the caller's
    // rows against those of the other lists.
    std::vector<int> cached;
    for (const StoredRow& r : it->second) {
        const auto key = std::make_tuple(r.blob, r.shape.type, r.shape.elementSize, r.shape.count);
        auto c = m_cacheIndex.find(key);
        if (c == m_cacheIndex.end()) {
            // The row is allocated once, at its size, and the blob read into it: no copy of
            // the value, no zero-fill before it is overwritten.
            TValorMultiple row;
            void* bytes = row.EntrarBloqueSinCeros(r.shape.elementSize, r.shape.count, r.shape.type);
            readBlobInto(r.blob, bytes,
                         static_cast<size_t>(r.shape.elementSize) * static_cast<size_t>(r.shape.count));
            const int index = m_cache.CopiarFila(row, 0);
            c = m_cacheIndex.emplace(key, index).first;
        }
        cached.push_back(c->second);
    }
    for (int index : cached)
        out.CopiarFila(m_cache, index);
    return static_cast<int>(cached.size());
}

// ---------------------------------------------------------------------------------------------
// Writing

namespace {

class Writer {
public:
    Writer(const std::string& target, const std::string& temp) : m_target(target) {
        const int rc =
            sqlite3_open_v2(temp.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (rc != SQLITE_OK) {
            const std::string why = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
            // SQLite hands back a handle even when opening fails, and it must still be closed.
            sqlite3_close_v2(m_db);
            m_db = nullptr;
            fail("cannot create the temporary file " + temp + " (" + why + ")");
        }
    }
    ~Writer() { sqlite3_close_v2(m_db); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    void exec(const std::string& sql) {
        char* err = nullptr;
        if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
            const std::string msg = err ? err : "unknown error";
            sqlite3_free(err);
            fail("cannot write (" + msg + ")");
        }
    }
    void step(Statement& s) {
        if (sqlite3_step(s.get()) != SQLITE_DONE)
            fail(std::string("cannot write (") + sqlite3_errmsg(m_db) + ")");
        sqlite3_reset(s.get());
        sqlite3_clear_bindings(s.get());
    }
    Statement prepare(const char* sql) { return Statement(m_db, sql); }
    sqlite3* db() const { return m_db; }
    [[noreturn]] void fail(const std::string& what) { throw RecordingError(m_target + ": " + what); }

private:
    std::string m_target;
    sqlite3* m_db = nullptr;
};

// Temporaries are ".NAME.tmpPID-NNNNNN" beside their target, so a leftover can be told from a
// user's file and from a temporary that a live writer is still filling.
constexpr char kTempInfix[] = ".tmp";
// Lists the temporaries of a write of several files once all of them are complete: a write
// interrupted while renaming them is finished from it.
constexpr char kJournalName[] = ".kestramon-pending";
constexpr char kJournalFirstLine[] = "kestramon pending renames 1";

// Anything of ours older than this process was left by a writer that died.
const fs::file_time_type kProcessStart = fs::file_time_type::clock::now();

std::string tempNameBeside(const std::string& target) {
    std::random_device rd;
    const fs::path p(target);
    const std::string stem = "." + p.filename().string() + kTempInfix + std::to_string(::getpid()) + "-";
    for (;;) {
        const fs::path candidate = p.parent_path() / (stem + std::to_string(rd() % 1000000));
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(candidate, ec)))
            return candidate.string();
    }
}

// The writing process's id when `name` is one of our temporaries, else nothing; 0 for the
// ".NAME.tmpNNNNNN" of earlier versions, which did not record their writer.
std::optional<long> tempOwner(const std::string& name) {
    if (name.size() < 2 || name[0] != '.')
        return std::nullopt;
    const size_t infix = name.rfind(kTempInfix);
    if (infix == std::string::npos || infix < 2)
        return std::nullopt;
    const std::string tail = name.substr(infix + std::strlen(kTempInfix));
    const size_t dash = tail.find('-');
    if (tail.empty() || tail.find_first_not_of("0123456789-") != std::string::npos)
        return std::nullopt;
    if (dash == std::string::npos)
        return tail.size() <= 9 ? std::optional<long>(0) : std::nullopt;
    if (dash == 0 || dash > 9 || dash + 1 == tail.size() || tail.find('-', dash + 1) != std::string::npos)
        return std::nullopt;
    return std::stol(tail.substr(0, dash));
}

bool processAlive(long pid) {
#ifdef _WIN32
    (void)pid;
    return true;
#else
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
#endif
}

// Makes a file's bytes (or a folder's entries) durable; a rename is only as safe as this.
bool syncToDisk(const std::string& path, bool folder) {
#ifdef _WIN32
    (void)path;
    (void)folder;
    return true;
#else
    const int fd = ::open(path.c_str(), folder ? (O_RDONLY | O_DIRECTORY) : O_RDONLY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0 || (folder && errno == EINVAL);
    ::close(fd);
    return ok;
#endif
}

std::string folderOf(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

void writeInto(const Recording& rec, Writer& w) {
    // Large pages: bulk rows become short overflow chains, which is what makes loading fast.
    w.exec("PRAGMA page_size = 65536; PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;");
    w.exec("PRAGMA application_id = " + std::to_string(kApplicationId) + ";");
    w.exec("PRAGMA user_version = " + std::to_string(kSchemaVersion) + ";");
    w.exec("BEGIN;");
    w.exec(kSchema);

    Statement info = w.prepare("INSERT INTO recording(key, value) VALUES(?, ?)");
    for (const auto& [k, v] : rec.info) {
        sqlite3_bind_text(info.get(), 1, k.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(info.get(), 2, v.c_str(), -1, SQLITE_TRANSIENT);
        w.step(info);
    }

    Statement var =
        w.prepare("INSERT INTO variables(id, key1, key2, name, unit, kind, code) VALUES(?,?,?,?,?,?,?)");
    Statement blob = w.prepare("INSERT INTO blobs(id, data) VALUES(?, ?)");
    Statement row = w.prepare(
        "INSERT INTO rows(variable, list, position, type, element_size, count, blob) VALUES(?,?,?,?,?,?,?)");
    if (!var.ok() || !blob.ok() || !row.ok())
        w.fail(std::string("cannot write (") + sqlite3_errmsg(w.db()) + ")");

    // Identical rows (the shared time axis of six channels, copies of interval lists) are
    // stored once.
    struct Stored {
        const void* data;
        size_t bytes;
        std::int64_t id;
    };
    std::unordered_multimap<size_t, Stored> stored;
    std::int64_t nextBlob = 1;

    for (size_t i = 0; i < rec.variables.size(); ++i) {
        const Variable& v = rec.variables[i];
        std::vector<double> options;
        if (const TValorMultiple* o = v.find(List::Options); o && o->Doubles(0))
            options.assign(o->Doubles(0), o->Doubles(0) + o->Elementos(0));
        if (auto fault = checkContract(v.info, v.shapes(), options))
            w.fail("the recording would break the data contract: " + *fault);
        const auto id = static_cast<std::int64_t>(i + 1);
        sqlite3_bind_int64(var.get(), 1, id);
        sqlite3_bind_int(var.get(), 2, v.info.key1);
        sqlite3_bind_int(var.get(), 3, v.info.key2);
        sqlite3_bind_text(var.get(), 4, v.info.name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(var.get(), 5, v.info.unit.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(var.get(), 6, v.info.kind);
        sqlite3_bind_int(var.get(), 7, v.info.code);
        w.step(var);

        for (const auto& [l, rows] : v.lists) {
            for (int r = 0; r < rows.Cuenta(); ++r) {
                const size_t bytes =
                    static_cast<size_t>(rows.TamanoElemento(r)) * static_cast<size_t>(rows.Elementos(r));
                const void* data = rows.Datos(r);
                const size_t h =
                    std::hash<std::string_view>{}(std::string_view(static_cast<const char*>(data), bytes)) ^
                    (bytes * 0x9E3779B97F4A7C15ULL);
                std::int64_t blobId = 0;
                auto range = stored.equal_range(h);
                for (auto it = range.first; it != range.second && blobId == 0; ++it) {
                    if (it->second.bytes == bytes &&
                        (bytes == 0 || std::memcmp(it->second.data, data, bytes) == 0))
                        blobId = it->second.id;
                }
                if (blobId == 0) {
                    blobId = nextBlob++;
                    sqlite3_bind_int64(blob.get(), 1, blobId);
                    sqlite3_bind_blob64(blob.get(), 2, bytes ? data : "", bytes, SQLITE_STATIC);
                    w.step(blob);
                    stored.emplace(h, Stored{data, bytes, blobId});
                }
                sqlite3_bind_int64(row.get(), 1, id);
                sqlite3_bind_int(row.get(), 2, static_cast<int>(l));
                sqlite3_bind_int(row.get(), 3, r);
                sqlite3_bind_int(row.get(), 4, rows.Tipo(r));
                sqlite3_bind_int(row.get(), 5, rows.TamanoElemento(r));
                sqlite3_bind_int(row.get(), 6, rows.Elementos(r));
                sqlite3_bind_int64(row.get(), 7, blobId);
                w.step(row);
            }
        }
    }
    w.exec("COMMIT;");
}

// Writes `rec` to a new temporary beside `target` and makes it durable; returns its path.
std::string writeTemporary(const Recording& rec, const std::string& target) {
    const std::string temp = tempNameBeside(target);
    std::error_code ec;
    try {
        {
            Writer w(target, temp);
            writeInto(rec, w);
        }
        if (!syncToDisk(temp, false))
            throw RecordingError(target + ": cannot write (" + std::strerror(errno) + ")");
    } catch (...) {
        fs::remove(temp, ec);
        throw;
    }
    return temp;
}

void writeJournal(const std::string& folder,
                  const std::vector<std::pair<std::string, std::string>>& renames) {
    const std::string journal = (fs::path(folder) / kJournalName).string();
    const std::string temp = tempNameBeside(journal);
    std::error_code ec;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << kJournalFirstLine << '\n';
        for (const auto& [from, to] : renames)
            out << fs::path(from).filename().string() << '\n' << fs::path(to).filename().string() << '\n';
        out.flush();
        if (!out) {
            fs::remove(temp, ec);
            throw RecordingError(folder + ": cannot write the list of pending renames");
        }
    }
    bool ok = syncToDisk(temp, false);
    if (ok)
        fs::rename(temp, journal, ec);
    if (!ok || ec || !syncToDisk(folder, true)) {
        fs::remove(temp, ec);
        throw RecordingError(folder + ": cannot write the list of pending renames");
    }
}

} // namespace

bool RecordingFile::isReplaceable(const std::string& path, std::string* why) {
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(path, ec);
    if (ec || !fs::exists(st))
        return true;
    auto no = [&](const std::string& reason) {
        if (why)
            *why = reason;
        return false;
    };
    if (fs::is_symlink(st))
        return no("is a symbolic link");
    if (!fs::is_regular_file(st))
        return no("is not a regular file");
    std::ifstream in(path, std::ios::binary);
    unsigned char header[100] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    if (in.gcount() != static_cast<std::streamsize>(sizeof header) ||
        std::memcmp(header, "SQLite format 3", 16) != 0 || readBigEndian(header + 68, 4) != kApplicationId)
        return no("exists and is not a recording");
    return true;
}

void RecordingFile::finishInterruptedWrite(const std::string& folder) {
    std::error_code ec;
    const fs::path journal = fs::path(folder) / kJournalName;
    if (fs::exists(journal, ec)) {
        std::ifstream in(journal, std::ios::binary);
        std::string line, from, to;
        // The journal was renamed into place whole, so a first line that is not ours means
        // the file is not ours: it is left alone.
        if (std::getline(in, line) && line == kJournalFirstLine) {
            while (std::getline(in, from) && std::getline(in, to)) {
                const bool plain = from.find('/') == std::string::npos && to.find('/') == std::string::npos &&
                                   tempOwner(from).has_value();
                if (plain && fs::exists(fs::path(folder) / from, ec))
                    fs::rename(fs::path(folder) / from, fs::path(folder) / to, ec);
            }
            syncToDisk(folder, true);
            fs::remove(journal, ec);
            syncToDisk(folder, true);
        }
    }
    // Temporaries of writers that died: older than this process and without a live owner.
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const std::optional<long> owner = tempOwner(name);
        if (!owner || processAlive(*owner) || !it->is_regular_file(ec))
            continue;
        const auto written = fs::last_write_time(it->path(), ec);
        if (!ec && written < kProcessStart)
            fs::remove(it->path(), ec);
        ec.clear();
    }
}

void RecordingFile::write(const Recording& rec, const std::string& path) {
    writeTogether({{&rec, path}});
}

void RecordingFile::writeTogether(const std::vector<std::pair<const Recording*, std::string>>& files) {
    if (files.empty())
        return;
    const std::string folder = folderOf(files.front().second);
    for (const auto& f : files) {
        if (folderOf(f.second) != folder)
            throw RecordingError(f.second + ": files written together must share one folder");
    }
    finishInterruptedWrite(folder);

    std::vector<std::pair<std::string, std::string>> renames;
    std::error_code ec;
    try {
        for (const auto& [rec, path] : files)
            renames.emplace_back(writeTemporary(*rec, path), path);
        if (renames.size() > 1)
            writeJournal(folder, renames);
    } catch (...) {
        for (const auto& r : renames)
            fs::remove(r.first, ec);
        throw;
    }
    for (const auto& [temp, path] : renames) {
        fs::rename(temp, path, ec);
        if (ec) {
            const std::string why = ec.message();
            // Before the first rename nothing changed; after it the journal finishes the rest.
            if (&temp == &renames.front().first) {
                for (const auto& r : renames)
                    fs::remove(r.first, ec);
                fs::remove(fs::path(folder) / kJournalName, ec);
            }
            throw RecordingError(path + ": cannot replace the file (" + why + ")");
        }
    }
    syncToDisk(folder, true);
    if (renames.size() > 1) {
        fs::remove(fs::path(folder) / kJournalName, ec);
        syncToDisk(folder, true);
    }
}

} // namespace recording
