#include "CatalogoFicheros.h"

#include "Comando.h"
#include "DrivFlex.h"
#include "ListasAtributos.h"
#include "RefObj.h"
#include "TTiempo.h"
#include "TValorMultiple.h"
#include "TiposGrafica.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <set>

namespace {

bool EsDigito(char c) {
    return c >= '0' && c <= '9';
}

bool ExtensionValida(const std::string& nombre) {
    static const char* const kExtensiones[] = {".STD", ".EVQ", ".STP", ".H24", ".WAT"};
    if (nombre.size() < 4)
        return false;
    const std::string ext = nombre.substr(nombre.size() - 4);
    return std::any_of(std::begin(kExtensiones), std::end(kExtensiones),
                       [&](const char* e) { return ext == e; });
}

// Codes whose variables span several rows (one per channel); their joined names are formed
// differently.
bool CodigoMultifila(int codigo) {
    return (codigo >= 37267 && codigo <= 37270) || codigo == 37292 || codigo == 37293 || codigo == 38000 ||
           (codigo >= 38603 && codigo <= 38611) || (codigo >= 39600 && codigo <= 39648);
}

// A time split into two ordered words, so the k-way merge compares two integers instead of
// seven fields. Every field is biased to unsigned so negative values keep their order.
struct Clave {
    std::uint64_t alta = 0;
    std::uint64_t baja = 0;
    friend bool operator==(const Clave&, const Clave&) = default;
    friend bool operator<(const Clave& a, const Clave& b) {
        return a.alta < b.alta || (a.alta == b.alta && a.baja < b.baja);
    }
};

inline std::uint64_t Sesgo(std::int16_t v) {
    return static_cast<std::uint64_t>(static_cast<std::uint16_t>(v ^ static_cast<std::int16_t>(0x8000)));
}

inline Clave ClaveDe(const TTiempo& t) {
    return {(Sesgo(t.Anio) << 48) | (Sesgo(t.Mes) << 32) | (Sesgo(t.Dia) << 16) | Sesgo(t.Hora),
            (Sesgo(t.Minuto) << 32) | (Sesgo(t.Segundo) << 16) | Sesgo(t.Milesima)};
}

const Clave kSinTiempos = {~0ULL, ~0ULL};

} // namespace

struct CatalogoFicheros::Datos {
    DrivFlex* fuente = nullptr;
    std::vector<int> clave1;
    std::vector<int> clave2;
    std::vector<std::int32_t> driver;
    std::array<TValorMultiple*, kNumRanuras> listas{};

    // Per entry, after reading OpcionesSeries: code, graph kind and first row in every slot.
    struct Variable {
        int codigo = 0;
        int tipo = -1;
        std::array<int, kNumRanuras> fila{};
        std::array<int, kNumRanuras> filas{};
    };
    std::vector<Variable> variables;

    std::map<std::int32_t, std::string> nombres; // data-driver handle -> file name

    void LeerVariables();
    void LeerNombres();
    std::string NombreFichero(std::int32_t manejador) const;
    bool MismoGrupo(int i, int j) const;
    bool TiempoExtremo(int entrada, bool ultimo, TTiempo& t) const;
    void OrdenarPorTiempo(std::vector<int>& grupo) const;
    void UnirFilas(int ranura, const std::vector<int>& grupo, TValorMultiple& destino) const;
    std::string NombreUnido(const std::string& nombre, int codigo, const std::string& fichero) const;
};

CatalogoFicheros::CatalogoFicheros(DrivFlex* fuente) : d(std::make_unique<Datos>()) {
    d->fuente = fuente;
}

CatalogoFicheros::~CatalogoFicheros() = default;

void CatalogoFicheros::AnadirVariable(int clave1, int clave2, std::int32_t driver) {
    d->clave1.push_back(clave1);
    d->clave2.push_back(clave2);
    d->driver.push_back(driver);
}

void CatalogoFicheros::PonerLista(int ranura, TValorMultiple* lista) {
    if (ranura >= 0 && ranura < kNumRanuras)
        d->listas[static_cast<size_t>(ranura)] = lista;
}

int CatalogoFicheros::NumEntradas() const {
    return static_cast<int>(d->driver.size());
}

int CatalogoFicheros::Clave1(int entrada) const {
    return entrada >= 0 && entrada < NumEntradas() ? d->clave1[static_cast<size_t>(entrada)] : -1;
}

