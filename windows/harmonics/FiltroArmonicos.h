#pragma once

#include <QString>

class QAction;
class QObject;
class TGestionNormasDlg;

// What every window with a harmonics filter does alike: its component on the norms file, the
// filter's button and menu texts, and a filter applied by name in a run without a person.
namespace filtro {

// `verSoloMalos`: the dialog offers "View only bad registers" (register windows only).
TGestionNormasDlg* CrearNormas(QObject* ventana, bool verSoloMalos);
void RotularBoton(QAction* boton, QAction* menu);
// Applies the filter called `nombre` with its bad values highlighted: 1 applied, 0 no such
// filter (nothing changes), -1 no component.
int AplicarPorNombre(TGestionNormasDlg* normas, const QString& nombre);

} // namespace filtro
