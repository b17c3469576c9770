#pragma once

#include "DatosMultigrafica.h"
#include "ListasAtributos.h"
#include "TWGraficaGenerica.h"

#include <memory>
#include <vector>

// The "MULTIGRAPHIC" window: up to twelve time series against time, on stacked vertical axes
// (one per run of consecutive series sharing a unit), stepped through interval by interval and
// regrouped by months, weeks, days or hours, with a cursor read-out.
class TWMiGrafica : public TWGraficaGenerica {
    Q_OBJECT

public:
    // Takes lists 1-6, 9 and 10 of the window's lists.
    TWMiGrafica(QWidget* propietario, TGrafica* driver, ServidorMonitores* servidor, ListasAtributos& listas,
                DrivFlex* fuente);
    ~TWMiGrafica() override;

    // reimplemented virtual methods:
    void PintarGrafica(const std::int32_t* colores = nullptr) override;
    void Agrupar(int nivel) override;
    void Configurar() override;
    int DameNumeroEjes() override { return NumEjes; }
    void MostrarIntervalo() override;
    void Propiedades() override {}
    void AtenderGrafica(int codigo) override;
    void Lista() override;
    void ExportarTXT() override;

    // getters:
    int DameNivelAgrupacion() const { return NivelAgrupacion; }
    int DameNumIntervalos() const { return NumIntervalos; }
    const DatosMultigrafica& Datos() const { return *m_datos; }
    // The read-out for the subset and point under the chart cursor; `filas` gets its rows.
    QString TextoCursor(int* filas = nullptr);

protected:
    void LiberarDatos() override;

private:
    void ResolverEntradas();
    void AjustesIniciales();
    void ConstruirEjes();
    void RotularGrafica();
    void CargarIntervalo(int intervalo);
    void ColorearPuntos();
    void PonerLectura();
    void RestaurarVista();
    void Redibujar();
    void EnviarRegistros(std::unique_ptr<QLibrary>& modulo, const char* fichero);
    void ponerDouble(int propiedad, double valor);
    void ponerTexto(int propiedad, const QString& texto);

    std::unique_ptr<DatosMultigrafica> m_datos;
    TValorMultiple ObjetosGrafica;
    std::vector<double> m_x;
    std::vector<double> m_y;
    int NivelAgrupacion = 5;
    int PuntoCursor = -1;
    bool Ocupado = false;
    int NumEjes = 0;
    ObjGen* ConfiguradorGrafica = nullptr;

    PEcreateFn PEcreate = nullptr;
    PEszsetFn PEszset = nullptr;
    PEszgetFn PEszget = nullptr;
    PEprintgraphFn PEprintgraph = nullptr;
    PEvsetcellFn PEvsetcell = nullptr;
    PEvgetcellFn PEvgetcell = nullptr;
    PEsavetofileFn PEsavetofile = nullptr;
    PElaunchprintdialogFn PElaunchprintdialog = nullptr;
    PEstorepartialFn PEstorepartial = nullptr;
};
