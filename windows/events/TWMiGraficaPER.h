#pragma once

#include "Perturbaciones.h"
#include "TWRegistro.h"

#include <array>
#include <memory>
#include <vector>

// The disturbances window: the waveform of every phase of one register at a time, the samples
// that meet the filter's criteria painted in their colours (a voltage drop, a steep ramp), and
// the stepping restricted to the bad registers when the filter asks for it. Its properties
// dialog is the disturbance filter.
class TWMiGraficaPER : public TWRegistro {
    Q_OBJECT

public:
    TWMiGraficaPER(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                   ListasAtributos& listas, DrivFlex* fuente);
    ~TWMiGraficaPER() override;

    // reimplemented virtual methods:
    void Propiedades() override;
    QJsonObject Describir() override;

    // getters:
    const perturbaciones::DatosPerturbaciones& Datos() const { return *m_datos; }
    const perturbaciones::Filtro& Filtro() const { return m_filtro; }
    // The stored filter objects (each of ten doubles; the filter's is tagged 2.0).
    const std::vector<std::array<double, perturbaciones::kElementosFiltro>>& ObjetosExtra() const {
        return m_objetosExtra;
    }
    // The per-point colours of the register shown, series-major.
    const std::vector<std::int32_t>& ColoresMostrados() const { return m_colores; }
    QString TextoCursor();

    // setters:
    // Applies a filter as the dialog's OK does: stores it, filters the registers and redraws.
    void AplicarFiltro(const perturbaciones::Filtro& filtro);

protected:
    // reimplemented virtual methods:
    void Construir() override;
    void Cargar() override;
    void MostrarRegistro(int registro) override;
    void PonerLectura() override;
    QString NombreSerie(int serie) const override;
    QString UnidadSerie(int serie) const override;

private:
    void GuardarFiltro();
    void FiltrarRegistros();
    void ColorearPuntos(int registro);

    std::unique_ptr<perturbaciones::DatosPerturbaciones> m_datos;
    perturbaciones::Filtro m_filtro;
    std::vector<std::array<double, perturbaciones::kElementosFiltro>> m_objetosExtra;
    std::vector<std::int32_t> m_colores;
};
