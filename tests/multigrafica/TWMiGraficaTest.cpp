#include "TWMiGrafica.h"
#include "FakeDrivers.h"
#include "HostDirectory.h"
#include "TestEnvironment.h"
#include "VentanaPrueba.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace {

// A shared data object the window holds a reference on while it is open.
using testsupport::ObjetoDatos;

// The window's lists for series of one-second data starting 1 December 2026 10:00.
struct Serie {
    std::string nombre;
    std::string unidad;
    std::vector<double> valores;
    int decimales = 2;
};

TTiempo segundo(int s) {
    TTiempo t(2026, 12, 1, 10, 0, 0, -1);
    t.SumarSegundos(s);
    return t;
}

ListasAtributos listasDe(const std::vector<Serie>& series, ObjGen* datos,
                         std::vector<std::int32_t> objeto = {}) {
    ListasAtributos l;
    for (const Serie& s : series) {
        std::vector<TTiempo> t;
        for (size_t i = 0; i < s.valores.size(); ++i)
            t.push_back(segundo(static_cast<int>(i)));
        l[LV_VALORES].EntrarDoubles(s.valores);
        l[LV_TIEMPOS].EntrarTiempos(t);
        l[LV_UNIDADES].EntrarTexto(s.unidad);
        l[LV_NOMBRES].EntrarTexto(s.nombre);
        l[LV_OPCIONES].EntrarDoubles({0, 0, 1, 0, 0, 0, 100, 900, 1100, 0, 0, 0, 1000});
        l[LV_INTERVALOS].EntrarTiempos({t.front(), t.back()});
        l[LV_TIEMPOSGENERALES].EntrarTiempos({t.front(), t.back()});
        l[LV_DECIMALES].EntrarEnteros({s.decimales});
        if (objeto.empty())
            l[LV_OBJETOS].EntrarEnteros({1, 1, datos->Manejador()});
        else
            l[LV_OBJETOS].EntrarEnteros(objeto);
    }
    return l;
}

class MultigraphicWindow : public testsupport::VentanaPrueba {};

TEST_F(MultigraphicWindow, AxesFollowTheUnits) {
    TWMiGrafica* w = abrir<TWMiGrafica>(listasDe({{"THD V1", "%Vn", {1, 2}},
                                                  {"THD V2", "%Vf", {1, 2}},
                                                  {"Flag", "?", {0, 1}},
                                                  {"I1", "A", {10, 11}},
                                                  {"I2", "A", {12, 13}},
                                                  {"P", "kW", {5, 6}}},
                                                 datos));
    EXPECT_EQ(w->DameNumeroEjes(), 4);
    EXPECT_EQ(enteros(w, PEP_SUBSETSPERAXIS), (std::vector<std::int32_t>{2, 1, 2, 1}));
}

TEST_F(MultigraphicWindow, PaddingIsPaintedInTheBackColourAndTinyValuesAreZero) {
    TWMiGrafica* w =
        abrir<TWMiGrafica>(listasDe({{"V1", "V", {0.000001, 231, 232, 233}}, {"I1", "A", {10, 11}}}, datos));
    const std::vector<double> y = doubles(w, PEP_YDATA);
    ASSERT_EQ(y.size(), 8u);
    EXPECT_DOUBLE_EQ(y[0], 0.0);
    // Which points are padding is the data's test; here, that the chart gets their colours.
    const std::vector<std::int32_t> colores = enteros(w, PEP_POINTCOLORS);
    ASSERT_EQ(colores.size(), 8u);
    EXPECT_EQ(colores[5], enteros(w, PEP_SUBSETCOLORS).at(1));
    EXPECT_EQ(colores[6], ent(w, PEP_GRAPHBACKCOLOR));
}

TEST_F(MultigraphicWindow, F1AsksForTheWindowsHelpAndZZoomsOut) {
    TWMiGrafica* w = abrir<TWMiGrafica>(listasDe({{"V1", "V", {231, 232, 233}}}, datos));
    testsupport::helpRequests().clear();
    for (int tecla : {112, 90}) { // F1, Z
        SondaGrafica::Enlace(w).ponerEntero(PEP_ZOOMED, 1);
        SondaGrafica::Enlace(w).ponerEntero(PEP_LASTKEY, tecla);
        PENotifyEvent aviso(w->DameGrafica(), PEN_KEY);
        QApplication::sendEvent(w, &aviso);
    }
    EXPECT_EQ(testsupport::helpRequests(), std::vector<int>{50});
    EXPECT_EQ(ent(w, PEP_ZOOMED), 0);
}

// How values, dates and units are written is the read-out's own test; here, what the window feeds it.
TEST_F(MultigraphicWindow, ReadOutForAKnownCursorPosition) {
    TWMiGrafica* w =
        abrir<TWMiGrafica>(listasDe({{"V1", "V", {230.25, 231.5, 229}}, {"V2", "V", {1, 2, 3}, 0}}, datos));
    cursor(w, 0, 1);
    int filas = 0;
    EXPECT_EQ(w->TextoCursor(&filas),
              QStringLiteral("Act : 231.50 (V)|Maximum : 231.50 (V)|Minimum : 229.00 (V)\t"
                             "Act : 01.12.2026 10:00:01|From : 01.12.2026 10:00:00|"
                             "To : 01.12.2026 10:00:02\t"
                             " | Selected Variable: V1 | \t"
                             " | | \t"));
    EXPECT_EQ(filas, 4);
    // A point past the data is moved to the last one.
    cursor(w, 1, 50);
    EXPECT_TRUE(w->TextoCursor().startsWith(QStringLiteral("Act : 3 (V)|Maximum : 3 (V)|Minimum : 1 (V)\t")));
    EXPECT_EQ(ent(w, PEP_CURSORPOINT), 2);
}