int CatalogoFicheros::Clave2(int entrada) const {
    return entrada >= 0 && entrada < NumEntradas() ? d->clave2[static_cast<size_t>(entrada)] : -1;
}

std::int32_t CatalogoFicheros::Driver(int entrada) const {
    return entrada >= 0 && entrada < NumEntradas() ? d->driver[static_cast<size_t>(entrada)] : 0;
}

bool CatalogoFicheros::NombreValido(const std::string& n) {
    if (!ExtensionValida(n))
        return false;
    if (n.size() == 12)
        return (n[0] == 'S' || n[0] == 'M') && std::all_of(n.begin() + 4, n.begin() + 8, EsDigito);
    if (n.size() == 26)
        return std::all_of(n.begin(), n.begin() + 9, EsDigito) && (n[9] == 'A' || n[9] == 'B' || n[9] == 'G');
    return false;
}

std::string CatalogoFicheros::ClaveFamilia(const std::string& nombre) {
    if (nombre.size() == 12)
        return nombre.substr(1, 3);
    if (nombre.size() == 26)
        return nombre.substr(0, 10);
    return nombre;
}

int CatalogoFicheros::FilasPorVariable(int codigo, int tipoGrafica, int ranura) {
    if (ranura == R_TIEMPOSGENERALES)
        return 1;
    if (ranura == R_ADICIONALES) {
        // Kinds whose windows take no additional values carry none whatever the variable.
        const RasgosTipo* rasgos = Rasgos(tipoGrafica);
        if (rasgos != nullptr && !rasgos->conAdicionales)
            return 0;
    }
    struct Fila {
        int desde, hasta, adicionales, decimales, otras;
    };
    static const Fila kTabla[] = {
        {37267, 37267, 12, 6, 6}, {37292, 37292, 12, 6, 6}, {37268, 37268, 1, 6, 6}, {37293, 37293, 1, 6, 6},
        {38000, 38000, 1, 6, 6},  {37269, 37270, 0, 6, 6},  {37271, 37272, 4, 1, 1}, {37298, 37298, 4, 1, 1},
        {37273, 37276, 2, 1, 1},  {37277, 37277, 2, 1, 3},  {37289, 37291, 1, 1, 1}, {37297, 37297, 6, 1, 1},
    };
    Fila f = {0, 0, 0, 1, 1};
    for (const Fila& t : kTabla) {
        if (codigo >= t.desde && codigo <= t.hasta) {
            f = t;
            break;
        }
    }
    if (ranura == R_ADICIONALES)
        return f.adicionales;
    if (ranura == R_DECIMALES)
        return f.decimales;
    return f.otras;
}

void CatalogoFicheros::Datos::LeerVariables() {
    variables.assign(driver.size(), {});
    const TValorMultiple* opciones = listas[R_OPCIONES];
    std::array<int, kNumRanuras> siguiente{};
    for (Variable& v : variables) {
        const int fila = siguiente[R_OPCIONES];
        if (opciones != nullptr && fila < opciones->Cuenta()) {
            v.codigo = static_cast<int>(opciones->Numero(fila, OPC_CODIGO));
            v.tipo = static_cast<int>(opciones->Numero(fila, OPC_TIPO));
        }
        for (int r = 0; r < kNumRanuras; ++r) {
            v.fila[static_cast<size_t>(r)] = siguiente[static_cast<size_t>(r)];
            v.filas[static_cast<size_t>(r)] = FilasPorVariable(v.codigo, v.tipo, r);
            siguiente[static_cast<size_t>(r)] += v.filas[static_cast<size_t>(r)];
        }
    }
}

void CatalogoFicheros::Datos::LeerNombres() {
    nombres.clear();
    if (fuente == nullptr)
        return;
    // Every property index of every page is asked once: the answer names the data driver
    // behind the file that property p of page 0 lists.
    std::set<int> propiedades;
    for (int pagina = 0; pagina < fuente->GetPagesNumber(); ++pagina)
        for (int p = 0; p < fuente->GetPropertyNumber(pagina); ++p)
            propiedades.insert(p);
    for (int p : propiedades) {
        TValorMultiple respuesta;
        Comando comando(CMD_DRIVER_DATOS);
        comando.EntrarParam(TValor::Entero(p));
        fuente->ProgCom(&comando, &respuesta, 0, nullptr);
        if (respuesta.Cuenta() < 1 || respuesta.Elementos(0) < 1)
            continue;
        const std::int32_t manejador = respuesta.Entero(0, 0);
        if (ObjGen::DesdeManejador(manejador) == nullptr)
            continue;
        // The answer holds a reference for us; only the handle is kept.
        RefObj(ObjGen::DesdeManejador(manejador)).Soltar();
        const char* nombre = fuente->GetPropertyName(0, p);
        if (nombre != nullptr && nombres.find(manejador) == nombres.end())
            nombres[manejador] = nombre;
    }
}

