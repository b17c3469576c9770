#include "FakeDrivers.h"

#include "Comando.h"
#include "Tabla.h"

#include <algorithm>

namespace fakes {

namespace {
constexpr int kCmdTraducirClaves = 10022;
constexpr int kCmdDameDriver = 306;
constexpr int kCategoriaFicheros = 4;
} // namespace

std::vector<Recibido>& Registro() {
    static std::vector<Recibido> registro;
    return registro;
}

void Anotar(const DrivFlex& receptor, const Comando& c, TValorMultiple* respuesta, int modo, ObjGen* origen) {
    Recibido r{receptor.Manejador(), c.Numero(), {}, true, respuesta != nullptr, modo, origen != nullptr};
    for (int i = 0; i < c.NumParams(); ++i) {
        const TValor& p = c.Param(i);
        r.paramsEnteros =
            r.paramsEnteros && p.TamanoElemento() == 4 && p.Cuenta() == 1 && p.Tipo() == TV_ENTERO;
        r.params.push_back(p.ComoEntero());
    }
    Registro().push_back(r);
}

int FakeDatos::s_vivos = 0;

FakeDatos::FakeDatos() {
    ++s_vivos;
}

FakeDatos::~FakeDatos() {
    --s_vivos;
}

void FakeDatos::Callar(int numero) {
    Responder(numero, [](const Comando&, TValorMultiple&) {});
}

int FakeDatos::AtenderComando(Comando* comando, TValorMultiple* respuesta, int modo, ObjGen* origen) {
    Anotar(*this, *comando, respuesta, modo, origen);
    if (respuesta == nullptr)
        return -1;
    const int antes = respuesta->Cuenta();
    auto it = m_respuestas.find(comando->Numero());
    if (it != m_respuestas.end())
        it->second(*comando, *respuesta);
    else if (comando->Numero() == kCmdTraducirClaves)
        respuesta->EntrarDoubles({double(comando->ParamEntero(0)), double(comando->ParamEntero(1))});
    else
        respuesta->EntrarEnteros({comando->Numero(), comando->ParamEntero(0), comando->ParamEntero(1)});
    return respuesta->Cuenta() - antes;
}

FakeFuente::FakeFuente() {
    RehacerPagina();
}

int FakeFuente::Anadir(FakeDatos* datos, const std::string& fichero) {
    m_datos.push_back(datos);
    m_ficheros.push_back(fichero);
    RehacerPagina();
    return static_cast<int>(m_datos.size()) - 1;
}

void FakeFuente::RehacerPagina() {
    while (GetPagesNumber() > 0)
        DeleteTabla(0);
    auto* pagina = new Tabla;
    pagina->EntrarPagina("Files", static_cast<int>(m_ficheros.size()), kCategoriaFicheros, true);
    for (size_t i = 0; i < m_ficheros.size(); ++i)
        pagina->EntrarPropiedad(static_cast<int>(i), 1, 1, 0, m_ficheros[i].c_str(), 0, 0, 0, 0, nullptr);
    AddTabla(pagina);
}

int FakeFuente::AtenderComando(Comando* comando, TValorMultiple* respuesta, int modo, ObjGen* origen) {
    Anotar(*this, *comando, respuesta, modo, origen);
    if (respuesta == nullptr || comando->Numero() != kCmdDameDriver)
        return -1;
    const int indice = comando->ParamEntero(0);
    if (indice < 0 || indice >= static_cast<int>(m_datos.size()))
        return 0;
    FakeDatos*& datos = m_datos[static_cast<size_t>(indice)];
    if (datos == nullptr)
        return 0;
    respuesta->EntrarEnteros({datos->Manejador()});
    const auto cedido = std::find(m_ceder.begin(), m_ceder.end(), indice);
    if (cedido == m_ceder.end()) {
        datos->IncRef();
    } else {
        m_ceder.erase(cedido);
        datos = nullptr;
    }
    return 1;
}

} // namespace fakes
