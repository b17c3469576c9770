#include "PropertyStore.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace chartlib {
namespace {

using T = PETipoPropiedad;

bool isIntType(T t) {
    return t == T::Int || t == T::IntArray;
}
bool isDoubleType(T t) {
    return t == T::Double || t == T::DoubleArray;
}

std::int32_t toInt(double d) {
    if (!std::isfinite(d))
        return 0;
    if (d >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (d <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(d);
}

// Arrays are grown by a cell write; this bounds what one bad index can allocate.
constexpr int kMaxCells = 16 * 1024 * 1024;

} // namespace

std::int64_t PropertyStore::key(int property) const {
    const PEInfoPropiedad* info = peBuscarPropiedad(property);
    if (info == nullptr || !info->porEje)
        return property;
    const auto it = m_values.find(PEP_WORKINGAXIS);
    const std::int64_t axis = (it != m_values.end() && !it->second.ints.empty()) ? it->second.ints[0] : 0;
    return static_cast<std::int64_t>(property) + ((axis + 1) << 32);
}

const PropertyStore::Value* PropertyStore::find(int property) const {
    const auto it = m_values.find(key(property));
    return it == m_values.end() ? nullptr : &it->second;
}

PETipoPropiedad PropertyStore::typeOf(int property, PETipoPropiedad unknown) const {
    if (const PEInfoPropiedad* info = peBuscarPropiedad(property))
        return info->tipo;
    if (const Value* v = find(property))
        return v->type;
    return unknown;
}

PropertyStore::Value& PropertyStore::slot(int property, PETipoPropiedad unknownType) {
    const std::int64_t k = key(property);
    auto it = m_values.find(k);
    if (it == m_values.end()) {
        Value v;
        v.type = typeOf(property, unknownType);
        it = m_values.emplace(k, std::move(v)).first;
    }
    return it->second;
}

std::int64_t PropertyStore::pointCells() const {
    return static_cast<std::int64_t>(std::clamp(integer(PEP_SUBSETS, 1), 0, 1024)) *
           std::max(0, integer(PEP_POINTS, 0));
}

void PropertyStore::touch(Value& v) {
    v.version = ++m_clock;
}

void PropertyStore::retire(Value& v, bool keep) {
    if (!v.lent)
        return;
    std::vector<double> copy;
    if (keep)
        copy = v.doubles;
    m_retired.push_back(std::move(v.doubles));
    v.doubles = std::move(copy);
    v.lent = false;
}

int PropertyStore::elementCount(const Value& v) {
    if (isIntType(v.type))
        return v.runs.empty() ? static_cast<int>(v.ints.size()) : v.runTotal;
    if (isDoubleType(v.type))
        return static_cast<int>(v.doubles.size() * v.repeat);
    return static_cast<int>(v.texts.size());
}

std::size_t PropertyStore::IntArray::size() const {
    return value == nullptr || !isIntType(value->type) ? 0 : static_cast<std::size_t>(elementCount(*value));
}

std::int32_t PropertyStore::IntArray::operator[](std::size_t i) const {
    if (value->runs.empty())
        return value->ints[i];
    const auto run = std::upper_bound(value->runs.begin(), value->runs.end(), static_cast<std::int32_t>(i),
                                      [](std::int32_t at, const auto& r) { return at < r.first; });
    return (run - 1)->second;
}

PropertyStore::IntArray PropertyStore::intArray(int property) const {
    return IntArray{find(property)};
}

void PropertyStore::copyInts(const Value& v, std::int32_t* out, int n) {
    if (v.runs.empty()) {
        std::copy_n(v.ints.begin(), n, out);
        return;
    }
    for (std::size_t r = 0; r < v.runs.size() && v.runs[r].first < n; ++r) {
        const std::int32_t end = r + 1 < v.runs.size() ? v.runs[r + 1].first : v.runTotal;
        std::fill(out + v.runs[r].first, out + std::min(end, n), v.runs[r].second);
    }
}

void PropertyStore::expand(Value& v) {
    if (!v.runs.empty()) {
        std::vector<std::int32_t> whole(static_cast<std::size_t>(v.runTotal));
        copyInts(v, whole.data(), v.runTotal);
        v.ints = std::move(whole);
        std::vector<std::pair<std::int32_t, std::int32_t>>().swap(v.runs);
        v.runTotal = 0;
    }
    if (v.repeat > 1) {
        std::vector<double> whole;
        whole.reserve(v.doubles.size() * v.repeat);
        for (std::size_t r = 0; r < v.repeat; ++r)
            whole.insert(whole.end(), v.doubles.begin(), v.doubles.end());
        v.doubles = std::move(whole);
        v.repeat = 1;
    }
}

PropertyStore::DoubleArray PropertyStore::doubleArray(int property) const {
    const Value* v = find(property);
    static const std::vector<double> none;
    return v == nullptr || !isDoubleType(v->type) ? DoubleArray{&none, 1}
                                                  : DoubleArray{&v->doubles, v->repeat};
}

PropertyStore::DoubleArray PropertyStore::lendDoubles(int property) {
    const auto it = m_values.find(key(property));
    if (it != m_values.end() && isDoubleType(it->second.type))
        it->second.lent = true;
    return doubleArray(property);
}

namespace {

// How many times the first `block` values repeat to make up the `count` values.
std::size_t repeats(const double* p, int count, int block) {
    if (block <= 0 || count < 2 * block || count % block != 0)
        return 1;
    for (int at = block; at < count; at += block)
        if (std::memcmp(p, p + at, static_cast<std::size_t>(block) * sizeof(double)) != 0)
            return 1;
    return static_cast<std::size_t>(count / block);
}

// The runs of `count` integers, or none when runs would not take a quarter of the room.
std::vector<std::pair<std::int32_t, std::int32_t>> runsOf(const std::int32_t* p, int count) {
    std::vector<std::pair<std::int32_t, std::int32_t>> runs;
    if (count < 64)
        return runs;
    for (int i = 0; i < count; ++i) {
        if (i == 0 || p[i] != p[i - 1]) {
            if (runs.size() * 8 >= static_cast<std::size_t>(count))
                return {};
            runs.emplace_back(i, p[i]);
        }
    }
    return runs;
}

} // namespace

int PropertyStore::integer(int property, int fallback) const {
    const Value* v = find(property);
    if (v == nullptr)
        return fallback;
    if (!v->ints.empty())
        return v->ints[0];
    if (!v->runs.empty())
        return v->runs[0].second;
    if (!v->doubles.empty())
        return toInt(v->doubles[0]);
    return fallback;
}

double PropertyStore::real(int property, double fallback) const {
    const Value* v = find(property);
    if (v == nullptr)
        return fallback;
    if (!v->doubles.empty())
        return v->doubles[0];
    if (!v->ints.empty())
        return v->ints[0];
    return fallback;
}

std::string PropertyStore::text(int property) const {
    const Value* v = find(property);
    if (v == nullptr || v->texts.empty())
        return {};
    if (v->type == T::TextArray) {
        std::string joined;
        for (std::size_t i = 0; i < v->texts.size(); ++i)
            joined += (i ? "\t" : "") + v->texts[i];
        return joined;
    }
    return v->texts[0];
}

std::vector<std::int32_t> PropertyStore::ints(int property) const {
    const Value* v = find(property);
    if (v == nullptr)
        return {};
    if (!v->doubles.empty() || isDoubleType(v->type)) {
        std::vector<std::int32_t> out;
        out.reserve(v->doubles.size());
        for (double d : v->doubles)
            out.push_back(toInt(d));
        return out;
    }
    if (v->runs.empty())
        return v->ints;
    std::vector<std::int32_t> out(static_cast<std::size_t>(v->runTotal));
    copyInts(*v, out.data(), v->runTotal);
    return out;
}

const std::vector<double>& PropertyStore::doubles(int property) const {
    static const std::vector<double> kEmpty;
    const Value* v = find(property);
    return v == nullptr ? kEmpty : v->doubles;
}

std::vector<std::string> PropertyStore::texts(int property) const {
    const Value* v = find(property);
    return v == nullptr ? std::vector<std::string>{} : v->texts;
}

std::uint64_t PropertyStore::version(int property) const {
    const Value* v = find(property);
    return v == nullptr ? 0 : v->version;
}

int PropertyStore::axisInteger(int property, int axis, int fallback) const {
    const auto it =
        m_values.find(static_cast<std::int64_t>(property) + ((static_cast<std::int64_t>(axis) + 1) << 32));
    if (it == m_values.end())
        return fallback;
    if (!it->second.ints.empty())
        return it->second.ints[0];
    return it->second.doubles.empty() ? fallback : toInt(it->second.doubles[0]);
}

double PropertyStore::axisReal(int property, int axis, double fallback) const {
    const auto it =
        m_values.find(static_cast<std::int64_t>(property) + ((static_cast<std::int64_t>(axis) + 1) << 32));
    if (it == m_values.end())
        return fallback;
    if (!it->second.doubles.empty())
        return it->second.doubles[0];
    return it->second.ints.empty() ? fallback : it->second.ints[0];
}

const PropertyStore::Value* PropertyStore::axisFind(int property, int axis) const {
    const auto it =
        m_values.find(static_cast<std::int64_t>(property) + ((static_cast<std::int64_t>(axis) + 1) << 32));
    return it == m_values.end() ? nullptr : &it->second;
}

std::string PropertyStore::axisText(int property, int axis) const {
    const auto it =
        m_values.find(static_cast<std::int64_t>(property) + ((static_cast<std::int64_t>(axis) + 1) << 32));
    return (it == m_values.end() || it->second.texts.empty()) ? std::string() : it->second.texts[0];
}

bool PropertyStore::setInteger(int property, std::int32_t value) {
    Value& v = slot(property, T::Int);
    if (isDoubleType(v.type)) {
        if (v.doubles.size() == 1 && v.doubles[0] == value)
            return false;
        retire(v, false);
        v.doubles.assign(1, value);
    } else if (isIntType(v.type)) {
        if (v.ints.size() == 1 && v.ints[0] == value)
            return false;
        v.ints.assign(1, value);
    } else {
        const std::string text = std::to_string(value);
        if (v.texts.size() == 1 && v.texts[0] == text)
            return false;
        v.texts.assign(1, text);
    }
    touch(v);
    return true;
}

bool PropertyStore::setText(int property, const char* text) {
    Value& v = slot(property, T::Text);
    const std::string s = text == nullptr ? std::string() : std::string(text);
    if (isIntType(v.type) || isDoubleType(v.type))
        return false;
    if (v.texts.size() == 1 && v.texts[0] == s)
        return false;
    v.texts.assign(1, s);
    touch(v);
    return true;
}

bool PropertyStore::setArray(int property, const void* data, int count) {
    if (count < 0 || (count > 0 && data == nullptr))
        return false;
    Value& v = slot(property, T::DoubleArray);
    if (isIntType(v.type)) {
        const auto* p = static_cast<const std::int32_t*>(data);
        // Per-point colours are mostly each subset's own colour: kept as runs, they cost a
        // few entries instead of one per point.
        auto runs = property == PEP_POINTCOLORS ? runsOf(p, count) : decltype(v.runs){};
        if (!runs.empty()) {
            if (v.runs == runs && v.runTotal == count)
                return false;
            std::vector<std::int32_t>().swap(v.ints);
            v.runs = std::move(runs);
            v.runTotal = count;
        } else {
            if (v.runs.empty() && static_cast<int>(v.ints.size()) == count &&
                (count == 0 || std::memcmp(v.ints.data(), p, count * sizeof(*p)) == 0))
                return false;
            v.runs.clear();
            v.runTotal = 0;
            v.ints.assign(p, p + count);
        }
    } else if (isDoubleType(v.type)) {
        const auto* p = static_cast<const double*>(data);
        // Subsets sharing one time axis is the common case of a week of trends: the x data is
        // kept once, not once per subset.
        const std::size_t repeat = property == PEP_XDATA ? repeats(p, count, integer(PEP_POINTS)) : 1;
        const int kept = static_cast<int>(static_cast<std::size_t>(count) / repeat);
        if (v.repeat == repeat && static_cast<int>(v.doubles.size()) == kept &&
            (kept == 0 || std::memcmp(v.doubles.data(), p, kept * sizeof(*p)) == 0))
            return false;
        retire(v, false);
        v.doubles.assign(p, p + kept);
        v.repeat = repeat;
    } else {
        const auto* p = static_cast<const char* const*>(data);
        std::vector<std::string> texts;
        texts.reserve(count);
        for (int i = 0; i < count; ++i)
            texts.emplace_back(p[i] == nullptr ? "" : p[i]);
        if (texts == v.texts)
            return false;
        v.texts = std::move(texts);
    }
    touch(v);
    return true;
}

bool PropertyStore::setCell(int property, int cell, const void* value) {
    if (cell < 0 || value == nullptr)
        return false;
    Value& v = slot(property, T::DoubleArray);
    // Growing is bounded by what the chart's points can need; writing inside never is.
    if (cell >= elementCount(v) && cell >= std::max(static_cast<std::int64_t>(kMaxCells), pointCells()))
        return false;
    retire(v, true);
    // One cell of a compactly kept array changes: the array is kept whole from then on.
    expand(v);
    if (isIntType(v.type)) {
        if (static_cast<int>(v.ints.size()) <= cell)
            v.ints.resize(cell + 1, 0);
        v.ints[cell] = *static_cast<const std::int32_t*>(value);
    } else if (isDoubleType(v.type)) {
        if (static_cast<int>(v.doubles.size()) <= cell)
            v.doubles.resize(cell + 1, 0.0);
        v.doubles[cell] = *static_cast<const double*>(value);
    } else {
        if (static_cast<int>(v.texts.size()) <= cell)
            v.texts.resize(cell + 1);
        const char* text = *static_cast<const char* const*>(value);
        v.texts[cell] = text == nullptr ? "" : text;
    }
    touch(v);
    return true;
}

int PropertyStore::getArray(int property, void* buffer, int capacity) const {
    const Value* v = find(property);
    if (v == nullptr)
        return 0;
    const int count = elementCount(*v);
    const int n = buffer == nullptr ? 0 : std::min(count, std::max(capacity, 0));
    // A query for the count alone copies nothing (an empty buffer may be a null pointer).
    if (n == 0)
        return count;
    if (isIntType(v->type)) {
        copyInts(*v, static_cast<std::int32_t*>(buffer), n);
    } else if (isDoubleType(v->type)) {
        auto* out = static_cast<double*>(buffer);
        for (int at = 0; at < n; at += static_cast<int>(v->doubles.size()))
            std::memcpy(out + at, v->doubles.data(),
                        std::min<std::size_t>(v->doubles.size(), static_cast<std::size_t>(n - at)) *
                            sizeof(double));
    } else {
        // Pointers into the stored texts, valid until the property changes.
        v->pointers.clear();
        for (const auto& t : v->texts)
            v->pointers.push_back(t.c_str());
        std::memcpy(buffer, v->pointers.data(), n * sizeof(const char*));
    }
    return count;
}

bool PropertyStore::getCell(int property, int cell, void* value) const {
    const Value* v = find(property);
    if (v == nullptr || value == nullptr || cell < 0 || cell >= elementCount(*v))
        return false;
    if (isIntType(v->type))
        *static_cast<std::int32_t*>(value) = IntArray{v}[static_cast<std::size_t>(cell)];
    else if (isDoubleType(v->type))
        *static_cast<double*>(value) = v->doubles[static_cast<std::size_t>(cell) % v->doubles.size()];
    else
        *static_cast<const char**>(value) = v->texts[cell].c_str();
    return true;
}

} // namespace chartlib
