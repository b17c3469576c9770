#include "FakeDrivers.h"

#include "Contrato.h"
#include "Tabla.h"

#include <algorithm>

namespace fakes {

namespace {

void note(const DrivFlex& receiver, const Comando& c, const TValorMultiple* answer, int mode,
          const ObjGen* origin) {
    Received r{receiver.Manejador(), c.Numero(), {}, true, answer != nullptr, mode, origin != nullptr};
    for (int i = 0; i < c.NumParams(); ++i) {
        const TValor& p = c.Param(i);
        r.intParams = r.intParams && p.TamanoElemento() == 4 && p.Cuenta() == 1 && p.Tipo() == TV_ENTERO;
        r.params.push_back(p.ComoEntero());
    }
    received().push_back(r);
}

} // namespace

TValorMultiple send(DrivFlex& driver, int command, const std::vector<int>& params, int* result) {
    Comando c(command);
    for (int p : params)
        c.EntrarParam(TValor::Entero(p));
    TValorMultiple answer;
    const int r = driver.ProgCom(&c, &answer, 0, nullptr);
    if (result)
        *result = r;
    return answer;
}

std::vector<Received>& received() {
    static std::vector<Received> all;
    return all;
}

int DataDriver::s_alive = 0;

DataDriver::DataDriver() {
    ++s_alive;
}

DataDriver::~DataDriver() {
    --s_alive;
}

void DataDriver::silence(int command) {
    answer(command, [](const Comando&, TValorMultiple&) {});
}

int DataDriver::AtenderComando(Comando* comando, TValorMultiple* respuesta, int modo, ObjGen* origen) {
    note(*this, *comando, respuesta, modo, origen);
    if (respuesta == nullptr)
        return -1;
    const int before = respuesta->Cuenta();
    const int number = comando->Numero();
    if (auto it = m_answers.find(number); it != m_answers.end())
        it->second(*comando, *respuesta);
    else if (!variables.empty())
        return answerFromTable(*comando, *respuesta);
    else if (number == CMD_TRADUCIR_CLAVES)
        respuesta->EntrarDoubles({double(comando->ParamEntero(0)), double(comando->ParamEntero(1))});
    else
        respuesta->EntrarEnteros({number, comando->ParamEntero(0), comando->ParamEntero(1)});
    return respuesta->Cuenta() - before;
}

int DataDriver::answerFromTable(const Comando& c, TValorMultiple& r) const {
    if (c.Numero() == CMD_ENUMERAR) {
        for (const Variable& v : variables) {
            r.EntrarEnteros({v.key1, v.key2, v.kind, v.code});
            r.EntrarTexto(v.name);
            r.EntrarTexto(v.unit);
        }
        return static_cast<int>(variables.size()) * 3;
    }
    const auto v = std::find_if(variables.begin(), variables.end(), [&](const Variable& x) {
        return x.key1 == c.ParamEntero(0) && x.key2 == c.ParamEntero(1);
    });
    if (v == variables.end())
        return 0;
    switch (c.Numero()) {
    case CMD_VALORES:
        r.EntrarDoubles(v->values);
        return 1;
    case CMD_TIEMPOS:
        r.EntrarTiempos(v->times);
        return 1;
    case CMD_UNIDADES:
        r.EntrarTexto(v->unit);
        return 1;
    case CMD_NOMBRES:
        r.EntrarTexto(v->name);
        return 1;
    case CMD_OPCIONES:
        r.EntrarDoubles({0.0, double(v->kind), v->period});
        return 1;
    case CMD_INTERVALOS:
        r.EntrarTiempos(v->intervals);
        return 1;
    default:
        return -1;
    }
}

SourceDriver::SourceDriver() {
    rebuildPage();
}

int SourceDriver::add(DataDriver* data, const std::string& file) {
    m_drivers.push_back(data);
    m_files.push_back(file);
    rebuildPage();
    return static_cast<int>(m_drivers.size()) - 1;
}

void SourceDriver::setFiles(const std::vector<std::string>& files, const std::vector<DataDriver*>& drivers) {
    m_files = files;
    m_drivers = drivers;
    m_drivers.resize(files.size(), nullptr);
    rebuildPage();
}

void SourceDriver::rebuildPage() {
    while (GetPagesNumber() > 0)
        DeleteTabla(0);
    auto* page = new Tabla;
    page->EntrarPagina("Files", static_cast<int>(m_files.size()), kCategoriaFicheros, true);
    for (size_t i = 0; i < m_files.size(); ++i)
        page->EntrarPropiedad(static_cast<int>(i), 1, 1, 0, m_files[i].c_str(), 0, 0, 0, 0, nullptr);
    AddTabla(page);
}

int SourceDriver::AtenderComando(Comando* comando, TValorMultiple* respuesta, int modo, ObjGen* origen) {
    note(*this, *comando, respuesta, modo, origen);
    if (respuesta == nullptr || comando->Numero() != CMD_DRIVER_DATOS)
        return -1;
    ++m_requests;
    const int index = comando->ParamEntero(0);
    if (index < 0 || index >= static_cast<int>(m_drivers.size()))
        return 0;
    DataDriver*& data = m_drivers[static_cast<size_t>(index)];
    if (data == nullptr)
        return 0;
    respuesta->EntrarEnteros({data->Manejador()});
    const auto handed = std::find(m_handOver.begin(), m_handOver.end(), index);
    if (handed == m_handOver.end()) {
        data->IncRef();
    } else {
        m_handOver.erase(handed);
        data = nullptr;
    }
    return 1;
}

} // namespace fakes
