#include "Comando.h"
#include "DataDrivers.h"
#include "DemoRecording.h"
#include "FabricaVentanas.h"
#include "Intake.h"
#include "IntervalosDuracion.h"
#include "Reparto.h"
#include "ServidorMonitores.h"
#include "TGrafica.h"
#include "TestEnvironment.h"
#include "TiposGrafica.h"

#include <QCoreApplication>
#include <QPointer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

namespace {

// Cycles per window kind: a thousand by default (the soak), fewer where the run asks for it.
int Ciclos() {
    const char* v = std::getenv("PLOTCORE_WINDOW_CYCLES");
    const int n = v != nullptr ? std::atoi(v) : 0;
    return n > 0 ? n : 1000;
}

int Puntos(const ListasAtributos& l) {
    int n = 0;
    for (int f = 0; f < l[LV_VALORES].Cuenta(); ++f)
        n += l[LV_VALORES].Elementos(f);
    return n;
}

// The smallest window of every kind the demonstration recording opens, as its lists.
std::map<int, ListasAtributos> VentanasDelDemo(recording::SourceDriver& fuente) {
    TValorMultiple seleccion;
    for (int i = 0; i < fuente.fileCount(); ++i) {
        recording::RecordingDriver* d = fuente.driver(i);
        Comando enumerar(CMD_ENUMERAR);
        TValorMultiple filas;
        d->ProgCom(&enumerar, &filas, 0, nullptr);
        for (int r = 0; r + 2 < filas.Cuenta(); r += 3) {
            if (filas.Tipo(r) == TV_ENTERO && filas.Elementos(r) >= 2)
                seleccion.EntrarEnteros({filas.Entero(r, 0), filas.Entero(r, 1), d->Manejador()});
        }
    }
    ListasAtributos listas;
    std::vector<int> entradas;
    Intake::IngresoLista(seleccion, listas, entradas);
    std::map<int, ListasAtributos> porTipo;
    Reparto::RepartirGraficas(listas, entradas, nullptr, [&](int tipo, ListasAtributos& l) {
        auto it = porTipo.find(tipo);
        if (it == porTipo.end() || Puntos(l) < Puntos(it->second))
            porTipo[tipo] = l;
    });
    return porTipo;
}

TEST(CiclosVentanas, EveryWindowKindOpensAndClosesWithoutLeavingAnythingBehind) {
    recording::SourceDriver fuente;
    for (const std::string& p : recording::writeDemo(testsupport::scratchDirectory().toStdString()))
        fuente.openFile(p);
    const std::map<int, ListasAtributos> ventanas = VentanasDelDemo(fuente);
    ServidorMonitores servidor;
    // The duration window reads its axis from the host directory, which tests keep empty.
    ASSERT_TRUE(GuardarIntervalos({{10, UNIDAD_MS, 1, UNIDAD_S, 50}, {1, UNIDAD_S, 1, UNIDAD_H, 50}}));
    int tipos = 0;
    for (const RasgosTipo& r : TodosLosTipos()) {
        if (!FabricaVentanas::TieneClase(r.tipo))
            continue;
        // Every window class the engine has must be reachable from the demo.
        ASSERT_TRUE(ventanas.count(r.tipo)) << "the demo opens no window of kind " << r.tipo;
        ++tipos;
        for (int ciclo = 0; ciclo < Ciclos(); ++ciclo) {
            ListasAtributos listas = ventanas.at(r.tipo);
            auto* driver = new TGrafica(&servidor, listas, &fuente);
            QPointer<TWGraficaGenerica> ventana = driver->Ventana();
            ASSERT_FALSE(ventana.isNull()) << "kind " << r.tipo << ", cycle " << ciclo;
            // Closing notifies the driver, which goes through the monitor server.
            ventana->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            ASSERT_TRUE(ventana.isNull()) << "kind " << r.tipo << " outlived its close";
        }
    }
    EXPECT_GT(tipos, 0);
    EXPECT_TRUE(testsupport::Messages::shown().empty());
}

} // namespace
