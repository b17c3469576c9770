#include "Contrato.h"
#include "Perturbaciones.h"
#include "TMenuRang.h"
#include "TWMiGraficaFO.h"
#include "TWMiGraficaPER.h"
#include "TestEnvironment.h"
#include "TiposGrafica.h"
#include "VentanaPrueba.h"

#include <QFile>
#include <QJsonArray>
#include <QLineEdit>
#include <QPrinter>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// A waveform variable of six channels (three voltages, three currents) and `registros`
// records of `muestras` samples; record r of channel c has THD 2 + c + r / 10 and d half of it.
ListasAtributos formas(int registros, int muestras, ObjGen* datos, bool conTiempos = true) {
    ListasAtributos l;
    std::vector<double> pares;
    std::vector<TTiempo> tiempos;
    for (int r = 0; r < registros; ++r) {
        pares.insert(pares.end(), {double(r * muestras), double(r * muestras + muestras - 1)});
        tiempos.push_back(TTiempo(2026, 12, 1, 10, r, 0, 0));
    }
    const std::vector<double> opciones{0, double(TG_FO), 1.0 / 3200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 37267};
    const char* nombres[] = {"VA", "VB", "VC", "IA", "IB", "IC"};
    for (int c = 0; c < 6; ++c) {
        std::vector<double> v;
        for (int r = 0; r < registros; ++r)
            for (int k = 0; k < muestras; ++k)
                v.push_back((c < 3 ? 325.0 : 14.0) * (1 + r) *
                            std::sin(2 * kPi * k / 64.0 - c * 2 * kPi / 3));
        l[LV_VALORES].EntrarDoubles(v);
        l[LV_TIEMPOS].EntrarTiempos(std::vector<TTiempo>(v.size(), tiempos.front()));
        l[LV_UNIDADES].EntrarTexto(c < 3 ? "V" : "A");
        l[LV_NOMBRES].EntrarTexto(nombres[c]);
        l[LV_OPCIONES].EntrarDoubles(opciones);
        l[LV_INTERVALOS].EntrarDoubles(c == 0 ? pares : std::vector<double>{});
        l[LV_DECIMALES].EntrarDoubles({c < 3 ? 1.0 : 2.0});
    }
    for (int c = 0; c < 6; ++c) {
        std::vector<double> thd, d;
        for (int r = 0; r < registros; ++r) {
            thd.push_back(2 + c + r / 10.0);
            d.push_back(thd.back() / 2);
        }
        l[LV_ADICIONALES].EntrarDoubles(thd);
        l[LV_ADICIONALES].EntrarDoubles(d);
    }
    l[LV_TIEMPOSGENERALES].EntrarTiempos(conTiempos ? tiempos : std::vector<TTiempo>{TTiempo()});
    l[LV_OBJETOS].EntrarEnteros({1, 1, datos->Manejador()});
    return l;
}

// Three phase variables of kind 6 with `registros` registers of 800 samples (20 cycles at 40
// per cycle, 230 V); `hueco` gives, per register, the samples the second phase stays at 0 from
// sample 200 on.
ListasAtributos registrosPerturbacion(const std::vector<int>& hueco, ObjGen* datos) {
    ListasAtributos l;
    const int muestras = 800;
    std::vector<double> pares, vref, trigger;
    std::vector<TTiempo> tiempos;
    for (size_t r = 0; r < hueco.size(); ++r) {
        pares.insert(pares.end(), {double(r * muestras), double(r * muestras + muestras - 1)});
        tiempos.push_back(TTiempo(2026, 12, 2, 8, static_cast<int>(r), 0, 0));
        vref.push_back(230);
        trigger.push_back(r == 1 ? 0.8 : 1.2);
    }
    for (int ph = 0; ph < 3; ++ph) {
        std::vector<double> v;
        for (size_t r = 0; r < hueco.size(); ++r)
            for (int k = 0; k < muestras; ++k) {
                const bool abajo = ph == 1 && k >= 200 && k < 200 + hueco[r];
                v.push_back(abajo ? 0.0 : 325.27 * std::sin(2 * kPi * k / 40.0 - ph * 2 * kPi / 3));
            }
        l[LV_VALORES].EntrarDoubles(v);
        l[LV_TIEMPOS].EntrarTiempos(std::vector<TTiempo>(v.size(), tiempos.front()));
        l[LV_UNIDADES].EntrarTexto("V");
        l[LV_NOMBRES].EntrarTexto("Disturbances V" + std::to_string(ph + 1));
        l[LV_OPCIONES].EntrarDoubles(
            {0, double(TG_PER), 1.0 / 2000, 0, 0, 0, 100, 900, 1100, 0, 0, 0, 37273});
        l[LV_INTERVALOS].EntrarDoubles(pares);
        l[LV_DECIMALES].EntrarDoubles({1});
        l[LV_TIEMPOSGENERALES].EntrarTiempos(tiempos);
        l[LV_ADICIONALES].EntrarDoubles(vref);
        l[LV_ADICIONALES].EntrarDoubles(trigger);
        l[LV_OBJETOS].EntrarEnteros({1, ph + 1, datos->Manejador()});
    }
    return l;
}

