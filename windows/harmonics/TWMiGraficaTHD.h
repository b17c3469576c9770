#pragma once

#include "FiltroArmonicos.h"
#include "TWMiGraficaRMS.h"

#include <vector>

class TGestionNormasDlg;

// The "TOTAL HARMONIC DISTORSION" trend: the RMS trend's handling of the present channel slots,
// with the THD limits of a harmonics filter drawn as lines and the points above them
// highlighted.
class TWMiGraficaTHD : public TWMiGraficaRMS {
    Q_OBJECT

public:
    TWMiGraficaTHD(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                   ListasAtributos& listas, DrivFlex* fuente);

    // reimplemented virtual methods:
    void PintarGrafica(const std::int32_t* colores = nullptr) override;
    void Agrupar(int nivel) override;
    void MostrarIntervalo() override;
    void Propiedades() override;
    QJsonObject Describir() override;

    // Applies the filter called `nombre` without a dialog, its bad values highlighted
    // (command-line runs): 1 applied, 0 no such filter.
    Q_INVOKABLE int AplicarFiltro(const QString& nombre);

    // getters:
    // Values of the whole data strictly above the THD limit of their kind.
    int PuntosSobreLimite() const;
    TGestionNormasDlg* DameNormas() const { return NormasDLG; }

protected:
    // reimplemented virtual methods:
    QString TituloVarias() const override;
    // Titles follow the harmonics windows: one series shows its own name.
    bool TituloFijo() const override { return false; }
    void ColorearPuntos() override;
    void Construir() override;
    int ContextoAyuda() const override;

private:
    // A filter's name replaces the interval title.
    void PonerSubtituloFiltro();
    void TomarFiltro();
    double Limite(int serie) const;
    bool ConLimitesThd() const;
    // The axis of the first series of a kind (-1 when none).
    int EjeDe(juicio::Tipo tipo) const;

    TGestionNormasDlg* NormasDLG = nullptr;
    filtro::Limites m_limites;
};
