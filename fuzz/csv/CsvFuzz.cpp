// The CSV importer on arbitrary bytes. Beyond not crashing, what it accepts must be a
// recording the writer would store: one time per value, in strictly increasing order, and
// every variable within the data contract.

#include "CsvImport.h"
#include "TTiempo.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const recording::CsvResult r = recording::importCsv(text, "fuzz.csv");
    if (r.problems.size() > recording::kCsvMaxProblems + 1)
        std::abort();
    if (!r.problems.empty())
        return 0;
    for (const recording::Variable& v : r.recording.variables) {
        const TValorMultiple* values = v.find(recording::List::Values);
        const TValorMultiple* times = v.find(recording::List::Times);
        const TValorMultiple* options = v.find(recording::List::Options);
        if (!values || !times || !options || values->Elementos(0) != times->Elementos(0) ||
            values->Elementos(0) == 0)
            std::abort();
        const TTiempo* t = times->Tiempos(0);
        for (int i = 1; i < times->Elementos(0); ++i) {
            if (!(t[i - 1] < t[i]))
                std::abort();
        }
        for (int i = 0; i < values->Elementos(0); ++i) {
            // Missing values are the marker; every other value was a finite number.
            const double x = values->Numero(0, i);
            if (x != x || x - x != 0)
                std::abort();
        }
        const std::vector<double> o(options->Doubles(0), options->Doubles(0) + options->Elementos(0));
        if (recording::checkContract(v.info, v.shapes(), o))
            std::abort();
    }
    return 0;
}
