#pragma once

#include "Contrato.h"
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
    Values = LV_VALORES + 1,
    Times = LV_TIEMPOS + 1,
    Units = LV_UNIDADES + 1,
    Names = LV_NOMBRES + 1,
    Options = LV_OPCIONES + 1,
    Intervals = LV_INTERVALOS + 1,
    GeneralTimes = LV_TIEMPOSGENERALES + 1,
    Additional = LV_ADICIONALES + 1,
    Decimals = LV_DECIMALES + 1,
};
constexpr std::array<List, 9> kAllLists = {List::Values,       List::Times,      List::Units,
                                           List::Names,        List::Options,    List::Intervals,
                                           List::GeneralTimes, List::Additional, List::Decimals};
const char* listName(List list);

// Indexes of an options row that the recorder fills (the engine reads them by these positions).
enum OptionIndex : int {
    OptMethod = OPC_METODO,
    OptKind = OPC_TIPO,
    OptPeriod = OPC_PERIODO,
    OptOwnWindow = OPC_VENTANA_PROPIA,
    OptInterruptionLevel = OPC_NIVEL_INTERRUPCION,
    OptSagLevel = OPC_NIVEL_HUECO,
    OptOvervoltageLevel = OPC_NIVEL_SOBRETENSION,
    OptClosesPeriod = OPC_CIERRA_PERIODO,
    OptFlagSelector = OPC_SELECTOR_FLAG,
    OptCode = OPC_CODIGO,
    kOptionCount = kNumOpciones
};

// Plotting methods as the chart numbers them.
constexpr double kMethodLine = 0;
constexpr double kMethodBars = 1;
constexpr double kMethodPoints = 2;

constexpr double kNoValue = kValorNulo;

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
