#pragma once

#include "LecturaCursor.h"
#include "ListasAtributos.h"
#include "TWGraficaGenerica.h"

#include <functional>
#include <vector>

// Base of the windows that show one register or record at a time (harmonic spectra,
// waveforms, disturbances): the registers are the intervals the Previous and Next buttons step
// through, time is not regrouped, a filter may restrict the stepping to the bad registers,
// and the saved view restores the register shown.
class TWRegistro : public TWGraficaGenerica {
    Q_OBJECT

public:
    // Keeps the data references (list 9) of the window's lists.
    TWRegistro(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
               ListasAtributos& listas, DrivFlex* fuente);

    // reimplemented virtual methods:
    void Agrupar(int nivel) override {}
    int DameNumeroEjes() override { return NumEjes; }
    void PintarGrafica(const std::int32_t* colores = nullptr) override;
    void MostrarIntervalo() override;
    QJsonObject Describir() override;

    // getters:
    int NumRegistros() const { return static_cast<int>(m_registros.size()); }
    // Index, in the full list, of the register shown (0 when none is visible).
    int RegistroMostrado() const;
    const std::vector<int>& Visibles() const { return m_visibles; }

protected:
    // Draws register `registro` (an index into the full list) without redrawing.
    virtual void MostrarRegistro(int registro) = 0;

    // The registers: first and last point of each, in order.
    void PonerRegistros(std::vector<std::pair<int, int>> registros);
    const std::pair<int, int>& Registro(int registro) const {
        return m_registros[static_cast<size_t>(registro)];
    }
    // Restricts the stepping to the registers `malo` answers true for; with none bad the user
    // is told and the visible list stays as it was. Answers whether the list changed.
    bool VerSoloMalos(const std::function<bool(int)>& malo);
    // Every register visible again.
    void VerTodos();

    // The name and unit of series `serie`, for the lists, the table and the report.
    virtual QString NombreSerie(int serie) const = 0;
    virtual QString UnidadSerie(int serie) const = 0;

    // The chart's size (no serial dates: registers are drawn against their own x) and its
    // titles: the window's and the chart's title, one subtitle per series, none below.
    void PonerDimensiones();
    void PonerTitulos(const QString& titulo, const QStringList& etiquetas);
    // Fills the samples of register `registro` series by series from `muestra(serie, punto)`
    // (x and y, the point counted from the register's first), keeps each series' extremes and
    // hands them to the chart. Answers the register's first and last point.
    std::pair<int, int> CargarMuestras(int registro,
                                       const std::function<std::pair<double, double>(int, int)>& muestra);
    // "|time|" over the table: the time the register was taken.
    void PonerHoraRegistro(const TTiempo& tiempo);
    // The cursor's series and point on the register shown, the point pulled back within it;
    // false when nothing is shown.
    bool PosicionCursor(int& serie, int& punto);
    // The read-out of the sample at the cursor: value and extremes of its series, whether the
    // series is named; the caller adds what its window knows (unit, decimals, x texts).
    LecturaCursor::Lectura LecturaMuestra(int serie, int punto) const;
    std::size_t Indice(int serie, int punto) const {
        return static_cast<std::size_t>(serie) * static_cast<std::size_t>(m_puntosMostrados) +
               static_cast<std::size_t>(punto);
    }

    // reimplemented virtual methods:
    void RestaurarVista() override;
    TValorMultiple RegistrosLista() override;
    void LiberarDatos() override;
    QStringList NombresSeries() const override;
    QStringList UnidadesSeries() const override;

    int NumEjes = 1;
    // Start of running extremes, beyond any sample.
    static constexpr double kMinimoInicial = 1.23456789e13;
    // The samples of the register shown, series-major, and each series' extremes.
    int m_puntosMostrados = 0;
    std::vector<double> m_x;
    std::vector<double> m_y;
    std::vector<double> m_minimos;
    std::vector<double> m_maximos;

private:
    std::vector<std::pair<int, int>> m_registros;
    std::vector<int> m_visibles;
};
