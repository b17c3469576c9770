#include "TGestionNormasDlg.h"

#include "TWFiltrosNormas.h"
#include "UserInteraction.h"

namespace {

double Limite(const std::vector<double>& limites, int i) {
    if (i < 0 || i >= static_cast<int>(limites.size()))
        return normas::kSinLimite;
    return limites[static_cast<size_t>(i)];
}

} // namespace

TGestionNormasDlg::TGestionNormasDlg(QObject* owner) : QObject(owner) {
    setObjectName(QStringLiteral("NormasDLG"));
}

bool TGestionNormasDlg::Execute(QWidget* parent) {
    TWFiltrosNormas dialogo(parent);
    m_filtroV.clear();
    m_filtroI.clear();
    dialogo.PonerFicheroNormas(m_ficheroNormas);
    dialogo.PonerOpciones(m_hayVerSoloMalos, m_hayResaltarMalos);
    dialogo.PonerEstado(m_verSoloMalos, m_resaltarMalos, m_colorMalos, m_filtroSeleccionado);
    dialogo.RellenarSiVacia();
    const bool aplicado = host::DialogRunner::exec(dialogo) == QDialog::Accepted;
    // Applied or not, the component follows the dialog: a window reads it only after true.
    m_filtroSeleccionado = dialogo.Seleccionado();
    m_verSoloMalos = dialogo.VerSoloMalos();
    m_resaltarMalos = dialogo.ResaltarMalos();
    m_colorMalos = dialogo.ColorMalos();
    m_normaSeleccionada = dialogo.NombreSeleccionado();
    const normas::Filtro& f = dialogo.FiltroCargado();
    m_thdV = f.tension.thd;
    m_thdI = f.corriente.thd;
    m_filtroV = f.tension.valores;
    m_filtroI = f.corriente.valores;
    // The dialog must close with its result set, so the settings it writes on closing match.
    dialogo.setResult(aplicado ? QDialog::Accepted : QDialog::Rejected);
    return aplicado;
}

bool TGestionNormasDlg::AplicarFiltro(const QString& nombre) {
    normas::Filtro filtro;
    int fila = 0;
    if (!nombre.isEmpty()) {
        const normas::Lectura lectura = normas::LeerFichero(m_ficheroNormas);
        if (lectura.estado != normas::EstadoLectura::Leido)
            return false;
        const normas::ResultadoUso r = normas::CargarParaUso(lectura.contenido, nombre.toLatin1());
        if (!r.ok)
            return false;
        filtro = r.filtro;
        const normas::ListaNormas lista = normas::LeerNombres(lectura.contenido);
        for (size_t i = 0; i < lista.entradas.size(); ++i) {
            if (lista.entradas[i].nombre == nombre.toLatin1()) {
                fila = static_cast<int>(i) + 1;
                break;
            }
        }
    }
    m_filtroSeleccionado = fila;
    m_normaSeleccionada = nombre;
    m_thdV = filtro.tension.thd;
    m_thdI = filtro.corriente.thd;
    m_filtroV = filtro.tension.valores;
    m_filtroI = filtro.corriente.valores;
    return true;
}

double TGestionNormasDlg::GetFiltroVn(int i) const {
    return Limite(m_filtroV, i);
}

double TGestionNormasDlg::GetFiltroIn(int i) const {
    return Limite(m_filtroI, i);
}

juicio::RegistroLimites TGestionNormasDlg::Limites(juicio::Tipo tipo) const {
    juicio::RegistroLimites r;
    r.tipo = tipo;
    r.resaltar = m_resaltarMalos;
    r.colorResaltado = m_colorMalos;
    r.thd = tipo == juicio::Tipo::Tension ? m_thdV : m_thdI;
    r.limites = tipo == juicio::Tipo::Tension ? m_filtroV : m_filtroI;
    return r;
}