std::string CatalogoFicheros::Datos::NombreFichero(std::int32_t manejador) const {
    const auto it = nombres.find(manejador);
    return it == nombres.end() ? std::string() : it->second;
}

bool CatalogoFicheros::Datos::MismoGrupo(int i, int j) const {
    if (fuente == nullptr)
        return false;
    const size_t a = static_cast<size_t>(i), b = static_cast<size_t>(j);
    const std::string na = NombreFichero(driver[a]);
    const std::string nb = NombreFichero(driver[b]);
    if (na.empty() || nb.empty() || !NombreValido(na) || !NombreValido(nb))
        return false;
    if (na == nb || na.compare(1, 3, nb, 1, 3) != 0)
        return false;
    if (clave1[a] != clave1[b] || clave2[a] != clave2[b])
        return false;
    const auto* da = dynamic_cast<const DrivFlex*>(ObjGen::DesdeManejador(driver[a]));
    const auto* db = dynamic_cast<const DrivFlex*>(ObjGen::DesdeManejador(driver[b]));
    return da != nullptr && db != nullptr && da->TipoObjeto() == db->TipoObjeto();
}

bool CatalogoFicheros::Datos::TiempoExtremo(int entrada, bool ultimo, TTiempo& t) const {
    const Variable& v = variables[static_cast<size_t>(entrada)];
    for (int ranura : {static_cast<int>(R_TIEMPOS), static_cast<int>(R_TIEMPOSGENERALES)}) {
        const TValorMultiple* lista = listas[static_cast<size_t>(ranura)];
        const int fila = v.fila[static_cast<size_t>(ranura)];
        if (lista == nullptr || fila >= lista->Cuenta())
            continue;
        const TTiempo* tiempos = lista->Tiempos(fila);
        if (tiempos == nullptr)
            continue;
        const int n = lista->Elementos(fila);
        if (n <= 0)
            return false;
        t = tiempos[ultimo ? n - 1 : 0];
        return true;
    }
    return false;
}

void CatalogoFicheros::Datos::OrdenarPorTiempo(std::vector<int>& grupo) const {
    std::vector<int> orden;
    for (int miembro : grupo) {
        TTiempo ultimo;
        auto pos = orden.end();
        if (TiempoExtremo(miembro, true, ultimo)) {
            pos = std::find_if(orden.begin(), orden.end(), [&](int colocado) {
                TTiempo primero;
                return TiempoExtremo(colocado, false, primero) && primero > ultimo;
            });
        }
        orden.insert(pos, miembro);
    }
    grupo = std::move(orden);
}

std::string CatalogoFicheros::Datos::NombreUnido(const std::string& nombre, int codigo,
                                                 const std::string& fichero) const {
    const std::string familia = ClaveFamilia(fichero);
    // Channel rows end with their phase, so the family goes in front; a one-row variable
    // keeps its own name first and names the family after it.
    if (CodigoMultifila(codigo))
        return familia + " " + nombre;
    return nombre + " (" + familia + ")";
}

