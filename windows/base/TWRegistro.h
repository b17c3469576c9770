#pragma once

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

    // reimplemented virtual methods:
    void RestaurarVista() override;
    TValorMultiple RegistrosLista() override;

    int NumEjes = 1;

private:
    std::vector<std::pair<int, int>> m_registros;
    std::vector<int> m_visibles;
};