class VentanasOnda : public testsupport::VentanaPrueba {
protected:
    // Drops below half the reference, and only the bad registers shown.
    static perturbaciones::Filtro Huecos(perturbaciones::Filtro f) {
        f.VerPorcentaje = 1;
        f.Porcentaje = 50;
        f.VerMalos = 1;
        return f;
    }
};

} // namespace

TEST_F(VentanasOnda, ReferenceLinesAndNextKeepsTheZoomWindowAndShowsTheRecordsFigures) {
    auto* w = abrir<TWMiGraficaFO>(formas(4, 641, datos));
    EXPECT_EQ(std::vector<double>({426, 213}), array<double>(w, PEP_VLINEX))
        << "two thirds and a third of 640";
    EXPECT_EQ(2, w->DameNumeroEjes()) << "volts and amperes";
    w->NextClick();
    ASSERT_EQ(1, w->RegistroMostrado());
    // The user zooms on record 2: samples 100 to 200, -50 to 50 volts.
    for (auto [propiedad, valor] :
         {std::pair{PEP_ZOOMXMIN, 100}, {PEP_ZOOMXMAX, 200}, {PEP_ZOOMYMIN, -50}, {PEP_ZOOMYMAX, 50}})
        ponerDouble(w, propiedad, valor);
    poner(w, PEP_ZOOMED, 1);
    w->NextClick();
    EXPECT_EQ(2, w->RegistroMostrado());
    EXPECT_NE(0, ent(w, PEP_ZOOMED));
    const EnlaceGrafica e = Enlace(w);
    EXPECT_EQ((std::vector<double>{100, 200, -50, 50}),
              (std::vector<double>{e.dameDouble(PEP_ZOOMXMIN), e.dameDouble(PEP_ZOOMXMAX),
                                   e.dameDouble(PEP_ZOOMYMIN), e.dameDouble(PEP_ZOOMYMAX)}));
    // The samples are record 3's: three times the first record's amplitude.
    const std::vector<double> y = array<double>(w, PEP_YDATA);
    ASSERT_EQ(6u * 641u, y.size());
    EXPECT_NEAR(325.0 * 3, *std::max_element(y.begin(), y.begin() + 641), 1.0);
    // Record 2: THD of channel c is 2.2 + c, d half of it; two decimals by default.
    const QJsonObject f3 = w->Describir().value(QStringLiteral("record_thd")).toArray().at(2).toObject();
    EXPECT_EQ(f3.value(QStringLiteral("thd")).toString(), QStringLiteral("4.20 %"));
    EXPECT_EQ(f3.value(QStringLiteral("d")).toString(), QStringLiteral("2.10 %"));
    EXPECT_TRUE(w->TextoCursor().contains(QStringLiteral("F3: THD: 7.20 %")))
        << w->TextoCursor().toStdString();
}

