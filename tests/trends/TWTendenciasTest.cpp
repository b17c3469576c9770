#include "TValor.h"
#include "TWFlicker.h"
#include "TWMiGraficaFP.h"
#include "TWMiGraficaPLT.h"
#include "TWMiGraficaRMS.h"
#include "TWMiGraficaVEF.h"
#include "TestEnvironment.h"
#include "TiposGrafica.h"
#include "VentanaPrueba.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double N = kValorNulo;

struct Serie {
    std::string nombre, unidad;
    std::vector<double> valores;
    std::vector<std::uint8_t> flags = {};
    int selector = 0;
};

// The lists of one window of kind `tipo`: series of values `paso` seconds apart from
// 1 December 2026 00:00, cut into `eventos` equal delivered intervals.
ListasAtributos listasDe(int tipo, const std::vector<Serie>& series, ObjGen* datos, double paso = 1,
                         int eventos = 1, std::vector<std::int32_t> objeto = {}) {
    ListasAtributos l;
    for (const Serie& s : series) {
        std::vector<TTiempo> t;
        for (size_t i = 0; i < s.valores.size(); ++i) {
            TTiempo x(2026, 12, 1, 0, 0, 0, -1);
            // Whole seconds keep the times without milliseconds.
            if (paso >= 1)
                x.SumarSegundos(static_cast<long long>(paso) * static_cast<long long>(i));
            else
                x.SumarMilesimas(std::llround(paso * 1000.0 * static_cast<double>(i)));
            t.push_back(x);
        }
        std::vector<TTiempo> pares;
        const size_t porEvento = t.size() / static_cast<size_t>(eventos);
        for (int e = 0; e < eventos; ++e) {
            pares.push_back(t[static_cast<size_t>(e) * porEvento]);
            pares.push_back(t[static_cast<size_t>(e + 1) * porEvento - 1]);
        }
        l[LV_VALORES].EntrarDoubles(s.valores);
        l[LV_TIEMPOS].EntrarTiempos(t);
        l[LV_UNIDADES].EntrarTexto(s.unidad);
        l[LV_NOMBRES].EntrarTexto(s.nombre);
        l[LV_OPCIONES].EntrarDoubles({0, static_cast<double>(tipo), paso, 0, 0, 0, 100, 900, 1100, 0, 0,
                                      static_cast<double>(s.selector), 1000});
        l[LV_INTERVALOS].EntrarTiempos(pares);
        l[LV_TIEMPOSGENERALES].EntrarTiempos({t.front(), t.back()});
        l[LV_DECIMALES].EntrarEnteros({2});
        if (tipo == TG_PLT)
            l[LV_ADICIONALES].EntrarValor(s.flags.data(), 1, static_cast<int>(s.flags.size()), TV_BYTE);
        l[LV_OBJETOS].EntrarEnteros(objeto.empty() ? std::vector<std::int32_t>{1, 1, datos->Manejador()}
                                                   : objeto);
    }
    return l;
}

class TrendWindows : public testsupport::VentanaPrueba {};

std::vector<Serie> seisRanuras(const std::vector<bool>& presentes) {
    const char* nombres[] = {"V1", "V2", "V3", "I1", "I2", "I3"};
    std::vector<Serie> r;
    for (size_t s = 0; s < 6; ++s)
        r.push_back({nombres[s], s < 3 ? "V" : "A",
                     presentes[s] ? std::vector<double>{230.0 + s, 231, N} : std::vector<double>{N, N, N}});
    return r;
}

TEST_F(TrendWindows, RmsDrawsOnlyThePresentSlotsOnAnAxisPerUnit) {
    // clang-format off
    const struct { std::vector<bool> presentes; const char* unidadV2; int series; std::vector<std::int32_t> porEje; const char* subtitulos; } casos[] = {
        {{false, true, true, false, true, false}, "V", 3, {2, 1}, "V2\tV3\tI2"},
        // Units differing only in case get their own axes.
        {{true, true, false, false, false, false}, "v", 2, {1, 1}, "V1\tV2"},
        // No channel: one empty axis.
        {{false, false, false, false, false, false}, "V", 0, {0}, ""},
    };
    // clang-format on
    for (const auto& c : casos) {
        std::vector<Serie> s = seisRanuras(c.presentes);
        s[1].unidad = c.unidadV2;
        auto* w = abrir<TWMiGraficaRMS>(listasDe(TG_RMS, s, datos));
        EXPECT_EQ(ent(w, PEP_SUBSETS), c.series) << c.subtitulos;
        EXPECT_EQ(w->DameNumeroEjes(), static_cast<int>(c.porEje.size())) << c.subtitulos;
        if (c.series > 0) {
            EXPECT_EQ(array<std::int32_t>(w, PEP_SUBSETSPERAXIS), c.porEje);
            EXPECT_EQ(texto(w, PEP_MULTISUBTITLES), QString::fromLatin1(c.subtitulos));
        }
        w->close();
    }
}

TEST_F(TrendWindows, PowerFactorsAreDrawnFoldedWithLabelledReferenceLinesThatFollowTheZoom) {
    auto* w = abrir<TWMiGraficaFP>(listasDe(TG_FP, {{"PF L1", "PF", {0.98, -0.98, 0.9}}}, datos));
    // How values fold and where lines go is the scale's test; here, that the window uses it.
    EXPECT_NEAR(array<double>(w, PEP_YDATA).at(1), -0.02, 1e-12);
    ASSERT_EQ(textos(w, PEP_HLINELABELS).size(), 10u);
    // The lines follow the zoom.
    poner(w, PEP_ZOOMED, 1);
    ponerDouble(w, PEP_ZOOMYMIN, 0.02);
    ponerDouble(w, PEP_ZOOMYMAX, 0.12);
    w->AtenderGrafica(PEN_ZOOMDONE);
    EXPECT_EQ(textos(w, PEP_HLINELABELS).front(), "|R0.9800");
    w->ZoomOut();
    EXPECT_EQ(textos(w, PEP_HLINELABELS).size(), 10u) << "back to the data's range, with the zero line";
}

