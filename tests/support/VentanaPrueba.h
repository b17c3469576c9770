#pragma once

// A graph window opened through the engine on the real charting library, and the chart's
// properties read back through the library's own entry points. Header only: the test programs
// that use it link the engine, the support library does not.

#include "ChartProperties.h"
#include "EnlaceGrafica.h"
#include "FabricaVentanas.h"
#include "ObjGen.h"
#include "PEApi.h"
#include "ServidorMonitores.h"
#include "SettingsStore.h"
#include "TGrafica.h"
#include "TWGraficaGenerica.h"

#include <QCoreApplication>
#include <QPointer>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// A host object standing for the data a window's lists refer to.
class ObjetoDatos : public ObjGen {};

// What a window set on its chart, read and written through the engine's binding to the
// window's own library.
struct SondaGrafica {
    static EnlaceGrafica Enlace(TWGraficaGenerica* w) {
        EnlaceGrafica e(w->DameLibreria());
        e.PonerGrafica(w->DameGrafica());
        return e;
    }
    static int ent(TWGraficaGenerica* w, int propiedad) { return Enlace(w).dameEntero(propiedad); }
    template <class T> static std::vector<T> array(TWGraficaGenerica* w, int propiedad) {
        const EnlaceGrafica e = Enlace(w);
        std::vector<T> v(static_cast<size_t>(e.PEvget(w->DameGrafica(), propiedad, nullptr, 0)));
        e.PEvget(w->DameGrafica(), propiedad, v.data(), static_cast<int>(v.size()));
        return v;
    }
    static std::vector<double> doubles(TWGraficaGenerica* w, int p) { return array<double>(w, p); }
    static std::vector<std::int32_t> enteros(TWGraficaGenerica* w, int p) {
        return array<std::int32_t>(w, p);
    }
    static std::vector<std::string> textos(TWGraficaGenerica* w, int propiedad) {
        std::vector<std::string> r;
        for (const char* t : array<const char*>(w, propiedad))
            r.emplace_back(t);
        return r;
    }
    // Long texts too (cursor tables): the binding's own getter stops at 4 KiB.
    static QString texto(TWGraficaGenerica* w, int propiedad) {
        std::vector<char> buffer(16384);
        Enlace(w).PEszget(w->DameGrafica(), propiedad, buffer.data(), static_cast<int>(buffer.size()));
        return QString::fromUtf8(buffer.data());
    }
    static void poner(TWGraficaGenerica* w, int propiedad, int valor) {
        Enlace(w).ponerEntero(propiedad, valor);
    }
    static void ponerDouble(TWGraficaGenerica* w, int propiedad, double valor) {
        Enlace(w).ponerDouble(propiedad, valor);
    }
    // Stores settings under `subclave` as a window reads them when it opens.
    static void Guardar(const char* subclave, std::initializer_list<std::pair<const char*, int>> valores) {
        auto k = host::SettingsKey::openOrCreate(QString::fromLatin1(subclave));
        ASSERT_TRUE(k.has_value());
        for (const auto& [nombre, valor] : valores)
            k->writeInt(QString::fromLatin1(nombre), valor);
        k->sync();
    }
    // Puts the chart cursor on a point of subset `serie`.
    static void cursor(TWGraficaGenerica* w, int serie, int punto) {
        poner(w, PEP_CURSORSUBSET, serie);
        poner(w, PEP_CURSORPOINT, punto);
    }
};

// Opens windows through the driver as the host would; closing them at the end releases their
// drivers through the monitor server.
class VentanaPrueba : public testing::Test, public SondaGrafica {
protected:
    void SetUp() override {
        servidor = std::make_unique<ServidorMonitores>();
        datos = new ObjetoDatos;
    }
    void TearDown() override {
        for (const QPointer<QWidget>& v : abiertas) {
            if (v != nullptr)
                v->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        FabricaVentanas::Restablecer();
        delete datos;
    }

    // Never null: without a window of the expected class the test stops on the exception,
    // which gtest reports as its failure.
    template <class Ventana> Ventana* abrir(ListasAtributos listas) {
        driver = new TGrafica(servidor.get(), listas, nullptr);
        abiertas.emplace_back(driver->Ventana());
        auto* w = dynamic_cast<Ventana*>(driver->Ventana());
        if (w == nullptr)
            throw std::runtime_error(
                "no window of the expected class opened (is the charting library built?)");
        return w;
    }

    std::unique_ptr<ServidorMonitores> servidor;
    ObjetoDatos* datos = nullptr;
    // The driver of the window opened last (it goes with its window), and every window opened:
    // a test may close one itself.
    TGrafica* driver = nullptr;
    std::vector<QPointer<QWidget>> abiertas;
};

} // namespace testsupport
