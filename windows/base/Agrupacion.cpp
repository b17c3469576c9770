#include "Agrupacion.h"

#include "Textos.h"

#include <cmath>
#include <cstdlib>

namespace Agrupacion {

int NuevoNivel(int modo, int nivelActual) {
    if (modo == MODO_DESAGRUPAR)
        return nivelActual == NIVEL_MESES ? NIVEL_SIN_AGRUPAR : nivelActual - 1;
    if (modo == MODO_AGRUPAR)
        return nivelActual < NIVEL_SIN_AGRUPAR ? nivelActual + 1 : NIVEL_MESES;
    return modo;
}

QString NombreNivel(int nivel) {
    switch (nivel) {
    case NIVEL_MESES:
        return Texto(TXT_MONTHS);
    case NIVEL_SEMANAS:
        return Texto(TXT_WEEKS);
    case NIVEL_DIAS:
        return Texto(TXT_DAYS);
    case NIVEL_HORAS:
        return Texto(TXT_HOURS);
    case NIVEL_DEFECTO:
        return Texto(TXT_DEFAULT);
    default:
        return QString();
    }
}

EstadoBotones Botones(int nivel) {
    EstadoBotones e;
    if (nivel == NIVEL_NO_DISPONIBLE)
        return e;
    e.agruparHabilitado = nivel != NIVEL_HORAS;
    e.desagruparHabilitado = nivel != NIVEL_SIN_AGRUPAR && nivel != NIVEL_DEFECTO;

    // Group divides into the next finer level; from no grouping (or the default) it starts
    // again at months.
    const int masFino = (nivel == NIVEL_SIN_AGRUPAR || nivel == NIVEL_DEFECTO) ? NIVEL_MESES : nivel + 1;
    if (e.agruparHabilitado)
        e.hintAgrupar = QString::asprintf(CargarTexto(TXT_FMT_GROUP_HINT), CargarTexto(TXT_DIVIDE_BY),
                                          NombreNivel(masFino).toUtf8().constData());
    if (e.desagruparHabilitado) {
        if (nivel == NIVEL_MESES)
            e.hintDesagrupar = Texto(TXT_NO_GROUP);
        else
            e.hintDesagrupar = QString::asprintf(CargarTexto(TXT_FMT_GROUP_HINT), CargarTexto(TXT_GROUP_BY),
                                                 NombreNivel(nivel - 1).toUtf8().constData());
    }
    return e;
}

bool MismoInstante(const TTiempo& a, const TTiempo& b) {
    if (a.Anio != b.Anio || a.Mes != b.Mes || a.Dia != b.Dia || a.Hora != b.Hora || a.Minuto != b.Minuto ||
        a.Segundo != b.Segundo)
        return false;
    if (a.Milesima == -1 || b.Milesima == -1)
        return true;
    return std::abs(a.Milesima - b.Milesima) <= 1;
}

namespace {

bool MismaFecha(const TTiempo& a, const TTiempo& b) {
    return a.Dia == b.Dia && a.Mes == b.Mes && a.Anio == b.Anio;
}

// Date of the Monday that starts a time's week, in days since the epoch.
long long LunesDeSemana(const TTiempo& t) {
    return t.DiasDesdeEpoca() - t.DiaSemana();
}

// Whether two times fall in the same interval of a calendar level.
bool MismaClave(int nivel, const TTiempo& a, const TTiempo& b) {
    switch (nivel) {
    case NIVEL_MESES:
        return a.Mes == b.Mes && a.Anio == b.Anio;
    case NIVEL_SEMANAS:
        return LunesDeSemana(a) == LunesDeSemana(b);
    case NIVEL_DIAS:
        return MismaFecha(a, b);
    case NIVEL_HORAS:
        return a.Hora == b.Hora && MismaFecha(a, b);
    default:
        return true;
    }
}

template <typename Corta> std::vector<Intervalo> Cortar(const TTiempo* t, int n, Corta nuevoIntervalo) {
    std::vector<Intervalo> rangos;
    if (t == nullptr || n <= 0)
        return rangos;
    int inicio = 0;
    for (int i = 1; i < n; ++i) {
        if (nuevoIntervalo(t[i - 1], t[i])) {
            rangos.push_back({inicio, i - 1});
            inicio = i;
        }
    }
    rangos.push_back({inicio, n - 1});
    return rangos;
}

std::vector<Intervalo> CortarSemanas(const TTiempo* t, int n) {
    if (t == nullptr || n <= 0)
        return {};
    // A running weekday instead of a key: only days between consecutive dates are counted, so
    // a long run of points costs one date conversion per new date, not per point.
    int diaSemana = t[0].DiaSemana();
    long long diasAnterior = t[0].DiasDesdeEpoca();
    return Cortar(t, n, [&](const TTiempo& anterior, const TTiempo& actual) {
        if (MismaFecha(anterior, actual))
            return false;
        const long long dias = actual.DiasDesdeEpoca();
        long long d = dias - diasAnterior;
        diasAnterior = dias;
        bool nueva = false;
        // More than six days apart can never be the same week; a date that goes backwards
        // (unordered data) cannot be placed in the running week either.
        if (d > 6 || d < 0) {
            nueva = true;
            diaSemana = actual.DiaSemana();
            d = 0;
        } else if ((diaSemana + d) % 7 < diaSemana) {
            nueva = true; // wrapped past Sunday
        }
        diaSemana = static_cast<int>((diaSemana + d) % 7);
        return nueva;
    });
}

// Position inside [r.primero, r.ultimo] of the first point at the cursor's time, or -1.
int PuntoEn(const TTiempo* t, const Intervalo& r, const TTiempo& cursor) {
    for (int i = r.primero; i <= r.ultimo; ++i) {
        if (MismoInstante(t[i], cursor))
            return i - r.primero;
    }
    return -1;
}

} // namespace

std::vector<Intervalo> CortarIntervalos(int nivel, const TTiempo* tiempos, int numPuntos) {
    switch (nivel) {
    case NIVEL_MESES:
        return Cortar(tiempos, numPuntos,
                      [](const TTiempo& a, const TTiempo& b) { return a.Mes != b.Mes || a.Anio != b.Anio; });
    case NIVEL_SEMANAS:
        return CortarSemanas(tiempos, numPuntos);
    case NIVEL_DIAS:
        return Cortar(tiempos, numPuntos,
                      [](const TTiempo& a, const TTiempo& b) { return !MismaFecha(a, b); });
    case NIVEL_HORAS:
        return Cortar(tiempos, numPuntos, [](const TTiempo& a, const TTiempo& b) {
            return a.Hora != b.Hora || !MismaFecha(a, b);
        });
    default:
        return Cortar(tiempos, numPuntos, [](const TTiempo&, const TTiempo&) { return false; });
    }
}

std::vector<Intervalo> IntervalosEntregados(const TTiempo* tiempos, int numPuntos, const TTiempo* pares,
                                            int numTiempos) {
    std::vector<Intervalo> rangos;
    const int numPares = pares == nullptr ? 0 : numTiempos / 2;
    if (tiempos == nullptr || numPuntos <= 0 || numPares <= 0)
        return rangos;
    int par = 0;
    int primero = -1;
    for (int i = 0; i < numPuntos && par < numPares; ++i) {
        const TTiempo& inicio = pares[2 * par];
        const TTiempo& fin = pares[2 * par + 1];
        if (primero < 0) {
            if (tiempos[i] != inicio)
                continue;
            primero = i;
        }
        // The start's own point may also be the end (a pair of one instant).
        if (tiempos[i] == fin) {
            while (i + 1 < numPuntos && tiempos[i + 1] == fin)
                ++i;
            rangos.push_back({primero, i});
            primero = -1;
            ++par;
        }
    }
    if (primero >= 0)
        rangos.push_back({primero, numPuntos - 1});
    return rangos;
}

double EspaciadoSinAgrupar(double periodo) {
    constexpr double kSegundosDia = 86400.0;
    // A period of 0 (or an unreadable one) has no spacing of its own; half a second is the
    // value the formula tends to as the period shrinks, so points stay distinct.
    if (!std::isfinite(periodo) || periodo == 0.0)
        return 0.5 / kSegundosDia;
    // The day fraction of h:m:s; a negative period means a whole day, 23:59:59.
    const double f = periodo < 0.0 ? (kSegundosDia - 1.0) / kSegundosDia : periodo / kSegundosDia;
    return f + f / (2.0 * std::fabs(periodo));
}

Agrupamiento CalcularAgrupacion(int nivel, const TTiempo* tiempos, int numPuntos, const TTiempo* intervalos,
                                int numTiemposIntervalos, double periodo, const TTiempo* cursor) {
    Agrupamiento r;
    if (tiempos == nullptr || numPuntos < 0)
        numPuntos = 0;

    if (nivel >= NIVEL_MESES && nivel <= NIVEL_HORAS) {
        r.rangos = CortarIntervalos(nivel, tiempos, numPuntos);
        if (cursor != nullptr) {
            for (size_t i = 0; i < r.rangos.size(); ++i) {
                if (MismaClave(nivel, tiempos[r.rangos[i].primero], *cursor)) {
                    r.intervaloActual = static_cast<int>(i);
                    r.puntoCursor = PuntoEn(tiempos, r.rangos[i], *cursor);
                    break;
                }
            }
        }
    } else if (nivel == NIVEL_DEFECTO) {
        // A single delivered pair is the whole recording: no ranges.
        if (numTiemposIntervalos / 2 > 1)
            r.rangos = IntervalosEntregados(tiempos, numPuntos, intervalos, numTiemposIntervalos);
        if (cursor != nullptr) {
            int actual = -1;
            for (size_t i = 0; i < r.rangos.size() && actual < 0; ++i) {
                const int p = PuntoEn(tiempos, r.rangos[i], *cursor);
                if (p >= 0) {
                    actual = static_cast<int>(i);
                    r.puntoCursor = p;
                }
            }
            if (r.rangos.empty() && numPuntos > 0)
                r.puntoCursor = PuntoEn(tiempos, {0, numPuntos - 1}, *cursor);
            r.intervaloActual = actual < 0 ? 0 : actual;
        }
    } else {
        r.conEspaciado = true;
        r.espaciado = EspaciadoSinAgrupar(periodo);
        if (cursor != nullptr && numPuntos > 0)
            r.puntoCursor = PuntoEn(tiempos, {0, numPuntos - 1}, *cursor);
    }

    // One interval is shown as the whole series.
    if (r.rangos.size() < 2) {
        if (r.rangos.size() == 1 && r.puntoCursor >= 0)
            r.puntoCursor += r.rangos[0].primero;
        r.rangos.clear();
        r.intervaloActual = 0;
    }
    r.numIntervalos = r.rangos.empty() ? 1 : static_cast<int>(r.rangos.size());
    return r;
}

} // namespace Agrupacion
