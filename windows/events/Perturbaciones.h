#pragma once

#include "ListasAtributos.h"
#include "TTiempo.h"

#include <QString>

#include <array>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

// The disturbance filter without a window: the filter state, the thresholds of a register, the
// bad-register test, the colours of the marks, the stored filter object, the registry values
// and the checks of the filter dialog. The disturbances window and its dialog use it; the
// tests check it directly.
namespace perturbaciones {

// Trigger value meaning "no trigger set".
constexpr double kSinTrigger = 12345678900000.0;
// First value of the stored filter object, which tells it from other objects.
constexpr double kEtiquetaFiltro = 2.0;
constexpr int kElementosFiltro = 10;
// Percentage the voltage-drop limit takes when its criterion is off.
constexpr double kPorcentajeInicial = 75.0;
// Runs painted as a voltage drop: one cycle or half a cycle at 40 samples per cycle, whatever
// the frequency (the painting is not the test).
constexpr int kMuestrasMarcaCiclo = 40;
constexpr int kMuestrasMarcaSemiciclo = 20;

// Ranges of the dialog's up-downs: the trigger in tenths, the percentage in units.
constexpr int kTriggerMinimo = 0;
constexpr int kTriggerMaximo = 50;
constexpr int kPorcentajeMinimo = 0;
constexpr int kPorcentajeMaximo = 100;

struct Filtro {
    double Trigger = kSinTrigger;
    double Porcentaje = 0.0;
    int VerMalos = 0;
    int VerTrigger = 0;
    int VerPorcentaje = 0;
    std::uint32_t ColorTrigger = 0xFF00FF;
    std::uint32_t ColorPorcentaje = 0x008000;
    int Frecuencia = 50;
    int Ciclos = 1;

    bool operator==(const Filtro&) const = default;
};

// Registry key PERTURBACIONES: COLORT, COLORP, FRECUENCIA, CICLOS. A new key gets the
// defaults; a missing value is written with its default; a frequency other than 50 or 60 and
// a cycles value other than 0 or 1 read as their defaults.
void LeerRegistro(Filtro& filtro);
void EscribirRegistro(const Filtro& filtro);

// Voltage-drop limit A (the peak of a sine at Porcentaje % of Vref) and ramp limit B (the
// largest step of a sine of RMS Vref between two samples at the trigger's angle).
struct Umbrales {
    double A = 0.0;
    double B = 0.0;
};
Umbrales UmbralesDe(const Filtro& filtro, double vref);

// Samples a voltage drop must last for the bad-register test: the integer part of 2000 / f for
// a cycle, 1000 / f for half a cycle.
int VentanaHueco(const Filtro& filtro);
// Samples a run must last to be painted as a voltage drop: 40 (cycle) or 20 (half cycle).
int MuestrasMarca(const Filtro& filtro);

// Whether a register is bad: over every series, samples primero..ultimo, a voltage drop of at
// least VentanaHueco samples (with VerPorcentaje) or a step of B or more between neighbours
// (with VerTrigger). Missing samples break a drop and are no step. Without a positive Vref there
// are no limits: the register is not bad.
bool RegistroMalo(const Filtro& filtro, double vref, std::span<const std::span<const double>> series,
                  int primero, int ultimo);

// The colour of every sample of one series of the register shown: its series colour, the
// voltage-drop colour over runs inside the limit of at least MuestrasMarca samples, the trigger
// colour on every sample that steps B or more from the previous one.
std::vector<std::int32_t> ColoresMarcas(const Filtro& filtro, double vref, std::span<const double> muestras,
                                        std::int32_t colorSerie);

// The stored filter object: 2.0, VerTrigger, Trigger, ColorTrigger, Frecuencia, VerPorcentaje,
// Porcentaje, ColorPorcentaje, Ciclos, VerMalos.
std::array<double, kElementosFiltro> ObjetoFiltro(const Filtro& filtro);
// The filter a stored object holds; false (filter untouched) when it is not one.
bool FiltroDeObjeto(std::span<const double> objeto, Filtro& filtro);

// Checks of the dialog: the up-down position a typed text stands for. The trigger edit shows
// the position in tenths ("%.1f"), the percentage edit in units ("%d"); the integer part of
// the position must lie within the up-down's range. False for a text that is no number.
bool PosicionTrigger(const QString& texto, int& posicion);
bool PosicionPorcentaje(const QString& texto, int& posicion);
// The trigger up-down's lower bound: the smallest default trigger of the registers, in tenths,
// kept within the up-down's range.
int MinimoTrigger(double menorTrigger);

// The disturbance registers of a window: one series per phase variable, the registers as
// (first, last) sample pairs, the start of each, and per register the reference value Vref and
// the default trigger (the first two extra rows of the first variable).
class DatosPerturbaciones {
public:
    explicit DatosPerturbaciones(const ListasAtributos& listas);

    int NumSeries() const { return static_cast<int>(m_series.size()); }
    int NumPuntos() const { return m_numPuntos; }
    std::span<const double> Serie(int s) const { return m_series[static_cast<size_t>(s)]; }
    const QString& Nombre(int s) const { return m_nombres[static_cast<size_t>(s)]; }
    const QString& Unidad(int s) const { return m_unidades[static_cast<size_t>(s)]; }
    int Decimales(int s) const { return m_decimales[static_cast<size_t>(s)]; }
    const std::vector<std::pair<int, int>>& Registros() const { return m_registros; }
    TTiempo TiempoRegistro(int registro) const;
    // Vref of a register; 0 for a register without one, which is never bad nor marked.
    double Vref(int registro) const;
    // The smallest default trigger of the registers (kSinTrigger when there is none).
    double MenorTrigger() const;

    // Whether register `registro` is bad for `filtro`.
    bool Malo(const Filtro& filtro, int registro) const;
    // Every bad register, in order.
    std::vector<int> Malos(const Filtro& filtro) const;

private:
    std::vector<std::vector<double>> m_series;
    std::vector<QString> m_nombres;
    std::vector<QString> m_unidades;
    std::vector<int> m_decimales;
    int m_numPuntos = 0;
    std::vector<std::pair<int, int>> m_registros;
    std::vector<TTiempo> m_tiempos;
    std::vector<double> m_vref;
    std::vector<double> m_triggers;
};

} // namespace perturbaciones