TEST_F(MultigraphicWindow, SavedViewRestoresLevelAndIntervalAndHoursGiveOneIntervalPerClockHour) {
    std::vector<double> tresHoras(3 * 3600, 230.0);
    TWMiGrafica* w = abrir<TWMiGrafica>(
        listasDe({{"V1", "V", tresHoras}}, datos, {1, 1, datos->Manejador(), 3 /* hours */, 1}));
    EXPECT_EQ(w->DameNivelAgrupacion(), 3);
    EXPECT_EQ(w->DameIntervaloActual(), 1);
    int nivel = -1;
    driver->GetPropertyValue(0, 3, &nivel);
    EXPECT_EQ(nivel, 3);
    EXPECT_EQ(w->DameNumIntervalos(), 3);
    EXPECT_EQ(ent(w, PEP_POINTS), 3600);
}

TEST_F(MultigraphicWindow, ClosingReleasesEveryDataReferenceOnce) {
    auto* otro = new ObjetoDatos;
    ListasAtributos l = listasDe({{"V1", "V", {1, 2}}, {"V2", "V", {3, 4}}}, datos);
    l[LV_OBJETOS].EntrarEnteros({2, 2, otro->Manejador()});
    TWMiGrafica* w = abrir<TWMiGrafica>(l);
    EXPECT_EQ(datos->Referencias(), 2); // shared by two rows, referenced once
    EXPECT_EQ(otro->Referencias(), 2);
    const int destruidos = servidor->Destruidos();
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(datos->Referencias(), 1);
    EXPECT_EQ(otro->Referencias(), 1);
    EXPECT_EQ(servidor->Destruidos(), destruidos + 1); // the window driver went with it
    driver = nullptr;
    delete otro;
}

// With a module directory that holds none of them: List and Export do nothing, Configure
// reports its error while the window lives on.
TEST_F(MultigraphicWindow, WithoutTheModulesListExportAndConfigureFailCleanly) {
    QPointer<TWMiGrafica> w = abrir<TWMiGrafica>(listasDe({{"V1", "V", {1, 2}}}, datos));
    const QString vacia = testsupport::scratchDirectory() + QStringLiteral("/sin-modulos");
    QDir().mkpath(vacia);
    host::HostDirectory::setModuleDirectory(vacia);
    const int ventanas = static_cast<int>(QApplication::topLevelWidgets().size());
    w->ListaPopUpClick();
    w->ExportarTXTClick();
    EXPECT_EQ(static_cast<int>(QApplication::topLevelWidgets().size()), ventanas);
    EXPECT_TRUE(testsupport::Messages::shown().empty());
    EXPECT_EQ(testsupport::Dialogs::runs(), 0);

    w->Accion(QStringLiteral("Configure"))->trigger();
    host::HostDirectory::setModuleDirectory(QString());
    ASSERT_EQ(testsupport::Messages::shown().size(), 1u);
    EXPECT_EQ(testsupport::Messages::shown()[0].text,
              QStringLiteral("Imposible configure: It fails ViewerSetup.dll"));
    EXPECT_FALSE(w.isNull());
}

TEST_F(MultigraphicWindow, ListShowsTheIntervalOnScreen) {
    // The table module asks the variable's data driver for its two hours of data; what it and
    // the export do with the interval they are given is their own suite's.
    fakes::DataDriver fuenteDatos;
    fakes::Variable& var = fuenteDatos.variables.emplace_back(fakes::var(1, 1, 0, 0, "V1", "V"));
    for (int i = 0; i < 7200; ++i) {
        var.times.push_back(segundo(i));
        var.values.push_back(230.0 + i % 7);
    }
    var.intervals = {var.times.front(), var.times.back()};
    TWMiGrafica* w =
        abrir<TWMiGrafica>(listasDe({{"V1", "V", var.values}}, datos, {1, 1, fuenteDatos.Manejador()}));
    w->Agrupar(3);
    w->NextClick();
    ASSERT_EQ(w->DameIntervaloActual(), 1);

    w->ListaPopUpClick();
    QWidget* tabla = nullptr;
    for (QWidget* t : QApplication::topLevelWidgets())
        if (t->objectName() == QStringLiteral("DataTable") && t->isVisible())
            tabla = t;
    ASSERT_NE(tabla, nullptr) << "TableViewer opened no table";
    auto* filas = tabla->findChild<QTableWidget*>(QStringLiteral("Rows"));
    ASSERT_NE(filas, nullptr);
    EXPECT_EQ(filas->rowCount(), 3600);
    EXPECT_TRUE(filas->item(0, 0)->text().contains(QStringLiteral("11:00:00")))
        << filas->item(0, 0)->text().toStdString();
    tabla->close();
    delete tabla;
}

} // namespace
