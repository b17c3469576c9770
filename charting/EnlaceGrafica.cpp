#include "EnlaceGrafica.h"

#include "Contrato.h"
#include "ModuleLoader.h"
#include "Textos.h"
#include "VTXExcepcion.h"

#include <QLibrary>
#include <QWidget>

#include <vector>

namespace {

[[noreturn]] void Lanzar(int codigo, int mensaje, int contexto) {
    VTXExcepcion::LanzarExcepcion(CargarTexto(TXT_MODULO), codigo, CargarTexto(mensaje),
                                  CargarTexto(contexto));
}

template <class Fn> void Resolver(QLibrary* libreria, Fn& destino, const char* nombre) {
    destino = reinterpret_cast<Fn>(host::resolveEntry(libreria, nombre));
}

} // namespace

EnlaceGrafica::EnlaceGrafica(QLibrary* l) {
    if (l == nullptr)
        return;
    Resolver(l, PEcreate, "PEcreate");
    Resolver(l, PEdestroy, "PEdestroy");
    Resolver(l, PEnset, "PEnset");
    Resolver(l, PEnget, "PEnget");
    Resolver(l, PEszset, "PEszset");
    Resolver(l, PEszget, "PEszget");
    Resolver(l, PEvset, "PEvset");
    Resolver(l, PEvget, "PEvget");
    Resolver(l, PEvsetcell, "PEvsetcell");
    Resolver(l, PEvgetcell, "PEvgetcell");
    Resolver(l, PEvgetcellEx, "PEvgetcellEx");
    Resolver(l, PEreinitialize, "PEreinitialize");
    Resolver(l, PEresetimage, "PEresetimage");
    Resolver(l, PEresetimageEx, "PEresetimageEx");
    Resolver(l, PEgetmeta, "PEgetmeta");
    Resolver(l, PEprintgraph, "PEprintgraph");
    Resolver(l, PElaunchprintdialog, "PElaunchprintdialog");
    Resolver(l, PEsavetofile, "PEsavetofile");
    Resolver(l, PEstorepartial, "PEstorepartial");
    Resolver(l, PEcreateserialdate, "PEcreateserialdate");
    Resolver(l, PEdecipherserialdate, "PEdecipherserialdate");
}

std::unique_ptr<QLibrary> EnlaceGrafica::CargarLibreria(QString* error) {
    return host::loadModule(QString::fromLatin1(kChartingLibrary), error);
}

void EnlaceGrafica::ExigirVentana(bool libreriaCargada, int contexto) const {
    if (!libreriaCargada)
        Lanzar(EXC_MODULO, TXT_FALLA_LIBRERIA, contexto);
    const bool completo = PEcreate && PEdestroy && PEnset && PEnget && PEszset && PEszget && PEvset &&
                          PEvget && PEvsetcell && PEvgetcell && PEvgetcellEx && PEreinitialize &&
                          PEresetimage && PEgetmeta && PEprintgraph && PEcreateserialdate &&
                          PEdecipherserialdate;
    if (!completo)
        Lanzar(EXC_GRAFICA, TXT_NO_CREA_GRAFICA, contexto);
}

void EnlaceGrafica::ExigirDriver() const {
    if (!PEvset || !PEvget || !PEnset || !PEnget || !PEszset || !PEszget || !PEreinitialize || !PEresetimage)
        Lanzar(EXC_MODULO, TXT_FALLA_LIBRERIA, TXT_CTX_TGRAFICA);
}

HPE EnlaceGrafica::Crear(QWidget* padre) const {
    if (PEcreate == nullptr || padre == nullptr)
        return nullptr;
    const QRect r = padre->rect();
    const PERect rectangulo{r.left(), r.top(), r.right(), r.bottom()};
    return PEcreate(kObjetoGrafica, 0, &rectangulo, padre, 1);
}