TEST_F(VentanasOnda, PrintingPutsEveryChosenRecordOnAPageOfItsOwn) {
    auto* w = abrir<TWMiGraficaFO>(formas(4, 64, datos, false));
    w->NextClick();
    const QString pdf = testsupport::scratchDirectory() + QStringLiteral("/records.pdf");
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setOutputFormat(QPrinter::PdfFormat);
    impresora.setOutputFileName(pdf);
    w->PonerImpresora(&impresora);
    // The print dialog, then the range: records 2 to 4 by number.
    testsupport::Dialogs::handleNext([](QDialog&) { return int(QDialog::Accepted); });
    testsupport::Dialogs::handleNext([](QDialog& d) {
        auto* rango = dynamic_cast<TMenuRang*>(&d);
        if (rango == nullptr)
            return int(QDialog::Rejected);
        rango->EInicial->setText(QStringLiteral("2"));
        rango->EFinal->setText(QStringLiteral("4"));
        rango->AcceptClick();
        return rango->result();
    });
    w->Imprimir();
    w->PonerImpresora(nullptr);
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_EQ(3, bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "))
        << "one page per record";
    EXPECT_EQ(1, w->RegistroMostrado()) << "the record shown is shown again";
}

TEST_F(VentanasOnda, DisturbancesMarkTheDropAndFilterTheBadRegisters) {
    auto* w = abrir<TWMiGraficaPER>(registrosPerturbacion({0, 45, 10, 80}, datos));
    EXPECT_EQ(4, w->NumRegistros());
    EXPECT_TRUE(w->Describir().value(QStringLiteral("bad_registers")).toArray().isEmpty());

    const perturbaciones::Filtro f = Huecos(w->Filtro());
    w->AplicarFiltro(f);
    EXPECT_EQ(std::vector<int>({1, 3}), w->Visibles());
    EXPECT_EQ(1, w->RegistroMostrado());
    EXPECT_EQ(QJsonArray({1, 3}), w->Describir().value(QStringLiteral("bad_registers")).toArray());
    // The second phase's drop (45 samples from 200) is painted; the other phases are not.
    const std::vector<std::int32_t> colores = array<std::int32_t>(w, PEP_POINTCOLORS);
    ASSERT_EQ(3u * 800u, colores.size());
    EXPECT_EQ(45, std::count(colores.begin(), colores.end(), 0x008000));
    EXPECT_EQ(0x008000, colores[800 + 200]);
}

TEST_F(VentanasOnda, MalformedRecordingsOpenWithoutACrash) {
    // No sample at all, pairs that name nothing, no figures, no times.
    ListasAtributos vacia;
    vacia[LV_VALORES].EntrarDoubles(std::vector<double>(10, kValorNulo));
    vacia[LV_UNIDADES].EntrarTexto("V");
    vacia[LV_NOMBRES].EntrarTexto("-");
    vacia[LV_OPCIONES].EntrarDoubles({0, double(TG_FO), 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 37267});
    vacia[LV_INTERVALOS].EntrarDoubles({5, 2, -1, 4, 50, 60});
    vacia[LV_DECIMALES].EntrarDoubles({1});
    vacia[LV_OBJETOS].EntrarEnteros({1, 1, datos->Manejador()});
    auto* w = abrir<TWMiGraficaFO>(vacia);
    EXPECT_EQ(0, w->Datos().NumCanales());
    EXPECT_EQ(1, w->NumRegistros()) << "the whole data as one record";
    w->NextClick();
    EXPECT_TRUE(w->Describir().value(QStringLiteral("record_thd")).toArray().isEmpty());
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    driver = nullptr;

    // Disturbances without Vref or triggers, one register reaching past the data.
    ListasAtributos corta;
    corta[LV_VALORES].EntrarDoubles({1, 2, 3, 400, 5});
    corta[LV_UNIDADES].EntrarTexto("V");
    corta[LV_NOMBRES].EntrarTexto("V1");
    corta[LV_OPCIONES].EntrarDoubles({0, double(TG_PER), 1, 0, 0, 0, 100, 900, 1100, 0, 0, 0, 37273});
    corta[LV_INTERVALOS].EntrarDoubles({0, 99});
    corta[LV_DECIMALES].EntrarDoubles({1});
    corta[LV_OBJETOS].EntrarEnteros({1, 1, datos->Manejador()});
    auto* p = abrir<TWMiGraficaPER>(corta);
    ASSERT_EQ(1, p->NumRegistros());
    perturbaciones::Filtro f = Huecos(p->Filtro());
    f.VerTrigger = 1;
    f.Trigger = 1.0;
    p->AplicarFiltro(f);
    // No Vref, no limits: nothing is bad or marked, and the user is told.
    EXPECT_TRUE(p->Describir().value(QStringLiteral("bad_registers")).toArray().isEmpty());
    EXPECT_EQ(1, testsupport::Messages::count(QStringLiteral("There aren't any bad register")));
    const std::vector<std::int32_t> colores = p->ColoresMostrados();
    ASSERT_EQ(5u, colores.size());
    EXPECT_EQ(5, std::count(colores.begin(), colores.end(), colores.front()))
        << "every sample its series colour";
}
