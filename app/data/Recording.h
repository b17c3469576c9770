#pragma once

#include "TValorMultiple.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace recording {

// The attribute lists a data driver answers, numbered as the engine's window constructors take
// them (position 9, the data references, is the engine's own and is never stored).
enum class List : int {
    Values = 1,       // command 10001
    Times = 2,        // 10002
    Units = 3,        // 10003
    Names = 4,        // 10004
    Options = 5,      // 10013
    Intervals = 6,    // 10014
    GeneralTimes = 7, // 10002 asked with -1 as first key
    Additional = 8,   // 10015
    Decimals = 10,    // 10021
};
constexpr std::array<List, 9> kAllLists = {List::Values,       List::Times,      List::Units,
                                           List::Names,        List::Options,    List::Intervals,
                                           List::GeneralTimes, List::Additional, List::Decimals};
const char* listName(List list);

// Indexes of an options row that the recorder fills (the engine reads them by these positions).
enum OptionIndex : int {
    OptMethod = 0,
    OptKind = 1,
    OptPeriod = 2,
    OptOwnWindow = 3,
    OptInterruptionLevel = 6,
    OptSagLevel = 7,
    OptOvervoltageLevel = 8,
    OptClosesPeriod = 10,
    OptFlagSelector = 11,
    OptCode = 12,
    kOptionCount = 13
};

// Plotting methods as the chart numbers them.
constexpr double kMethodLine = 0;
constexpr double kMethodBars = 1;
constexpr double kMethodPoints = 2;

constexpr double kNoValue = -9999.9;

// Any failure to read or write a recording. The message names the file and what is wrong.
class RecordingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the data contract asks of one graph kind: rows per list and the row types.
struct KindShape {
    int rows = 1;      // rows in lists 1 to 6 and 10
    int extraRows = 0; // rows in list 8
    int intervalType = TV_TIEMPO;
    int extraType = TV_DOUBLE;
};
KindShape kindShape(int kind);

// Shape of one stored row, enough to check it without reading its bytes.
struct RowShape {
    int type = 0;
    int elementSize = 0;
    int count = 0;
};

// Everything about a variable except its bulk bytes.
struct VariableInfo {
    std::int32_t key1 = 1;
    std::int32_t key2 = 0;
    std::string name;
    std::string unit;
    int kind = 0;
    int code = 0;
};

// Checks a variable's rows against the data contract; returns the first violation, in words.
// `rows` maps each list to the shapes of its rows; `options` is the first options row.
std::optional<std::string> checkContract(const VariableInfo& info,
                                         const std::map<List, std::vector<RowShape>>& rows,
                                         const std::vector<double>& options);

// One variable with its lists, as a recorder builds it in memory.
struct Variable {
    VariableInfo info;
    std::map<List, TValorMultiple> lists;

    TValorMultiple& list(List l) { return lists[l]; }
    const TValorMultiple* find(List l) const;
    std::map<List, std::vector<RowShape>> shapes() const;
};

// A recording in memory: what the writer stores and the generators build.
struct Recording {
    std::map<std::string, std::string> info; // free descriptive values: site, instrument, ...
    std::vector<Variable> variables;

    Variable& add(VariableInfo info);
};

// A 13-number options row with the fields the engine reads.
std::vector<double> optionsRow(int kind, int code, double periodSeconds, double method = kMethodLine);

} // namespace recording
