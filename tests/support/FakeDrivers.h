#pragma once

// Scriptable stand-ins for a recording's source driver and its data drivers, so the intake,
// the catalogue, the sibling modules and the host's window are tested without real recordings.

#include "Comando.h"
#include "DrivFlex.h"
#include "TTiempo.h"
#include "TValorMultiple.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace fakes {

// A time to the whole second.
inline TTiempo T(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return TTiempo(y, mo, d, h, mi, s, -1);
}

// Sends a command with integer parameters and returns the answer rows.
TValorMultiple send(DrivFlex& driver, int command, const std::vector<int>& params, int* result = nullptr);

// One command as a fake driver received it.
struct Received {
    std::int32_t receiver; // handle of the driver that received it
    int number;
    std::vector<int> params;
    bool intParams;  // every parameter was one 32-bit integer (size 4, count 1, type 0)
    bool withAnswer; // a result list was given
    int mode;
    bool withOrigin;
};

// Every command received by any fake driver, in order, across drivers.
std::vector<Received>& received();

struct Variable {
    int key1 = 0;
    int key2 = 0;
    int kind = 0;
    int code = 0;
    std::string name;
    std::string unit;
    std::vector<TTiempo> times;
    std::vector<double> values;
    std::vector<TTiempo> intervals; // pairs (start, end)
    double period = 1.0;
};

inline Variable var(int key1, int key2, int kind, int code, std::string name, std::string unit) {
    return {key1, key2, kind, code, std::move(name), std::move(unit), {}, {}, {}, 1.0};
}

// A data driver. With a variable table it answers 10100 with the table and 10001 to 10004,
// 10013 and 10014 by keys (nothing for unknown keys). Without one, 10022 answers the keys
// unchanged (as doubles) and every other command one row of integers {number, first key,
// second key}, so a test can tell which request filled which row. A scripted answer replaces
// either for its command.
class DataDriver : public DrivFlex {
public:
    using Answer = std::function<void(const Comando&, TValorMultiple&)>;

    DataDriver();
    ~DataDriver() override;

    std::vector<Variable> variables;

    void answer(int command, Answer a) { m_answers[command] = std::move(a); }
    // Answers nothing at all to the command.
    void silence(int command);
    static int alive() { return s_alive; }

protected:
    int AtenderComando(Comando* comando, TValorMultiple* respuesta, int modo, ObjGen* origen) override;

private:
    int answerFromTable(const Comando& c, TValorMultiple& r) const;

    std::map<int, Answer> m_answers;
    static int s_alive;
};

// The source driver: page 0 (category 4) names the files, one property each; 306 with an
// index answers the handle of that file's data driver, after taking a reference for the
// receiver as the host does. Data drivers are not owned; a null one is a file whose driver
// cannot be had.
class SourceDriver : public DrivFlex {
public:
    SourceDriver();
    // Returns the file's index.
    int add(DataDriver* data, const std::string& file);
    void setFiles(const std::vector<std::string>& files, const std::vector<DataDriver*>& drivers);
    // The next 306 for `index` hands over the creator's reference instead of taking a new one,
    // and the source forgets that driver, as a host that keeps no reference of its own would.
    void handOver(int index) { m_handOver.push_back(index); }
    int requests() const { return m_requests; }

protected:
    int AtenderComando(Comando* comando, TValorMultiple* respuesta, int modo, ObjGen* origen) override;

private:
    void rebuildPage();

    std::vector<DataDriver*> m_drivers;
    std::vector<std::string> m_files;
    std::vector<int> m_handOver;
    int m_requests = 0;
};

} // namespace fakes
