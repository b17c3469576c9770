#pragma once

#include "TTiempo.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// Kinds of voltage event.
inline constexpr unsigned char kSobretension = 'S';
inline constexpr unsigned char kHueco = 'H';
inline constexpr unsigned char kInterrupcion = 'I';
// All bits set: a record that holds no event (an empty accumulator).
inline constexpr unsigned char kTipoVacio = 255;

// One voltage event. Voltages are percentages of the nominal voltage, durations milliseconds.
struct CEvento {
    TTiempo Inicio;
    double Duracion = 0.0;
    std::int8_t Fase = 0; // 1, 2 or 3
    unsigned char Tipo = kTipoVacio;
    double ValorPrevio = 0.0;
    double ValorMedio = 0.0;
    // The minimum for a sag or an interruption, the maximum for an overvoltage: the value drawn.
    double ValorExtremo = 0.0;
    // False when the instrument only recorded a lower bound of the duration.
    bool DuracionExacta = true;
    // Positions in the raw list of the recorded events this event is made of, without repeats.
    std::vector<std::int32_t> Indices;
    // Order of the recorded event in the recording (its samples' block); -1 for none. A merged
    // event keeps the first one's.
    std::int32_t Registro = -1;

    bool Vacio() const { return Tipo == kTipoVacio; }
    void AnadirIndice(std::int32_t indice);
    void AnadirIndices(const std::vector<std::int32_t>& otros);
};

// The classification of one recorded event against the instrument's levels.
struct Clasificacion {
    double Duracion = 0.0;
    bool DuracionExacta = true;
    unsigned char Tipo = kTipoVacio;
};

// `duracion` as recorded (negative when the instrument recorded a lower bound), `valor` the
// voltage of the event's phase in % of nominal, the levels in tenths of a percent.
Clasificacion ClasificarEvento(double duracion, double valor, int nivelInterrupcion, int nivelHueco,
                               int nivelSobretension);

// The start plus the whole milliseconds of the duration.
TTiempo FinEvento(const CEvento& evento);

// The merge test of an accumulated event `a` with the following event `b` under a hysteresis in
// milliseconds. When they merge, `a`'s duration is stretched or cut to reach `b`'s start (the
// caller then adds `b` with Acumular). Gaps are counted with 31-day months and no year.
bool Fusionar(CEvento& a, const CEvento& b, int histeresis);
// Folds `b` into `a` after a successful merge test: duration-weighted average, summed duration,
// the worse extreme, and `b`'s exactness.
void Acumular(CEvento& a, const CEvento& b);

// The ordered events of one window, viewed raw, compacted (same phase and kind within a time
// hysteresis merged) or three-phase (simultaneous events on the three phases merged).
class CListaEventos {
public:
    using Vista = std::vector<std::unique_ptr<CEvento>>;
    enum class Destino { Brutos, Compactados, Trifasicos };

    CListaEventos();
    CListaEventos(const CListaEventos&) = delete;
    CListaEventos& operator=(const CListaEventos&) = delete;

    // getters:
    int NumeroEventos() const;
    // A copy of the event at `indice` of the current view (of the raw list with `soloBrutos`);
    // an empty event when the index is out of range.
    CEvento DameEvento(int indice, bool soloBrutos = false) const;
    // The same without a copy; nullptr when the index is out of range.
    const CEvento* Evento(int indice, bool soloBrutos = false) const;
    int NumeroEventosBrutos() const { return static_cast<int>(Eventos.size()); }
    // Extremes of the current view for phase index 0..2 (the single pair in three-phase mode).
    double DameDuracionMinima(int fase) const;
    double DameDuracionMaxima(int fase) const;
    // The longest duration of the current view over all phases.
    double DameDuracionMaximaVista() const;
    bool EstaCompactado() const { return Compactado; }
    int DameHisteresis() const { return Histeresis; }
    const Vista& DameVista(Destino destino) const;

    // setters:
    // Adds a recorded event; its `Registro` is the number of calls before it. False (and
    // nothing added) for a phase outside 1..3 or an unknown kind, which have no place in the views.
    bool AnadirEvento(const TTiempo& inicio, double duracion, int fase, unsigned char tipo, double previo,
                      double medio, double extremo, bool exacta);
    // Inserts a copy in order; false for a phase outside 1..3 or an unknown kind.
    bool InsertarEvento(Destino destino, const CEvento& evento);
    void PonerHisteresis(int milisegundos);
    bool Compactar();
    bool Descompactar();
    bool CalcularTrifasicos();
    bool EliminarEvento(Destino destino, int indice);
    void EnlazarEventosBrutos();

    // Selected by the owning window before it reads.
    bool Trifasico = false;

    static constexpr double kMinimoInicial = 1.7976931348623157e+308;
    static constexpr double kMaximoInicial = 2.2250738585072014e-308;

private:
    struct Extremos {
        std::array<double, 3> minima;
        std::array<double, 3> maxima;
        void Reiniciar();
        void Actualizar(int fase, double duracion);
    };

    Vista& vista(Destino destino);
    const Vista& vistaActual() const;
    Extremos& extremos(Destino destino);
    const Extremos& extremosActuales() const;
    void Enlazar(CEvento& evento) const;
    void Vaciar(Destino destino);
    void DepurarTrifasicos();

    int Histeresis = 0;
    Vista Eventos;
    Vista EventosCompactados;
    Vista EventosTrifasicos;
    bool Compactado = false;
    // Calls of AnadirEvento so far, refused ones included: the next event's `Registro`.
    std::int32_t m_registrados = 0;
    Extremos m_extremosBrutos;
    Extremos m_extremosCompactados;
    // Only element 0 is used: the three-phase view has one pair.
    Extremos m_extremosTrifasicos;
};
