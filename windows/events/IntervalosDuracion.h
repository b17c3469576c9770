#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

class QWidget;

// The user's duration axis: a list of duration intervals, each with the share of the axis width
// it takes, kept in INTERVALS.PVI in the host directory; and the thresholds file UMBRALES.PVI
// that the table and export modules read.

inline constexpr char kFicheroIntervalos[] = "INTERVALS.PVI";
inline constexpr char kFicheroUmbrales[] = "UMBRALES.PVI";

// Units of interval ends, by the index stored in the file.
enum UnidadDuracion : int { UNIDAD_MS = 0, UNIDAD_S, UNIDAD_MIN, UNIDAD_H, UNIDAD_DIAS, NUM_UNIDADES };
// Milliseconds per unit; 0 for an index outside the list.
double FactorUnidad(int unidad);
// The unit's name as the interval grid shows it.
QString NombreUnidad(int unidad);

// Position returned for a duration that falls in no interval: the chart's "no point".
inline constexpr double kSinPosicion = -9999.9;
// Positions run from 0 to this, in tenths of a percent of the axis width.
inline constexpr double kAnchoEje = 1000.0;

struct Intervalo {
    int desde = 0;
    int unidadDesde = UNIDAD_MS;
    int hasta = 0;
    int unidadHasta = UNIDAD_MS;
    int porcentaje = 0; // share of the axis width, percent

    double DesdeMs() const { return desde * FactorUnidad(unidadDesde); }
    double HastaMs() const { return hasta * FactorUnidad(unidadHasta); }
    friend bool operator==(const Intervalo&, const Intervalo&) = default;
};
using ListaIntervalos = std::vector<Intervalo>;

// The file format: comma-separated numbers on one line ended by a newline, the count first, then
// from, from unit, to, to unit and share of each interval. A number is at most 20 characters of
// digits and "."; a fraction is dropped. Anything else, a unit outside 0..4, a count below 1, a
// value beyond 32 bits or a count that does not match the numbers makes the whole text invalid.
std::optional<ListaIntervalos> LeerIntervalos(const QByteArray& texto);
QByteArray FormatearIntervalos(const ListaIntervalos& intervalos);

// INTERVALS.PVI of the host directory; nothing when it is missing, unreadable or invalid.
std::optional<ListaIntervalos> CargarIntervalos();
// The same, and when the file cannot be used the user is told and the list is empty.
ListaIntervalos CargarIntervalosAvisando(QWidget* padre);
// Replaces INTERVALS.PVI atomically; false with `error` set when it could not be written.
bool GuardarIntervalos(const ListaIntervalos& intervalos, QString* error = nullptr);

// Where a duration `d` (ms) sits on the axis (0..1000), given the longest duration `maxima`
// of the events shown: the last interval ends just past it when it is shorter than the
// interval's end. kSinPosicion when `d` falls in no interval.
double PosicionDuracion(double d, double maxima, const ListaIntervalos& intervalos);

// The N + 1 interval boundaries of the axis with their labels (durations in seconds).
struct LimiteEje {
    double posicion = 0.0;
    QString etiqueta;
};
std::vector<LimiteEje> LimitesEje(const ListaIntervalos& intervalos, double maxima);

// A value typed in the interval dialog: not a number (or negative) counts as 0, and days are
// held to 9999.
int ValorTecleado(const QString& texto, int unidad);
// A cell of the interval grid: the value and the unit's name.
QString TextoCelda(int valor, int unidad);

// Checks of the interval grid before it is saved. An empty list stands for a grid whose only
// row is empty.
enum class ResultadoValidacion { Valido, SinIntervalos, Incorrecto, Incompatibles };
ResultadoValidacion ValidarIntervalos(const ListaIntervalos& intervalos);
// The message shown for a refused list (empty for a valid one).
QString MensajeValidacion(ResultadoValidacion resultado);
// Makes the shares add up to 100: every share but the last scaled by 100 / sum (rounded down),
// the last taking the rest. True when something changed.
bool ReescalarPorcentajes(ListaIntervalos& intervalos);

// The thresholds shown by an events window, in tenths of a percent of nominal.
struct UmbralesMostrados {
    bool verSobretension = false;
    bool verHueco = false;
    bool verInterrupcion = false;
    int sobretension = 0;
    int hueco = 0;
    int interrupcion = 0;
};
// The numbers of UMBRALES.PVI: the count of voltage bands, then each band as (low, high) in
// hundredths of a percent, from the highest band down.
std::vector<int> ValoresUmbrales(const UmbralesMostrados& umbrales);
QByteArray FormatearUmbrales(const UmbralesMostrados& umbrales);
// Replaces UMBRALES.PVI of the host directory atomically.
bool GuardarUmbrales(const UmbralesMostrados& umbrales, QString* error = nullptr);
