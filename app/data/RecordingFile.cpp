#include "RecordingFile.h"

#include <sqlite3.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <unordered_map>

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

    query("SELECT key, value FROM recording", [&](sqlite3_stmt* s) { m_info[text(s, 0)] = text(s, 1); });
    std::unordered_map<std::int64_t, size_t> byId;
    query("SELECT id, key1, key2, name, unit, kind, code FROM variables ORDER BY id", [&](sqlite3_stmt* s) {
        StoredVariable v;
        v.info.key1 = sqlite3_column_int(s, 1);
        v.info.key2 = sqlite3_column_int(s, 2);
        v.info.name = text(s, 3);
        v.info.unit = text(s, 4);
        v.info.kind = sqlite3_column_int(s, 5);
        v.info.code = sqlite3_column_int(s, 6);
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
              const int list = sqlite3_column_int(s, 1);
              bool known = false;
              for (List l : kAllLists)
                  known = known || static_cast<int>(l) == list;
              if (!known)
                  fail("variable \"" + v.info.name + "\" has rows in unknown list " + std::to_string(list));
              StoredRow row;
              row.shape.type = sqlite3_column_int(s, 3);
              row.shape.elementSize = sqlite3_column_int(s, 4);
              row.shape.count = sqlite3_column_int(s, 5);
              row.blob = sqlite3_column_int64(s, 6);
              std::vector<StoredRow>& rows = v.rows[static_cast<List>(list)];
              if (sqlite3_column_int(s, 2) != static_cast<int>(rows.size()))
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
        for (size_t j = 0; j < i; ++j) {
            if (m_variables[j].info.key2 == v.info.key2)
                fail("two variables share the second key " + std::to_string(v.info.key2));
        }
    }
}

std::vector<unsigned char> RecordingFile::readBlob(std::int64_t blob) {
    Statement s(m_db, "SELECT data FROM blobs WHERE id = ?");
    if (!s.ok())
        fail(std::string("the recording is damaged (") + sqlite3_errmsg(m_db) + ")");
    sqlite3_bind_int64(s.get(), 1, blob);
    const int rc = sqlite3_step(s.get());
    if (rc != SQLITE_ROW)
        fail(rc == SQLITE_DONE ? std::string("the recording is damaged (a row's data is missing)")
                               : std::string("the recording is damaged (") + sqlite3_errmsg(m_db) + ")");
    const auto* p = static_cast<const unsigned char*>(sqlite3_column_blob(s.get(), 0));
    const int n = sqlite3_column_bytes(s.get(), 0);
    if (n > 0 && p == nullptr)
        fail("a row's data could not be read (out of memory)");
    return std::vector<unsigned char>(p, p + n);
}

int RecordingFile::find(std::int32_t key1, std::int32_t key2) const {
    for (size_t i = 0; i < m_variables.size(); ++i) {
        if (m_variables[i].info.key1 == key1 && m_variables[i].info.key2 == key2)
            return static_cast<int>(i);
    }
    return -1;
}

int RecordingFile::findBySecondKey(std::int32_t key2) const {
    for (size_t i = 0; i < m_variables.size(); ++i) {
        if (m_variables[i].info.key2 == key2)
            return static_cast<int>(i);
    }
    return -1;
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
            const std::vector<unsigned char> bytes = readBlob(r.blob);
            if (bytes.size() != static_cast<size_t>(r.shape.elementSize) * static_cast<size_t>(r.shape.count))
                fail("the recording is damaged (a row's data changed length)");
            const int index =
                m_cache.EntrarValor(bytes.data(), r.shape.elementSize, r.shape.count, r.shape.type);
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
    Writer(const std::string& target, const std::string& temp) : m_target(target), m_temp(temp) {
        if (sqlite3_open_v2(temp.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
            SQLITE_OK)
            fail("cannot create the temporary file " + temp);
    }
    ~Writer() { sqlite3_close_v2(m_db); }

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
    std::string m_temp;
    sqlite3* m_db = nullptr;
};

// A name beside the target that no file has, so a leftover is never written into.
std::string tempNameBeside(const std::string& target) {
    std::random_device rd;
    const fs::path p(target);
    for (;;) {
        const fs::path candidate =
            p.parent_path() / ("." + p.filename().string() + ".tmp" + std::to_string(rd() % 1000000));
        std::error_code ec;
        if (!fs::exists(candidate, ec))
            return candidate.string();
    }
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

} // namespace

void RecordingFile::write(const Recording& rec, const std::string& path) {
    const std::string temp = tempNameBeside(path);
    std::error_code ec;
    try {
        {
            Writer w(path, temp);
            writeInto(rec, w);
        }
        fs::rename(temp, path, ec);
        if (ec)
            throw RecordingError(path + ": cannot replace the file (" + ec.message() + ")");
    } catch (...) {
        fs::remove(temp, ec);
        throw;
    }
}

} // namespace recording
