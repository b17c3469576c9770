#pragma once

#include "JuicioArmonicos.h"
#include "ListasAtributos.h"
#include "TTiempo.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <utility>
#include <vector>

// The data of a harmonics window without any window: the present channel slots, the X
// (harmonic order or band) and Y (percent) values of every point, the registers with their
// times, the axes by unit, the titles, and the judging of registers against an applied
// filter. The windows only draw what this computes.
namespace armonicos {

// Channel slots 0 to 2 are the voltage phases, 3 to 5 the current phases.
constexpr int kRanuras = 6;
// Values below this magnitude are drawn as 0.
constexpr double kCasiCero = 1e-5;

// A slot is present when its value list holds something other than the no-data value.
bool Presente(const TValorMultiple& valores, int fila);

// The kind of limits a channel slot is judged against.
using TipoRanura = std::function<juicio::Tipo(int ranura)>;

struct Canal {
    int ranura = 0;
    QString nombre;
    QString unidad;
    int decimales = 0;
};

struct Eje {
    QString etiqueta;
    int series = 0;
};

// Where the X value of each point comes from.
enum class OrigenX {
    Adicionales, // row 0 of the extra values, aligned with the values
    Opciones,    // the options row: element 13 is m, then the m X values of one register
};

class DatosArmonicos {
public:
    DatosArmonicos(ListasAtributos& listas, OrigenX origen);

    int NumSeries() const { return static_cast<int>(m_canales.size()); }
    int NumPuntos() const { return m_numPuntos; }
    const std::vector<Canal>& Canales() const { return m_canales; }
    const Canal& CanalDe(int serie) const { return m_canales[static_cast<size_t>(serie)]; }
    int Metodo() const { return m_metodo; }

    // Every series has the X values of the first: one harmonic order per point.
    double X(int /*serie*/, int punto) const { return m_x[static_cast<size_t>(punto)]; }
    double Y(int serie, int punto) const { return m_y[Indice(serie, punto)]; }
    const std::vector<std::pair<int, int>>& Registros() const { return m_registros; }
    // The register's time; the largest time when the data gave none.
    TTiempo TiempoRegistro(int registro) const;

    // A new axis wherever a channel's unit text differs from the previous channel's; voltage
    // units (ending in "V") are labelled "%Vn", current units (ending in "A") "%In".
    std::vector<Eje> Ejes() const;
    // One series: its channel's name; several: `palabra` plus the first name from " (".
    QString Titulo(const QString& palabra) const;
    // A channel's name up to the blank before " (".
    QString Etiqueta(int serie) const;

    // The series of the window as the judging sees them, each of the kind `tipo` gives it.
    std::vector<juicio::Serie> SeriesJuicio(const TipoRanura& tipo) const;
    // Indexes, in the full list, of the registers that break the limits (strictly above).
    std::vector<int> RegistrosMalos(const TipoRanura& tipo, const std::vector<double>& tension,
                                    const std::vector<double>& corriente) const;

private:
    size_t Indice(int serie, int punto) const {
        return static_cast<size_t>(serie) * static_cast<size_t>(m_numPuntos) + static_cast<size_t>(punto);
    }
    void LeerX(ListasAtributos& listas, OrigenX origen);

    int m_numPuntos = 0;
    int m_metodo = 0;
    std::vector<Canal> m_canales;
    std::vector<double> m_x;
    std::vector<double> m_y;
    std::vector<std::pair<int, int>> m_registros;
    std::vector<TTiempo> m_tiempos;
};

// Point labels of the horizontal axis ("|h" puts a label under its point).
// 24-hour harmonics: "|h2", "|h3", ... from the first point.
QString EtiquetaOrden(int punto);
// Voltage bands: the decimals that show a band width `ancho` (the smallest n >= 1 with
// 10^-n not above it), and the label of a band whose upper edge is `x`.
int DecimalesBanda(double ancho);
QString EtiquetaBanda(double x, double ancho);
// Interharmonics: "|h1.5", "|h2.5", ...; beyond 40 points the odd points get "|h" alone.
QString EtiquetaInterarmonico(int punto, int puntos);

// The THD judging over one series: how many values lie strictly above the limit of its kind.
int PuntosSobreThd(const std::vector<double>& valores, double limite);

} // namespace armonicos
