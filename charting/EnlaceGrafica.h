#pragma once

#include "PEApi.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

class QLibrary;

// The charting library as the engine uses it: the module loaded once, every entry point looked
// up once, the required sets checked in one place, and typed setters over one chart.
class EnlaceGrafica {
public:
    EnlaceGrafica() = default;
    // Looks every entry point up in a library someone else loaded (the window driver binds to
    // its window's library this way); nullptr leaves every entry empty.
    explicit EnlaceGrafica(QLibrary* libreria);

    // Loads the charting library by its file name; nullptr when it cannot be loaded, with the
    // loader's reason in `error` when asked.
    static std::unique_ptr<QLibrary> CargarLibreria(QString* error = nullptr);

    // What a window needs to build its chart: raises the host exception (code 11 without the
    // library, code 1000 when an entry point is missing) with `contexto` as context string.
    void ExigirVentana(bool libreriaCargada, int contexto) const;
    // What a window driver needs: raises code 11 when any of its eight entry points is missing.
    void ExigirDriver() const;
    bool Vacio() const { return PEnset == nullptr; }

    // The chart the typed setters address.
    void PonerGrafica(HPE grafica) { m_grafica = grafica; }
    HPE Grafica() const { return m_grafica; }

    // Creates a graph chart over the whole of `padre`.
    HPE Crear(QWidget* padre) const;

    // typed setters and getters on the bound chart:
    void ponerEntero(int propiedad, int valor) const;
    void ponerDouble(int propiedad, double valor) const;
    void ponerTexto(int propiedad, const QString& texto) const;
    void ponerArray(int propiedad, std::span<const double> valores) const;
    void ponerArray(int propiedad, std::span<const std::int32_t> valores) const;
    // A double array of `celdas` values written cell by cell, the last first so the chart sizes
    // its array once: for arrays too large to build whole only to have them copied.
    void ponerCeldas(int propiedad, int celdas, const std::function<double(int)>& valorDe) const;
    // A text array (one text per annotation, say).
    void ponerTextos(int propiedad, const QStringList& textos) const;
    int dameEntero(int propiedad) const;
    double dameDouble(int propiedad) const;
    QString dameTexto(int propiedad) const;
    // Re-initialise, reset the image and invalidate: how every change reaches the screen.
    void Redibujar() const;

    // The chart's serial date of a broken-down time (the library's own date mode).
    double FechaSerie(const PETM& tm) const;

    // Entry points, for the calls the setters do not cover.
    PEcreateFn PEcreate = nullptr;
    PEdestroyFn PEdestroy = nullptr;
    PEnsetFn PEnset = nullptr;
    PEngetFn PEnget = nullptr;
    PEszsetFn PEszset = nullptr;
    PEszgetFn PEszget = nullptr;
    PEvsetFn PEvset = nullptr;
    PEvgetFn PEvget = nullptr;
    PEvsetcellFn PEvsetcell = nullptr;
    PEvgetcellFn PEvgetcell = nullptr;
    PEvgetcellExFn PEvgetcellEx = nullptr;
    PEreinitializeFn PEreinitialize = nullptr;
    PEresetimageFn PEresetimage = nullptr;
    PEresetimageExFn PEresetimageEx = nullptr;
    PEgetmetaFn PEgetmeta = nullptr;
    PEprintgraphFn PEprintgraph = nullptr;
    PElaunchprintdialogFn PElaunchprintdialog = nullptr;
    PEsavetofileFn PEsavetofile = nullptr;
    PEstorepartialFn PEstorepartial = nullptr;
    PEcreateserialdateFn PEcreateserialdate = nullptr;
    PEdecipherserialdateFn PEdecipherserialdate = nullptr;

private:
    HPE m_grafica = nullptr;
};
