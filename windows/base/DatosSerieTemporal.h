#pragma once

#include "Agrupacion.h"
#include "Contrato.h"
#include "TTiempo.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class TValorMultiple;

// The data of a time-series graph window, held as flat arrays: the series' values and chart
// dates (series-major, every series on one common time axis), the point range of every
// interval, the per-series extremes of what is shown, and the texts built from them. Plain
// code with no window, so the window stays a thin layer over it.
class DatosSerieTemporal {
public:
    static constexpr double kMinimoInicial = 12345678900000.0;
    static constexpr double kMaximoInicial = -12345678900000.0;

    // Converts a time into the chart's serial date (days).
    using ConversorFecha = std::function<double(const TTiempo&)>;

    struct Eje {
        QString etiqueta;
        int series = 0;
    };

    // Copies the window's lists and puts the series on one time axis. `tiempos` rows hold
    // TTiempo values; `valores` rows doubles; `intervalos` the delivered (start, end) pairs.
    DatosSerieTemporal(const TValorMultiple& valores, const TValorMultiple& tiempos,
                       const TValorMultiple& unidades, const TValorMultiple& nombres,
                       const TValorMultiple& opciones, const TValorMultiple& intervalos,
                       const TValorMultiple& decimales, const ConversorFecha& conversor);
    DatosSerieTemporal(DatosSerieTemporal&&) noexcept;
    ~DatosSerieTemporal();

    int NumSeries() const { return m_numSeries; }
    int NumPuntos() const { return m_numPuntos; }
    // The chart date of a point of a series: the common axis's, or the null value past the end
    // of a series shorter than the axis.
    double FechaSerie(int serie, int punto) const;
    // A series' value at a point of the common axis (the null value past its end).
    double Valor(int serie, int punto) const;
    // The common time axis (the first series' times), NumPuntos() long.
    const TTiempo* Tiempos() const { return m_tiempos; }
    // Delivered intervals after alignment: start and end times, alternating.
    const std::vector<TTiempo>& IntervalosEntregados() const { return m_intervalos; }
    int PeriodoRegistro() const { return m_periodo; }
    int PeriodoMinimo() const { return m_periodoMinimo; }
    int Metodo() const { return m_metodo; }
    const QString& Unidad(int serie) const { return m_unidades[static_cast<size_t>(serie)]; }
    const QString& Nombre(int serie) const { return m_nombres[static_cast<size_t>(serie)]; }
    int Decimales(int serie) const;
    // Option value `indice` of a series (0 when absent).
    double Opcion(int serie, int indice) const;

    // Vertical axes: consecutive series sharing a unit share an axis (at most 12 axes). By
    // default percentages of one reference share an axis; `unidadExacta` joins equal texts only.
    // Without series there is one empty axis.
    std::vector<Eje> Ejes(bool unidadExacta = false) const;

    // The point range [first, last] of interval k (the whole data when there are no ranges).
    void PonerRangos(std::vector<Agrupacion::Intervalo> rangos) { m_rangos = std::move(rangos); }
    const std::vector<Agrupacion::Intervalo>& Rangos() const { return m_rangos; }
    std::pair<int, int> Rango(int intervalo) const;

    // Chooses interval k (or everything, k < 0) as the one shown, and takes its extremes and
    // first and last times. Its values are read with ValorMostrado, values below 0.00001 in
    // magnitude drawn as 0; its chart dates, series-major, are built by FechasMostradas.
    void ElegirIntervalo(int intervalo);
    std::vector<double> FechasMostradas() const;
    int PrimerMostrado() const { return m_primerMostrado; }
    int PuntosMostrados() const { return m_puntosMostrados; }
    double Minimo(int serie) const { return m_minimos[static_cast<size_t>(serie)]; }
    double Maximo(int serie) const { return m_maximos[static_cast<size_t>(serie)]; }
    const TTiempo& PrimeraFecha() const { return m_primera; }
    const TTiempo& UltimaFecha() const { return m_ultima; }
    // The time of a shown point of the interval last loaded.
    TTiempo TiempoMostrado(int punto) const;

    // A shown value of the interval last loaded, as the chart was given it (null outside it).
    double ValorMostrado(int serie, int punto) const;

    // Per-point colours of the shown points, series-major: each point its series' colour, null
    // points the back colour so they vanish against the graph.
    std::vector<std::int32_t> ColoresPuntos(const std::vector<std::int32_t>& coloresSerie,
                                            std::int32_t colorFondo) const;

    // Titles: the only series' name or `titulo` for several series; the series names joined
    // by tabs; the interval title; the horizontal axis label.
    QString TituloPrincipal(const QString& tituloVarias) const;
    QString Subtitulos() const;
    static QString TituloIntervalo(int nivel, int intervalo, int numIntervalos);
    QString EtiquetaX() const;

private:
    void reiniciarExtremos();
    double fecha(size_t punto) const;
    static double comoSeMuestra(double v);

    int m_numSeries = 0;
    int m_numPuntos = 0;
    int m_periodo = 0;
    int m_periodoMinimo = 0;
    int m_metodo = 0;
    // The aligned rows. Series that were already on one time axis still share their bytes
    // with the lists the window was given, so the values are held once, not once per copy.
    std::unique_ptr<TValorMultiple> m_filasTiempos;
    std::unique_ptr<TValorMultiple> m_filasValores;
    const TTiempo* m_tiempos = nullptr;
    std::vector<TTiempo> m_tiemposPropios; // when the first row is shorter than the axis
    std::vector<TTiempo> m_intervalos;
    // The chart dates are converted when the chart takes them, not kept. The number of points
    // each series has of its own (a shorter series is null past its end).
    ConversorFecha m_conversor;
    std::vector<size_t> m_propios;
    // Each series' values: its row's doubles, or a converted copy of a row of other numbers.
    std::vector<const double*> m_series;
    std::vector<std::vector<double>> m_convertidas;
    std::vector<QString> m_unidades;
    std::vector<QString> m_nombres;
    std::vector<int> m_decimales;
    std::vector<std::vector<double>> m_opciones;
    std::vector<Agrupacion::Intervalo> m_rangos;
    std::vector<double> m_minimos;
    std::vector<double> m_maximos;
    TTiempo m_primera = TTiempo::Maximo();
    TTiempo m_ultima = TTiempo::Minimo();
    int m_primerMostrado = 0;
    int m_puntosMostrados = 0;
};
