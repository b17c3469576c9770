#include "Reparto.h"

#include "NivelesEventos.h"
#include "TTWLevels.h"
#include "TTiempo.h"
#include "Textos.h"
#include "TiposGrafica.h"
#include "UserInteraction.h"

#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace {

// Limits of one multigraphic window: its stacked axes and its series.
constexpr int kMaxVariablesMulti = 12;
constexpr int kMaxUnidadesMulti = 6;

// Variable code of the disturbances that go in windows apart from the others of their driver.
constexpr int kCodigoPerturbacionAparte = 37273;

// Rows a variable takes from lists 1-6 and 10, and at most how many extra rows of list 8; a
// kind without a window still takes one row of each so the walk stays in step.
struct Reglas {
    int filas;
    int extras;
};

Reglas ReglasDe(int tipo) {
    const RasgosTipo* r = Rasgos(tipo);
    return r != nullptr ? Reglas{r->filas, r->extras} : Reglas{1, 0};
}

// The rows of every list that belong to one variable, as ranges of the selection's lists.
struct Variable {
    int tipo = 0;
    int inicio[kNumListas] = {};
    int cuenta[kNumListas] = {};

    int Primera(int lista) const { return cuenta[lista] > 0 ? inicio[lista] : -1; }
};

using Grupo = std::vector<Variable>;

class Repartidor {
public:
    Repartidor(const ListasAtributos& listas, const std::vector<int>& entradas, QWidget* padre,
               const Reparto::CrearVentana& crear)
        : m_listas(listas), m_entradas(entradas), m_padre(padre), m_crear(crear) {}

    void Ejecutar();

private:
    Variable Tomar(int tipo, int indiceVariable);
    void Crear(int tipo, const Grupo& grupo, bool comprobarNiveles = false);
    void AnadirMulti(const Variable& v);
    void RepartirPerturbaciones();
    void RepartirRangos(int tipo, const Grupo& coleccion);
    void EmparejarRangos();
    bool Rango(const Variable& v, TTiempo& primero, TTiempo& ultimo) const;
    std::string Unidad(const Variable& v) const;

    const ListasAtributos& m_listas;
    const std::vector<int>& m_entradas;
    QWidget* m_padre;
    const Reparto::CrearVentana& m_crear;

    int m_cursor[kNumListas] = {};

    Grupo m_multi;
    // Empty until the group has a variable, so the first one always opens an axis whatever its
    // unit reads.
    std::optional<std::string> m_unidadActual;
    int m_unidades = 0;

    // Variables of the collected kinds, waiting for the end of the walk.
    std::map<int, Grupo> m_colecciones;
};

int Limitar(int pedidas, int quedan) {
    return pedidas < quedan ? pedidas : (quedan > 0 ? quedan : 0);
}

Variable Repartidor::Tomar(int tipo, int indiceVariable) {
    Variable v;
    v.tipo = tipo;
    const Reglas r = ReglasDe(tipo);
    // A short list leaves the variable fewer rows; the cursor never runs past the end, so an
    // absurd count from the caller cannot overflow it.
    auto avanzar = [&](int lista, int pedidas) {
        v.inicio[lista] = m_cursor[lista];
        v.cuenta[lista] = Limitar(pedidas, m_listas[lista].Cuenta() - m_cursor[lista]);
        m_cursor[lista] += v.cuenta[lista];
    };
    for (int lista :
         {LV_VALORES, LV_TIEMPOS, LV_UNIDADES, LV_NOMBRES, LV_OPCIONES, LV_INTERVALOS, LV_DECIMALES})
        avanzar(lista, r.filas);
    avanzar(LV_TIEMPOSGENERALES, 1);
    // A caller that counted nothing gets one data reference per variable, the variable
    // list's shape.
    const size_t iv = static_cast<size_t>(indiceVariable);
    avanzar(LV_OBJETOS, iv < m_entradas.size() ? (m_entradas[iv] > 0 ? m_entradas[iv] : 0) : 1);

    // Extra rows stop at the first empty row, which is how a data driver says a variable has
    // none; it is stepped over so the next variable starts at its own rows.
    const TValorMultiple& adicionales = m_listas[LV_ADICIONALES];
    v.inicio[LV_ADICIONALES] = m_cursor[LV_ADICIONALES];
    if (r.extras > 0) {
        while (v.cuenta[LV_ADICIONALES] < r.extras && m_cursor[LV_ADICIONALES] < adicionales.Cuenta()) {
            if (adicionales.Elementos(m_cursor[LV_ADICIONALES]) == 0) {
                ++m_cursor[LV_ADICIONALES];
                break;
            }
            ++v.cuenta[LV_ADICIONALES];
            ++m_cursor[LV_ADICIONALES];
        }
    }
    return v;
}

