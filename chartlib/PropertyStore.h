#pragma once

#include "ChartProperties.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace chartlib {

// Every value a chart was given, by property number. Known numbers keep the type of the
// property table; unknown ones keep the type they were first set with (PEnset: integer,
// PEszset: text, PEvset: doubles), so windows can use numbers the table does not list yet.
// A scalar is an array of one. Per-axis properties are stored under the working axis.
class PropertyStore {
public:
    struct Value {
        PETipoPropiedad type = PETipoPropiedad::Int;
        std::vector<std::int32_t> ints;
        std::vector<double> doubles;
        std::vector<std::string> texts; // one entry for a text property
        mutable std::vector<const char*> pointers;
        std::uint64_t version = 0;
        // A double array is `doubles` repeated this many times (the x data of subsets that
        // share one time axis is kept once).
        std::size_t repeat = 1;
        // An integer array of long runs of one value (per-point colours) is kept as the first
        // index and value of each run, `ints` left empty, `runTotal` elements in all.
        std::vector<std::pair<std::int32_t, std::int32_t>> runs;
        std::int32_t runTotal = 0;
        // The chart draws straight from `doubles`: a change leaves the drawn buffer alive until
        // the chart has taken the new data.
        bool lent = false;
    };

    // The integers of an array property, runs included.
    struct IntArray {
        const Value* value = nullptr;

        std::size_t size() const;
        std::int32_t operator[](std::size_t i) const;
    };

    // The doubles of an array property, repeated blocks included.
    struct DoubleArray {
        const std::vector<double>* block = nullptr;
        std::size_t repeat = 1;

        std::size_t size() const { return block->size() * repeat; }
        double operator[](std::size_t i) const { return (*block)[i % block->size()]; }
    };

    // getters:
    const Value* find(int property) const;
    int integer(int property, int fallback = 0) const;
    double real(int property, double fallback = 0.0) const;
    std::string text(int property) const;
    std::vector<std::int32_t> ints(int property) const;
    // Arrays of one block only; the x data may repeat, read it with doubleArray().
    const std::vector<double>& doubles(int property) const;
    DoubleArray doubleArray(int property) const;
    // The same, for the chart to draw from until its next data rebuild: a later change of the
    // property moves the lent buffer aside instead of freeing or moving its elements.
    DoubleArray lendDoubles(int property);
    // The buffers moved aside since the last rebuild; call when nothing draws from them any
    // more.
    void releaseRetired() { std::vector<std::vector<double>>().swap(m_retired); }
    IntArray intArray(int property) const;
    std::vector<std::string> texts(int property) const;
    std::uint64_t version(int property) const;
    PETipoPropiedad typeOf(int property, PETipoPropiedad unknown) const;
    // Per-axis values for a given axis regardless of the working axis.
    int axisInteger(int property, int axis, int fallback = 0) const;
    double axisReal(int property, int axis, double fallback = 0.0) const;
    std::string axisText(int property, int axis) const;
    const Value* axisFind(int property, int axis) const;

    // setters: each returns false when nothing changed.
    bool setInteger(int property, std::int32_t value);
    bool setText(int property, const char* text);
    // `data` holds `count` elements of the property's type (int32, double or const char*).
    bool setArray(int property, const void* data, int count);
    bool setCell(int property, int cell, const void* value);
    // Copies up to `capacity` elements into `buffer` (may be null); returns the element count.
    int getArray(int property, void* buffer, int capacity) const;
    bool getCell(int property, int cell, void* value) const;

private:
    std::int64_t key(int property) const;
    Value& slot(int property, PETipoPropiedad unknownType);
    static int elementCount(const Value& v);
    // The first `n` integers of an integer array, runs included.
    static void copyInts(const Value& v, std::int32_t* out, int n);
    // Undoes the compact forms (runs, repeated blocks) before a single cell changes.
    static void expand(Value& v);
    void touch(Value& v);
    // Subsets times points: how far a cell write may grow an array beyond the fixed cap.
    std::int64_t pointCells() const;
    // Before `v.doubles` changes: a lent buffer is moved aside (its elements stay where they
    // are); with `keep`, `v.doubles` goes on with a copy of it.
    void retire(Value& v, bool keep);

    std::unordered_map<std::int64_t, Value> m_values;
    std::vector<std::vector<double>> m_retired;
    std::uint64_t m_clock = 0;
};

} // namespace chartlib