void CatalogoFicheros::Datos::UnirFilas(int ranura, const std::vector<int>& grupo,
                                        TValorMultiple& destino) const {
    const TValorMultiple& origen = *listas[static_cast<size_t>(ranura)];
    const size_t r = static_cast<size_t>(ranura);
    const Variable& cabeza = variables[static_cast<size_t>(grupo.front())];
    const bool soloPrimero = ranura == R_UNIDADES || ranura == R_NOMBRES || ranura == R_OPCIONES ||
                             ranura == R_VACIA || grupo.size() == 1;
    for (int k = 0; k < cabeza.filas[r]; ++k) {
        const int filaCabeza = cabeza.fila[r] + k;
        if (filaCabeza >= origen.Cuenta())
            return;
        if (soloPrimero) {
            if (ranura == R_NOMBRES && grupo.size() > 1) {
                const std::string fichero = NombreFichero(driver[static_cast<size_t>(grupo.front())]);
                destino.EntrarTexto(NombreUnido(origen.Texto(filaCabeza), cabeza.codigo, fichero));
            } else {
                destino.CopiarFila(origen, filaCabeza);
            }
            continue;
        }
        // Row k of the group is row k of every member, one after the other. Members whose row
        // is of another element type cannot be mixed in and are left out.
        const int tamano = origen.TamanoElemento(filaCabeza);
        const int tipo = origen.Tipo(filaCabeza);
        std::vector<int> filas;
        long long total = 0;
        for (int miembro : grupo) {
            const Variable& v = variables[static_cast<size_t>(miembro)];
            const int fila = v.fila[r] + k;
            if (k >= v.filas[r] || fila >= origen.Cuenta() || origen.TamanoElemento(fila) != tamano ||
                origen.Tipo(fila) != tipo)
                continue;
            filas.push_back(fila);
            total += origen.Elementos(fila);
        }
        auto* bytes =
            static_cast<unsigned char*>(destino.EntrarBloque(tamano, static_cast<int>(total), tipo));
        // Interval rows given as point numbers continue across the files: a later file's
        // numbers are shifted by the points of the files before it.
        const bool desplazar = ranura == R_INTERVALOS && (tipo == TV_DOUBLE || tipo == TV_ENTERO);
        const TValorMultiple* tiempos = listas[R_TIEMPOS];
        long long desplazamiento = 0;
        size_t escrito = 0;
        for (size_t m = 0; m < filas.size(); ++m) {
            const size_t n = static_cast<size_t>(origen.Elementos(filas[m])) * static_cast<size_t>(tamano);
            if (n > 0)
                std::memcpy(bytes + escrito, origen.Datos(filas[m]), n);
            if (desplazar && desplazamiento != 0) {
                for (size_t e = escrito; e < escrito + n; e += static_cast<size_t>(tamano)) {
                    if (tipo == TV_DOUBLE) {
                        double x;
                        std::memcpy(&x, bytes + e, 8);
                        x += static_cast<double>(desplazamiento);
                        std::memcpy(bytes + e, &x, 8);
                    } else {
                        std::int32_t x;
                        std::memcpy(&x, bytes + e, 4);
                        x += static_cast<std::int32_t>(desplazamiento);
                        std::memcpy(bytes + e, &x, 4);
                    }
                }
            }
            if (desplazar && tiempos != nullptr) {
                // The member owning filas[m]: the one whose interval row it is.
                for (int miembro : grupo) {
                    const Variable& v = variables[static_cast<size_t>(miembro)];
                    if (v.fila[r] + k == filas[m]) {
                        if (v.fila[R_TIEMPOS] < tiempos->Cuenta())
                            desplazamiento += tiempos->Elementos(v.fila[R_TIEMPOS]);
                        break;
                    }
                }
            }
            escrito += n;
        }
    }
}

void CatalogoFicheros::Catalogar(bool conservarRepresentantes) {
    const int n = NumEntradas();
    if (n == 0)
        return;
    d->LeerVariables();
    d->LeerNombres();

    std::vector<std::vector<int>> grupos;
    std::vector<bool> asignada(static_cast<size_t>(n), false);
    for (int i = 0; i < n; ++i) {
        if (asignada[static_cast<size_t>(i)])
            continue;
        std::vector<int> grupo = {i};
        asignada[static_cast<size_t>(i)] = true;
        for (int j = i + 1; j < n; ++j) {
            if (!asignada[static_cast<size_t>(j)] && d->MismoGrupo(i, j)) {
                grupo.push_back(j);
                asignada[static_cast<size_t>(j)] = true;
            }
        }
        grupos.push_back(std::move(grupo));
    }
    // Representatives are the smallest index of each group, taken before the time ordering.
    std::vector<int> representantes;
    for (const auto& g : grupos)
        representantes.push_back(g.front());
    for (auto& g : grupos)
        if (g.size() > 1)
            d->OrdenarPorTiempo(g);

    for (int ranura = 0; ranura < kNumRanuras; ++ranura) {
        TValorMultiple* lista = d->listas[static_cast<size_t>(ranura)];
        if (lista == nullptr)
            continue;
        TValorMultiple unida;
        for (const auto& g : grupos)
            d->UnirFilas(ranura, g, unida);
        *lista = std::move(unida);
    }

    if (conservarRepresentantes) {
        std::vector<int> c1, c2;
        std::vector<std::int32_t> dr;
        for (int r : representantes) {
            c1.push_back(d->clave1[static_cast<size_t>(r)]);
            c2.push_back(d->clave2[static_cast<size_t>(r)]);
            dr.push_back(d->driver[static_cast<size_t>(r)]);
        }
        d->clave1 = std::move(c1);
        d->clave2 = std::move(c2);
        d->driver = std::move(dr);
    }
}