void Repartidor::Crear(int tipo, const Grupo& grupo, bool comprobarNiveles) {
    if (grupo.empty())
        return;
    ListasAtributos ventana;
    for (int lista = 0; lista < kNumListas; ++lista) {
        for (const Variable& v : grupo) {
            for (int i = 0; i < v.cuenta[lista]; ++i)
                ventana[lista].CopiarFila(m_listas[lista], v.inicio[lista] + i);
        }
    }
    if (comprobarNiveles && ventana[LV_OPCIONES].Cuenta() > 1 &&
        !Reparto::ComprobarNiveles(ventana[LV_OPCIONES], m_padre))
        return;
    m_crear(tipo, ventana);
}

std::string Repartidor::Unidad(const Variable& v) const {
    const int fila = v.Primera(LV_UNIDADES);
    return fila >= 0 ? m_listas[LV_UNIDADES].Texto(fila) : std::string();
}

bool MismaUnidad(const std::string& a, const std::string& b) {
    // Percentages of different references ("%Vn", "%In") are told apart by their second
    // character only; a bare "%" has nothing to compare and must match exactly.
    if (a.size() > 1 && b.size() > 1 && a[0] == '%' && b[0] == '%')
        return a[1] == b[1];
    return a == b;
}

void Repartidor::AnadirMulti(const Variable& v) {
    const std::string unidad = Unidad(v);
    for (;;) {
        if (!m_unidadActual || !MismaUnidad(unidad, *m_unidadActual)) {
            ++m_unidades;
            m_unidadActual = unidad;
        }
        const bool sinEjes = m_unidades > kMaxUnidadesMulti;
        if (sinEjes || static_cast<int>(m_multi.size()) >= kMaxVariablesMulti) {
            if (sinEjes)
                host::MessageService::show(m_padre, Texto(TXT_WARNING), Texto(TXT_DEMASIADOS_EJES),
                                           host::MessageIcon::Warning);
            // There is no cap on the number of multigraphic windows: every group is handed on as
            // soon as it is full, so nothing here grows with their count.
            Crear(TG_MULTIGRAFICA, m_multi);
            m_multi.clear();
            m_unidades = 0;
            m_unidadActual.reset();
            continue;
        }
        m_multi.push_back(v);
        return;
    }
}

bool Repartidor::Rango(const Variable& v, TTiempo& primero, TTiempo& ultimo) const {
    const int fila = v.Primera(LV_TIEMPOS);
    const TTiempo* t = fila >= 0 ? m_listas[LV_TIEMPOS].Tiempos(fila) : nullptr;
    const int n = fila >= 0 ? m_listas[LV_TIEMPOS].Elementos(fila) : 0;
    if (t == nullptr || n == 0)
        return false;
    primero = t[0];
    ultimo = t[n - 1];
    return true;
}

void Repartidor::RepartirPerturbaciones() {
    auto clave = [this](const Variable& v) {
        const int obj = v.Primera(LV_OBJETOS);
        const int opc = v.Primera(LV_OPCIONES);
        const std::int32_t driver = obj >= 0 ? m_listas[LV_OBJETOS].Entero(obj, 2) : 0;
        const bool aparte =
            opc >= 0 && m_listas[LV_OPCIONES].Entero(opc, OPC_CODIGO) == kCodigoPerturbacionAparte;
        return std::make_pair(driver, aparte);
    };
    Grupo pendientes = m_colecciones[TG_PER];
    while (!pendientes.empty()) {
        const auto k = clave(pendientes.front());
        Grupo ventana, resto;
        for (const Variable& v : pendientes)
            (clave(v) == k ? ventana : resto).push_back(v);
        Crear(TG_PER, ventana);
        pendientes = std::move(resto);
    }
}

void Repartidor::RepartirRangos(int tipo, const Grupo& coleccion) {
    struct Aceptada {
        TTiempo primero, ultimo;
        Variable v;
    };
    std::vector<Aceptada> aceptadas;
    Grupo apartadas;
    for (const Variable& v : coleccion) {
        TTiempo primero, ultimo;
        // Without times a variable cannot be placed against the others.
        if (!Rango(v, primero, ultimo)) {
            apartadas.push_back(v);
            continue;
        }
        auto it = aceptadas.begin();
        bool solapa = false;
        for (; it != aceptadas.end(); ++it) {
            if (ultimo < it->primero)
                break;
            if (primero > it->ultimo)
                continue;
            solapa = true;
            break;
        }
        if (solapa)
            apartadas.push_back(v);
        else
            aceptadas.insert(it, Aceptada{primero, ultimo, v});
    }
    Grupo juntas;
    for (const Aceptada& a : aceptadas)
        juntas.push_back(a.v);
    Crear(tipo, juntas, true);
    for (const Variable& v : apartadas)
        Crear(tipo, Grupo{v});
}

