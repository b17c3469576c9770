#pragma once

// Shared by the harmonics window tests: a window opened through the engine on the real
// charting library, the chart's properties read back, and a norms file in the test's host
// directory.

#include "ApoyoNormas.h"
#include "ChartProperties.h"
#include "ObjGen.h"
#include "PEApi.h"
#include "ServidorMonitores.h"
#include "TGrafica.h"
#include "TWGraficaGenerica.h"

#include <QCoreApplication>
#include <QLibrary>

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace apoyo {

class ObjetoDatos : public ObjGen {};

class VentanaArmonicos : public testing::Test {
protected:
    void SetUp() override {
        servidor = std::make_unique<ServidorMonitores>();
        datos = new ObjetoDatos;
    }
    void TearDown() override {
        if (driver != nullptr && driver->Ventana() != nullptr)
            driver->Ventana()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        delete datos;
    }

    template <class Ventana> Ventana* abrir(ListasAtributos listas) {
        driver = new TGrafica(servidor.get(), listas, nullptr);
        auto* w = qobject_cast<Ventana*>(driver->Ventana());
        if (w == nullptr)
            ADD_FAILURE() << "no window of the expected class opened (is the charting library built?)";
        return w;
    }

    static int ent(TWGraficaGenerica* w, int propiedad) {
        auto get = reinterpret_cast<PEngetFn>(w->DameLibreria()->resolve("PEnget"));
        return get(w->DameGrafica(), propiedad);
    }
    template <class T> static std::vector<T> array(TWGraficaGenerica* w, int propiedad) {
        auto get = reinterpret_cast<PEvgetFn>(w->DameLibreria()->resolve("PEvget"));
        std::vector<T> v(static_cast<size_t>(get(w->DameGrafica(), propiedad, nullptr, 0)));
        get(w->DameGrafica(), propiedad, v.data(), static_cast<int>(v.size()));
        return v;
    }
    static std::vector<double> doubles(TWGraficaGenerica* w, int p) { return array<double>(w, p); }
    static std::vector<std::int32_t> enteros(TWGraficaGenerica* w, int p) {
        return array<std::int32_t>(w, p);
    }
    static QString texto(TWGraficaGenerica* w, int propiedad) {
        auto get = reinterpret_cast<PEszgetFn>(w->DameLibreria()->resolve("PEszget"));
        std::vector<char> buffer(16384);
        get(w->DameGrafica(), propiedad, buffer.data(), static_cast<int>(buffer.size()));
        return QString::fromUtf8(buffer.data());
    }
    static void poner(TWGraficaGenerica* w, int propiedad, int valor) {
        auto set = reinterpret_cast<PEnsetFn>(w->DameLibreria()->resolve("PEnset"));
        set(w->DameGrafica(), propiedad, valor);
    }

    std::unique_ptr<ServidorMonitores> servidor;
    ObjetoDatos* datos = nullptr;
    TGrafica* driver = nullptr;
};

} // namespace apoyo
