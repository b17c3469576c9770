#pragma once

#include "JuicioArmonicos.h"

#include <QString>

#include <functional>
#include <optional>

class QAction;
class QObject;
class TGestionNormasDlg;

// What every window with a harmonics filter does alike: its component on the norms file, the
// filter's button and menu texts, and a filter applied by name in a run without a person.
namespace filtro {

// `verSoloMalos`: the dialog offers "View only bad registers" (register windows only).
TGestionNormasDlg* CrearNormas(QObject* ventana, bool verSoloMalos);
void RotularBoton(QAction* boton, QAction* menu);
// Applies the filter called `nombre` with its bad values highlighted, then `tomar`: 1
// applied, 0 no such filter (nothing changes), -1 no component.
int AplicarPorNombre(TGestionNormasDlg* normas, const QString& nombre, const std::function<void()>& tomar);

// The two limit records a window keeps of the filter applied last (none before the first).
struct Limites {
    std::optional<juicio::RegistroLimites> tension;
    std::optional<juicio::RegistroLimites> corriente;

    void Tomar(const TGestionNormasDlg& normas);
    bool Aplicado() const { return tension && corriente; }
    juicio::RegistroLimites& De(juicio::Tipo tipo) {
        return tipo == juicio::Tipo::Tension ? *tension : *corriente;
    }
    const juicio::RegistroLimites& De(juicio::Tipo tipo) const {
        return tipo == juicio::Tipo::Tension ? *tension : *corriente;
    }
};

} // namespace filtro