std::vector<double> pst(int n) {
    std::vector<double> v;
    for (int i = 0; i < n; ++i)
        v.push_back(0.4 + 0.1 * (i % 5));
    return v;
}

TEST_F(TrendWindows, FlickerDrawsPltFromTheTwelfthPstAndItsDialogSetsTheLimitAndTheDiscarding) {
    std::vector<std::uint8_t> flags(20, 0);
    flags[13] = 0x02;
    auto* w = abrir<TWMiGraficaPLT>(listasDe(TG_PLT, {{"Pst L1", "", pst(20), flags, 0}}, datos, 600));
    // The computation itself is the calculation's test; here, that the window draws it.
    EXPECT_EQ(array<double>(w, PEP_YDATA).at(10), N);
    EXPECT_NE(array<double>(w, PEP_YDATA).at(13), N);
    testsupport::Dialogs::handleNext([](QDialog& d) {
        auto* f = dynamic_cast<TWFlicker*>(&d);
        if (f == nullptr)
            return 0; // the settings below then stay as they were
        f->CBMaximoPlt->click();
        f->EMaximoPlt->setText(QStringLiteral("0,5"));
        f->CBDiscard->setChecked(true);
        f->BAceptar->click();
        return d.result();
    });
    w->MegaConfigClick();
    EXPECT_EQ(CalculoPlt::LeerAjustes(), (CalculoPlt::Ajustes{500, 7200, 1}));
    EXPECT_EQ(array<double>(w, PEP_HLINEY), (std::vector<double>{0.5}));
    // With discarding on, the phase-1 event at point 13 blanks every window that holds it.
    const std::vector<double> y = array<double>(w, PEP_YDATA);
    EXPECT_NE(y[12], N);
    EXPECT_EQ(std::vector<double>(y.begin() + 13, y.end()), std::vector<double>(7, N));
    const auto encima = std::count_if(y.begin(), y.end(), [](double v) { return v != N && v > 0.5; });
    EXPECT_GT(encima, 0);
    EXPECT_EQ(w->Describir().value("plt_above_max").toArray().at(0).toInt(), encima);
}

TEST_F(TrendWindows, FlickerDialogRefusesEmptyFieldsAndBadNumbers) {
    CalculoPlt::Ajustes a{1000, 7200, 0};
    TWFlicker f(nullptr, a);
    f.EMaximoPlt->setText(QStringLiteral("1.2.3"));
    f.BAceptarClick();
    EXPECT_EQ(testsupport::Messages::count(QStringLiteral("Maximum Plt must be a number")), 1);
    f.EMaximoPlt->setText(QStringLiteral("2"));
    f.DTWindow->setTime(QTime(0, 0));
    f.BAceptarClick();
    EXPECT_EQ(testsupport::Messages::count(QStringLiteral("There are empty fields")), 1);
    EXPECT_NE(f.result(), QDialog::Accepted);
    EXPECT_EQ(CalculoPlt::LeerAjustes(), CalculoPlt::Ajustes{}) << "nothing stored while refused";
    f.DTWindow->setTime(QTime(1, 0, 30));
    f.BAceptarClick();
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(f.Ajustes(), (CalculoPlt::Ajustes{2000, 3630, 0}));
}

TEST_F(TrendWindows, EventWindowRestoresTheSavedEventWithoutGroupingAndThresholdsOnPercentAxes) {
    Guardar("PROPIEDADESVEF", {{"VERS", 1}, {"VERH", 1}});
    auto* w = abrir<TWMiGraficaVEF>(listasDe(TG_VEF,
                                             {{"Event RMS current", "A", {10, 11, 12, 13, 14, 15}},
                                              {"Event RMS voltage", "%", {100, 99, 60, 98, 100, 101}}},
                                             datos, 0.01, 3, {1, 1, datos->Manejador(), 5, 1}));
    EXPECT_EQ(w->DameIntervaloActual(), 1) << "the saved event";
    EXPECT_EQ(array<double>(w, PEP_YDATA), (std::vector<double>{12, 13, 60, 98}));
    EXPECT_EQ(array<double>(w, PEP_HLINEY), (std::vector<double>{110.0, 90.0}));
    EXPECT_EQ(array<std::int32_t>(w, PEP_HLINEAXIS), (std::vector<std::int32_t>{1, 1}));
    w->Agrupar(3);
    EXPECT_EQ(w->DameNumIntervalos(), 3);
}

TEST_F(TrendWindows, EventCursorMovesToThePhaseWithAValue) {
    auto* w = abrir<TWMiGraficaVEF>(
        listasDe(TG_VEF, {{"V1", "%", {100, 99, N, N}}, {"V2", "%", {100, 98, 97, 96}}}, datos, 0.01, 2));
    cursor(w, 0, 0);
    w->NextClick();
    EXPECT_EQ(ent(w, PEP_CURSORSUBSET), 1);
    // A cursor past the event's points comes back to its last point.
    poner(w, PEP_CURSORPOINT, 40);
    w->PreviousClick();
    EXPECT_EQ(ent(w, PEP_CURSORPOINT), 1);
}

} // namespace
