#pragma once

// Small drivers that answer the commands the sibling modules and the host send, so the
// modules are tested without the real data drivers.

#include "Comando.h"
#include "DrivFlex.h"
#include "TTiempo.h"
#include "TValorMultiple.h"
#include "Tabla.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace fakes {

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
    Variable v;
    v.key1 = key1;
    v.key2 = key2;
    v.kind = kind;
    v.code = code;
    v.name = std::move(name);
    v.unit = std::move(unit);
    return v;
}

// A recording's data driver: 10001 to 10004, 10013, 10014 by keys, and 10100.
class DataDriver : public DrivFlex {
public:
    std::vector<Variable> variables;
    std::vector<int> commands; // every command number received, in order

    const Variable* find(const Comando& c) const {
        for (const Variable& v : variables)
            if (v.key1 == c.ParamEntero(0) && v.key2 == c.ParamEntero(1))
                return &v;
        return nullptr;
    }

protected:
    int AtenderComando(Comando* c, TValorMultiple* r, int, ObjGen*) override {
        commands.push_back(c->Numero());
        if (c->Numero() == 10100) {
            for (const Variable& v : variables) {
                r->EntrarEnteros({v.key1, v.key2, v.kind, v.code});
                r->EntrarTexto(v.name);
                r->EntrarTexto(v.unit);
            }
            return static_cast<int>(variables.size()) * 3;
        }
        const Variable* v = find(*c);
        if (v == nullptr)
            return 0;
        switch (c->Numero()) {
        case 10001:
            r->EntrarDoubles(v->values);
            return 1;
        case 10002:
            r->EntrarTiempos(v->times);
            return 1;
        case 10003:
            r->EntrarTexto(v->unit);
            return 1;
        case 10004:
            r->EntrarTexto(v->name);
            return 1;
        case 10013:
            r->EntrarDoubles({0.0, double(v->kind), v->period});
            return 1;
        case 10014:
            r->EntrarTiempos(v->intervals);
            return 1;
        default:
            return -1;
        }
    }
};

class FilesPage : public Tabla {
public:
    explicit FilesPage(const std::vector<std::string>& names) {
        EntrarPagina("Files", static_cast<int>(names.size()), 4, true);
        for (size_t i = 0; i < names.size(); ++i)
            EntrarPropiedad(static_cast<int>(i), 1, 1, 0, names[i].c_str(), 0, 0, 0, 0, nullptr);
    }
};

// The source driver: page 0 (category 4) names the files; 306 answers a file's data driver
// handle after IncRef.
class SourceDriver : public DrivFlex {
public:
    std::vector<DataDriver*> files; // not owned
    int requests = 0;

    void setFiles(const std::vector<std::string>& names, const std::vector<DataDriver*>& drivers) {
        while (GetPagesNumber() > 0)
            DeleteTabla(0);
        AddTabla(new FilesPage(names));
        files = drivers;
    }

protected:
    int AtenderComando(Comando* c, TValorMultiple* r, int, ObjGen*) override {
        if (c->Numero() != 306)
            return -1;
        ++requests;
        const int i = c->ParamEntero(0);
        if (i < 0 || i >= static_cast<int>(files.size()) || files[static_cast<size_t>(i)] == nullptr)
            return 0;
        r->EntrarEnteros({files[static_cast<size_t>(i)]->IncRef()->Manejador()});
        return 1;
    }
};

inline TTiempo T(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return TTiempo(y, mo, d, h, mi, s, -1);
}

} // namespace fakes