void EnlaceGrafica::ponerEntero(int propiedad, int valor) const {
    if (m_grafica != nullptr && PEnset != nullptr)
        PEnset(m_grafica, propiedad, valor);
}

void EnlaceGrafica::ponerDouble(int propiedad, double valor) const {
    if (m_grafica != nullptr && PEvset != nullptr)
        PEvset(m_grafica, propiedad, &valor, 1);
}

void EnlaceGrafica::ponerTexto(int propiedad, const QString& texto) const {
    if (m_grafica != nullptr && PEszset != nullptr)
        PEszset(m_grafica, propiedad, texto.toUtf8().constData());
}

void EnlaceGrafica::ponerArray(int propiedad, std::span<const double> valores) const {
    if (m_grafica != nullptr && PEvset != nullptr)
        PEvset(m_grafica, propiedad, valores.data(), static_cast<int>(valores.size()));
}

void EnlaceGrafica::ponerArray(int propiedad, std::span<const std::int32_t> valores) const {
    if (m_grafica != nullptr && PEvset != nullptr)
        PEvset(m_grafica, propiedad, valores.data(), static_cast<int>(valores.size()));
}

void EnlaceGrafica::ponerCeldas(int propiedad, int celdas, const std::function<double(int)>& valorDe) const {
    if (m_grafica == nullptr || PEvset == nullptr || PEvsetcell == nullptr)
        return;
    PEvset(m_grafica, propiedad, nullptr, 0);
    if (celdas <= 0)
        return;
    const double ultimo = valorDe(celdas - 1);
    PEvsetcell(m_grafica, propiedad, celdas - 1, &ultimo);
    for (int celda = 0; celda + 1 < celdas; ++celda) {
        const double v = valorDe(celda);
        PEvsetcell(m_grafica, propiedad, celda, &v);
    }
}

void EnlaceGrafica::ponerTextos(int propiedad, const QStringList& textos) const {
    if (m_grafica == nullptr || PEvset == nullptr)
        return;
    std::vector<QByteArray> utf8;
    std::vector<const char*> punteros;
    utf8.reserve(static_cast<size_t>(textos.size()));
    for (const QString& t : textos)
        utf8.push_back(t.toUtf8());
    for (const QByteArray& b : utf8)
        punteros.push_back(b.constData());
    PEvset(m_grafica, propiedad, punteros.data(), static_cast<int>(punteros.size()));
}

int EnlaceGrafica::dameEntero(int propiedad) const {
    return m_grafica != nullptr && PEnget != nullptr ? PEnget(m_grafica, propiedad) : 0;
}

double EnlaceGrafica::dameDouble(int propiedad) const {
    double v = 0.0;
    if (m_grafica != nullptr && PEvget != nullptr)
        PEvget(m_grafica, propiedad, &v, 1);
    return v;
}

QString EnlaceGrafica::dameTexto(int propiedad) const {
    if (m_grafica == nullptr || PEszget == nullptr)
        return QString();
    // The library answers the text's full length, so a long read-out is read whole.
    std::vector<char> buffer(4096);
    const int largo = PEszget(m_grafica, propiedad, buffer.data(), static_cast<int>(buffer.size()));
    if (largo >= static_cast<int>(buffer.size())) {
        buffer.assign(static_cast<size_t>(largo) + 1, '\0');
        PEszget(m_grafica, propiedad, buffer.data(), static_cast<int>(buffer.size()));
    }
    return QString::fromUtf8(buffer.data());
}

void EnlaceGrafica::Redibujar() const {
    if (m_grafica == nullptr || PEreinitialize == nullptr || PEresetimage == nullptr)
        return;
    PEreinitialize(m_grafica);
    PEresetimage(m_grafica, 0, 0);
    m_grafica->update();
}

double EnlaceGrafica::FechaSerie(const PETM& tm) const {
    double serie = 0.0;
    if (PEcreateserialdate != nullptr)
        PEcreateserialdate(&serie, &tm, kModoFechaSerie);
    return serie;
}