int CatalogoFicheros::AlinearSeries(TValorMultiple& tiempos, TValorMultiple& valores,
                                    TValorMultiple& intervalos) {
    const int numSeries = tiempos.Cuenta();
    if (numSeries == 0)
        return 0;
    if (numSeries == 1)
        return tiempos.Elementos(0);

    // A row that does not hold times is a series without points; a values row that is
    // shorter than its times, or not numeric, gives null values where it has none.
    struct Serie {
        const TTiempo* t = nullptr;
        int n = 0;
        const double* v = nullptr;
        int nv = 0;
        int fila = 0;
        int pos = 0;
        Clave siguiente = kSinTiempos;
    };
    std::vector<Serie> series(static_cast<size_t>(numSeries));
    for (int s = 0; s < numSeries; ++s) {
        Serie& x = series[static_cast<size_t>(s)];
        x.fila = s;
        x.t = tiempos.Tiempos(s);
        x.n = x.t != nullptr ? tiempos.Elementos(s) : 0;
        if (s < valores.Cuenta()) {
            x.v = valores.Doubles(s);
            x.nv = valores.Elementos(s);
        }
        if (x.n > 0)
            x.siguiente = ClaveDe(x.t[0]);
    }

    // Interval boundaries of every series, by time; a time that is a start somewhere and an
    // end elsewhere is dropped.
    enum : int { kInicio = 1, kFin = 2 };
    std::map<Clave, int> marcas;
    for (int f = 0; f < intervalos.Cuenta(); ++f) {
        const TTiempo* b = intervalos.Tiempos(f);
        const int nb = b != nullptr ? intervalos.Elementos(f) : 0;
        for (int e = 0; e < nb; ++e)
            marcas[ClaveDe(b[e])] |= (e % 2 == 0) ? kInicio : kFin;
    }
    std::vector<std::pair<Clave, int>> limites;
    for (const auto& [clave, paridad] : marcas)
        if (paridad != (kInicio | kFin))
            limites.emplace_back(clave, paridad);

    // First pass: walk the k-way merge once, recording which series are present at each step
    // (one bit per series) and the interval boundaries. The output rows are then allocated once
    // at their final size, left unfilled, and each written once in a sequential sweep, so a week
    // of one-second points in twelve series is never held twice nor written twice.
    const size_t palabras = (series.size() + 63) / 64;
    size_t maximo = 0;
    for (const Serie& x : series)
        maximo = std::max(maximo, static_cast<size_t>(x.n));
    std::vector<std::uint64_t> presencia;
    presencia.reserve(maximo * palabras);
    size_t numPasos = 0;

    // Boundaries keep alternating start, end: a start met while an interval is open closes it
    // at the step just before; an end met with none open opens one at the step after the
    // previous end (or at the first step).
    std::vector<TTiempo> fronteras;
    bool abierto = false;
    bool capturarInicio = true;
    TTiempo candidatoInicio;
    TTiempo pasoAnterior;
    size_t siguienteLimite = 0;

    for (;;) {
        Clave minimo = kSinTiempos;
        const TTiempo* tiempoMinimo = nullptr;
        for (const Serie& x : series) {
            if (x.pos < x.n && (tiempoMinimo == nullptr || x.siguiente < minimo)) {
                minimo = x.siguiente;
                tiempoMinimo = &x.t[x.pos];
            }
        }
        if (tiempoMinimo == nullptr)
            break;
        const TTiempo paso = *tiempoMinimo;
        presencia.resize(presencia.size() + palabras, 0);
        std::uint64_t* bits = presencia.data() + numPasos * palabras;
        for (size_t s = 0; s < series.size(); ++s) {
            Serie& x = series[s];
            if (x.pos < x.n && x.siguiente == minimo) {
                bits[s / 64] |= std::uint64_t{1} << (s % 64);
                ++x.pos;
                if (x.pos < x.n)
                    x.siguiente = ClaveDe(x.t[x.pos]);
            }
        }
        ++numPasos;

        if (capturarInicio) {
            candidatoInicio = paso;
            capturarInicio = false;
        }
        if (!limites.empty()) {
            // Steps grow in sorted series, so the next boundary is found by walking forward
            // (and searched again should a series go back in time).
            if (siguienteLimite > 0 && minimo < limites[siguienteLimite - 1].first)
                siguienteLimite = static_cast<size_t>(
                    std::lower_bound(limites.begin(), limites.end(), minimo,
                                     [](const auto& l, const Clave& c) { return l.first < c; }) -
                    limites.begin());
            while (siguienteLimite < limites.size() && limites[siguienteLimite].first < minimo)
                ++siguienteLimite;
            const auto it = limites.begin() + static_cast<std::ptrdiff_t>(siguienteLimite);
            if (it != limites.end() && it->first == minimo) {
                if (it->second == kInicio) {
                    if (abierto)
                        fronteras.push_back(pasoAnterior);
                    fronteras.push_back(paso);
                    abierto = true;
                } else {
                    if (!abierto)
                        fronteras.push_back(candidatoInicio);
                    fronteras.push_back(paso);
                    abierto = false;
                    capturarInicio = true;
                }
            }
        }
        pasoAnterior = paso;
    }
    if (abierto)
        fronteras.push_back(pasoAnterior);

    const auto presente = [&](size_t paso, size_t s) {
        return (presencia[paso * palabras + s / 64] >> (s % 64)) & 1U;
    };
    const int cuenta = static_cast<int>(numPasos);

    // Series that already share every step (a CSV's columns, one meter's channels) keep their
    // value rows as they are, still shared with the caller's: a week of points is not copied
    // to be aligned with itself.
    const bool alineadas = std::all_of(series.begin(), series.end(), [&](const Serie& x) {
        return x.n == cuenta && x.v != nullptr && x.nv == cuenta;
    });
    if (alineadas && cuenta > 0 && valores.Cuenta() == numSeries) {
        TValorMultiple nuevosTiempos, nuevosIntervalos, limitesComunes;
        limitesComunes.EntrarTiempos(fronteras);
        for (int s = 0; s < numSeries; ++s) {
            nuevosTiempos.CopiarFila(tiempos, 0);
            nuevosIntervalos.CopiarFila(limitesComunes, 0);
        }
        tiempos = std::move(nuevosTiempos);
        intervalos = std::move(nuevosIntervalos);
        return cuenta;
    }

    // Every series gets the same step times and boundaries: one row each, sharing the bytes.
    TValorMultiple comunes;
    auto* pasos = static_cast<TTiempo*>(comunes.EntrarBloqueSinCeros(sizeof(TTiempo), cuenta, TV_TIEMPO));
    comunes.EntrarTiempos(fronteras);
    {
        std::vector<int> pos(series.size(), 0);
        for (size_t k = 0; k < numPasos; ++k) {
            bool puesto = false;
            for (size_t s = 0; s < series.size(); ++s) {
                if (presente(k, s)) {
                    if (!puesto) {
                        pasos[k] = series[s].t[pos[s]];
                        puesto = true;
                    }
                    ++pos[s];
                }
            }
        }
    }

    TValorMultiple nuevosTiempos, nuevosValores, nuevosIntervalos;
    for (size_t s = 0; s < series.size(); ++s) {
        const Serie& x = series[s];
        nuevosTiempos.CopiarFila(comunes, 0);
        nuevosIntervalos.CopiarFila(comunes, 1);
        auto* v = static_cast<double*>(nuevosValores.EntrarBloqueSinCeros(8, cuenta, TV_DOUBLE));
        int pos = 0;
        for (size_t k = 0; k < numPasos; ++k) {
            if (!presente(k, s)) {
                v[k] = kValorNulo;
                continue;
            }
            if (pos >= x.nv)
                v[k] = kValorNulo;
            else if (x.v != nullptr)
                v[k] = x.v[pos];
            else
                v[k] = valores.Numero(x.fila, pos);
            ++pos;
        }
    }
    tiempos = std::move(nuevosTiempos);
    valores = std::move(nuevosValores);
    intervalos = std::move(nuevosIntervalos);
    return cuenta;
}
