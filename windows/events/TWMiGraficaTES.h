#pragma once

#include "CListaEventos.h"
#include "ListasAtributos.h"
#include "MuestrasTES.h"
#include "NivelesEventos.h"
#include "PropiedadesEventos.h"
#include "TWGraficaGenerica.h"

#include <vector>

// The samples recorded around each voltage event, one event per interval: the intervals are the
// events of the current view (raw, compacted or three-phase), each shown with the samples of the
// raw events it is made of on the three phase series, and two vertical markers at its start and
// end labelled with their times.
class TWMiGraficaTES : public TWGraficaGenerica {
    Q_OBJECT

public:
    TWMiGraficaTES(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                   ListasAtributos& listas, DrivFlex* fuente);
    ~TWMiGraficaTES() override;

    // getters:
    const PropiedadesEventos& DamePropiedades() const { return m_propiedades; }
    const CListaEventos& DameEventos() const { return m_eventos; }
    const PuntosTES& DamePuntos() const { return m_puntos; }
    // The read-out of the point under the chart cursor.
    QString TextoCursor() const;

    // reimplemented virtual methods:
    void PintarGrafica(const std::int32_t* colores = nullptr) override;
    void Agrupar(int) override {}
    int DameNumeroEjes() override { return 1; }
    void MostrarIntervalo() override;
    void Propiedades() override;
    QJsonObject Describir() override;

protected:
    // reimplemented virtual methods:
    void Construir() override;
    void Cargar() override;
    void RestaurarVista() override;
    void PonerLectura() override;
    QStringList NombresSeries() const override;
    QStringList UnidadesSeries() const override;
    void LiberarDatos() override;

private:
    // Views of the event list from the settings; back to the first event.
    void AplicarAjustes();
    void CargarEvento();
    void PonerFases();
    void Rotular();
    QString TituloEvento() const;

    NivelesInstrumento m_niveles;
    PropiedadesEventos m_propiedades;
    CListaEventos m_eventos;
    MuestrasRegistradas m_muestras;
    PuntosTES m_puntos;
    // The series colours of the appearance settings, for the phases not painted.
    std::vector<std::int32_t> m_coloresSeries;
    std::vector<double> m_x;
    std::vector<double> m_y;
    QString m_nombre;
    QString m_unidad;
};
