#pragma once

#include "DatosArmonicos.h"
#include "FiltroArmonicos.h"
#include "TWRegistro.h"

#include <memory>

class TGestionNormasDlg;

// The harmonics spectrum windows: one register at a time as bars over the harmonic order,
// one subset per present channel slot, the register's time above the graph, the read-out
// with the value of every channel at the cursor's order, and (in the windows that carry one)
// the harmonics filter: limit marks over the bars, bars above their limit highlighted, and
// the stepping restricted to the registers that break it. A window of the family gives its
// title word, its channel labels, its point labels and whether it carries the filter.
class TWArmonicos : public TWRegistro {
    Q_OBJECT

public:
    TWArmonicos(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                ListasAtributos& listas, DrivFlex* fuente,
                armonicos::OrigenX origenX = armonicos::OrigenX::Adicionales);
    ~TWArmonicos() override;

    // reimplemented virtual methods:
    void Propiedades() override;
    QJsonObject Describir() override;

    // Applies the filter called `nombre` from the norms file without a dialog, its bad values
    // highlighted (command-line runs): 1 applied, 0 no such filter, -1 the window has none.
    Q_INVOKABLE int AplicarFiltro(const QString& nombre);

    // getters:
    const armonicos::DatosArmonicos& Datos() const { return *m_datos; }
    TGestionNormasDlg* DameNormas() const { return NormasDLG; }
    // The read-out for the point under the chart cursor.
    QString TextoCursor();
    // Decimals shown for voltage and current values (registry DECIMALESV, DECIMALESA).
    int DecimalesTension() const { return m_decimalesV; }
    int DecimalesCorriente() const { return m_decimalesA; }

protected:
    // Steps a window of the family gives:
    virtual QString PalabraTitulo() const = 0;
    // The read-out label of a slot's channel; empty leaves the channel out of the read-out.
    virtual QString EtiquetaCanal(int ranura) const;
    // The kind of limits a slot is judged against.
    virtual juicio::Tipo TipoCanal(int ranura) const { return juicio::TipoDeRanura(ranura); }
    // Labels of the horizontal axis for the points of the register shown (none: the points
    // stand at their X values).
    virtual void RotularPuntos(int /*primero*/, int /*ultimo*/) {}
    // Whether the window carries a harmonics filter, and whether it offers its button.
    virtual bool ConFiltro() const { return true; }
    virtual bool BotonFiltro() const { return ConFiltro(); }

    // reimplemented virtual methods:
    void Construir() override;
    void Cargar() override;
    void MostrarRegistro(int registro) override;
    void PonerLectura() override;
    int ContextoAyuda() const override;
    QString NombreSerie(int serie) const override;
    QString UnidadSerie(int serie) const override;

    // Puts a label under each of the points at `x` (in place of the tick labels).
    void PonerEtiquetasPuntos(const std::vector<double>& x, const QStringList& etiquetas);

    std::unique_ptr<armonicos::DatosArmonicos> m_datos;
    // The window's filter component (nullptr in the windows without one).
    TGestionNormasDlg* NormasDLG = nullptr;

private:
    // Takes the filter the component holds and shows it.
    void TomarFiltro();
    void ColorearPuntos();
    void MarcarLimites();
    int DecimalesDe(int serie) const;
    std::vector<int> RegistrosMalos() const;

    filtro::Limites m_limites;
    int m_decimalesV = 0;
    int m_decimalesA = 0;
};