void Repartidor::EmparejarRangos() {
    struct Espera {
        bool conRango;
        TTiempo primero, ultimo;
        Variable v;
    };
    std::vector<Espera> esperando;
    for (const Variable& v : m_colecciones[TG_VEF]) {
        Espera e{};
        e.v = v;
        e.conRango = Rango(v, e.primero, e.ultimo);
        auto it = esperando.begin();
        if (e.conRango) {
            for (; it != esperando.end(); ++it) {
                if (it->conRango && it->primero == e.primero && it->ultimo == e.ultimo)
                    break;
            }
        } else {
            it = esperando.end();
        }
        if (it == esperando.end()) {
            esperando.push_back(e);
            continue;
        }
        Crear(TG_VEF, Grupo{v, it->v});
        esperando.erase(it);
    }
    for (const Espera& e : esperando)
        Crear(TG_VEF, Grupo{e.v});
}

void Repartidor::Ejecutar() {
    const TValorMultiple& opciones = m_listas[LV_OPCIONES];
    for (int indiceVariable = 0; m_cursor[LV_OPCIONES] < opciones.Cuenta(); ++indiceVariable) {
        const int fila = m_cursor[LV_OPCIONES];
        const double codigo = opciones.Numero(fila, OPC_TIPO);
        // A row too short to carry a kind, or a kind that is no number, has no window.
        const bool numerica = opciones.Tipo(fila) == TV_DOUBLE || opciones.Tipo(fila) == TV_ENTERO;
        const int tipo = numerica && opciones.Elementos(fila) > OPC_TIPO && std::isfinite(codigo) &&
                                 std::fabs(codigo) < 1e6
                             ? static_cast<int>(codigo)
                             : -1;
        const Variable v = Tomar(tipo, indiceVariable);
        const RasgosTipo* rasgos = Rasgos(tipo);
        if (rasgos == nullptr)
            continue;
        switch (rasgos->reparto) {
        case ReglaReparto::Multigrafica:
            if (opciones.Entero(fila, OPC_VENTANA_PROPIA) == 1)
                Crear(tipo, Grupo{v});
            else
                AnadirMulti(v);
            break;
        case ReglaReparto::PorVariable:
            Crear(tipo, Grupo{v});
            break;
        default:
            m_colecciones[tipo].push_back(v);
            break;
        }
    }

    // The collected windows appear in this order.
    Crear(TG_MULTIGRAFICA, m_multi);
    Crear(TG_FP, m_colecciones[TG_FP]);
    Crear(TG_PLT, m_colecciones[TG_PLT]);
    RepartirPerturbaciones();
    for (TipoGrafica tipo : {TG_EH, TG_ED, TG_CBEMA, TG_TES})
        RepartirRangos(tipo, m_colecciones[tipo]);
    EmparejarRangos();
}

// The levels dialog asks the user; a batch run's dialog runner takes its default (the first
// record's levels), so nothing waits there.
bool DialogoTTWLevels(TValorMultiple& opciones, QWidget* padre) {
    return ComprobarNivelesConDialogo(opciones, padre);
}

Reparto::DialogoNiveles& Dialogo() {
    static Reparto::DialogoNiveles dialogo = DialogoTTWLevels;
    return dialogo;
}

} // namespace

namespace Reparto {

void RepartirGraficas(const ListasAtributos& listas, const std::vector<int>& entradasPorVariable,
                      QWidget* padre, const CrearVentana& crear) {
    Repartidor(listas, entradasPorVariable, padre, crear).Ejecutar();
}

bool NivelesIncompatibles(const TValorMultiple& opciones) {
    return ::NivelesIncompatibles(opciones);
}

void PonerDialogoNiveles(DialogoNiveles dialogo) {
    Dialogo() = dialogo ? std::move(dialogo) : DialogoNiveles(DialogoTTWLevels);
}

bool ComprobarNiveles(TValorMultiple& opciones, QWidget* padre) {
    const DialogoNiveles& dialogo = Dialogo();
    return ::ComprobarNiveles(opciones, [&](TValorMultiple& registros) { return dialogo(registros, padre); });
}

bool TieneVentana(int tipoGrafica) {
    return Rasgos(tipoGrafica) != nullptr;
}

} // namespace Reparto
