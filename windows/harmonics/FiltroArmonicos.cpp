#include "FiltroArmonicos.h"

#include "TGestionNormasDlg.h"
#include "Textos.h"

#include <QAction>

namespace filtro {

namespace {

// The filter list's own default highlight colour (yellow), used when no dialog asked.
constexpr int kColorMalosDefecto = 65535;

} // namespace

TGestionNormasDlg* CrearNormas(QObject* ventana, bool verSoloMalos) {
    auto* normas = new TGestionNormasDlg(ventana);
    normas->SetFicheroNormas(QStringLiteral("FILTROS.NRM"));
    normas->SetHayVerSoloMalos(verSoloMalos);
    normas->SetHayResaltarMalos(true);
    return normas;
}

void RotularBoton(QAction* boton, QAction* menu) {
    boton->setToolTip(Texto(TXT_HARMONICS_FILTER));
    menu->setText(Texto(TXT_MENU_HARMONICS_FILTER));
}

int AplicarPorNombre(TGestionNormasDlg* normas, const QString& nombre, const std::function<void()>& tomar) {
    if (normas == nullptr)
        return -1;
    if (!normas->AplicarFiltro(nombre))
        return 0;
    normas->SetResaltarMalos(true);
    normas->SetColorMalos(kColorMalosDefecto);
    tomar();
    return 1;
}

void Limites::Tomar(const TGestionNormasDlg& normas) {
    tension = normas.Limites(juicio::Tipo::Tension);
    corriente = normas.Limites(juicio::Tipo::Corriente);
}

} // namespace filtro
