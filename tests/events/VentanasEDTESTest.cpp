#include "ListasEventos.h"
#include "TWConfigurarED.h"
#include "TWConfigurarTES.h"
#include "TWMiGraficaED.h"
#include "TWMiGraficaTES.h"
#include "TestEnvironment.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace {

using apoyo::A;
using apoyo::Contenido;
using apoyo::Ev;
using apoyo::Listas;
using apoyo::Poner;

const NivelesInstrumento kNiveles{100, 900, 1100};

// 0 ms to 1 s (50 %) and 1 s to 1 min (50 %).
const QByteArray kDosIntervalos = "2,0,0,1,1,50,1,1,1,2,50\n";

// Sags on phases 1 and 2 at one instant (500 ms and 1 s), an overvoltage of a minute on phase 3
// and a lower-bound interruption of 200 ms the next day.
const std::vector<Ev> kEventosED = {
    {0, 80, 500, 1}, {0, 85, 1000, 2}, {5000, 115, 60000, 3}, {86400000, 5, -200, 1}};

// Two sags at one instant on phases 1 and 2, a third on phase 1 starting 30 ms after the first
// ends, and an overvoltage an hour later.
const std::vector<Ev> kEventosTES = {
    {0, 80, 100, 1, {-50, 0, 50, 100}},
    {0, 85, 100, 2, {-50, 0, 50, 100}},
    {130, 70, 50, 1, {130, 150}},
    {3600000, 115, -200, 3, {3600000, 3600100, 3600200}},
};

class VentanasEDTES : public testsupport::VentanaPrueba {
protected:
    // The chart's serial date of a time, from the library's day count (mode 2).
    double serial(TWGraficaGenerica* w, const TTiempo& t) {
        const PETM tm{t.Anio - 1900, t.Mes, t.Dia, t.Hora, t.Minuto, t.Segundo, 0};
        double d = 0;
        Enlace(w).PEcreateserialdate(&d, &tm, 2);
        return d + t.Milesima / 86400000.0;
    }
};

} // namespace

TEST_F(VentanasEDTES, DurationAxisEventsPlacedInsideAndThresholdsFileBeforeTheList) {
    Poner(kFicheroIntervalos, kDosIntervalos);
    Guardar("PROPIEDADESED", {{"VERH", 1}, {"VERS", 1}});
    auto* w = abrir<TWMiGraficaED>(Listas(TG_ED, kEventosED, datos));
    EXPECT_TRUE(testsupport::Messages::shown().empty());
    // Per phase one slot per recorded event: x the position, y the extreme; a one-minute event
    // is past the last interval.
    const std::vector<double> x = array<double>(w, PEP_XDATA);
    ASSERT_EQ(x.size(), 12u);
    EXPECT_EQ((std::vector<double>{x[0], x[3], x[5], x[10]}),
              (std::vector<double>{250, 100, 500, kValorNulo}));
    EXPECT_DOUBLE_EQ(array<double>(w, PEP_YDATA)[0], 80);
    // N + 1 boundaries (their labels are the axis model's test).
    EXPECT_EQ(array<double>(w, PEP_VLINEX), (std::vector<double>{0, 500, 1000}));
    EXPECT_EQ(array<double>(w, PEP_HLINEY), (std::vector<double>{110.0, 90.0}));
    w->Lista();
    EXPECT_EQ(Contenido(kFicheroUmbrales), QByteArray("3,11000,99990,9000,11000,0,9000,\n"));

    // The lower bound gets ">" in the read-out.
    cursor(w, 0, 3);
    EXPECT_TRUE(w->TextoCursor().contains("Duration (ms): >200.0")) << w->TextoCursor().toStdString();
}

TEST_F(VentanasEDTES, UnreadableIntervalsFileLeavesTheGraphWithoutIntervals) {
    Poner(kFicheroIntervalos, "2,0,0,1,9,50\n");
    auto* w = abrir<TWMiGraficaED>(Listas(TG_ED, kEventosED, datos));
    // The window opens quietly (an Open all must not stop on it); the dialog is where it is said.
    EXPECT_TRUE(array<double>(w, PEP_VLINEX).empty());
    EXPECT_EQ(array<double>(w, PEP_XDATA), std::vector<double>(12, kValorNulo));
    EXPECT_TRUE(testsupport::Messages::shown().empty());
}

class DialogoED : public VentanasEDTES {
protected:
    PropiedadesEventos Prop() {
        return PropiedadesEventos::Defecto(TipoPropiedades::ED, kNiveles, {3, 5, 7});
    }
    void Editar(TWConfigurarED& d, const QString& desde, int ud, const QString& hasta, int uh, int p) {
        d.EDesde->setText(desde);
        d.CBUnidadesDesde->setCurrentIndex(ud);
        d.EHasta->setText(hasta);
        d.CBUnidadesHasta->setCurrentIndex(uh);
        d.EPorcentajeIntervalo->setValue(p);
    }
};

TEST_F(DialogoED, OkWritesTheRescaledFileAndRefusedOrUnchangedIntervalsLeaveItUntouched) {
    Poner(kFicheroIntervalos, kDosIntervalos);
    {
        TWConfigurarED d(Prop(), kNiveles);
        d.AceptarClick();
        EXPECT_EQ(d.result(), QDialog::Rejected) << "nothing changed";
    }
    {
        TWConfigurarED d(Prop(), kNiveles);
        Editar(d, "999", UNIDAD_MS, "1", UNIDAD_H, 50);
        d.BNuevoClick();
        d.AceptarClick();
        EXPECT_EQ(d.result(), QDialog::Rejected);
        EXPECT_EQ(testsupport::Messages::count(MensajeValidacion(ResultadoValidacion::Incompatibles)), 1);
        EXPECT_EQ(Contenido(kFicheroIntervalos), kDosIntervalos);
    }
    // Modify changes the selected row, Delete removes the selected row, New adds one; OK rescales
    // the shares to 100.
    TWConfigurarED d(Prop(), kNiveles);
    ASSERT_EQ(d.ListaIntervalos->rowCount(), 2);
    d.ListaIntervalos->setCurrentCell(1, 0);
    Editar(d, "1", UNIDAD_S, "1", UNIDAD_H, 30);
    d.BModificarClick();
    d.ListaIntervalos->setCurrentCell(0, 0);
    d.BEliminarClick();
    ASSERT_EQ(d.ListaIntervalos->rowCount(), 1);
    Editar(d, "1", UNIDAD_H, "2", UNIDAD_H, 10);
    d.BNuevoClick();
    d.AceptarClick();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(Contenido(kFicheroIntervalos), QByteArray("2,1,1,1,3,75,1,3,2,3,25\n"));
}

TEST_F(VentanasEDTES, TesShowsEachEventWithItsMarkersAndASettingsChangeGoesBackToTheFirst) {
    auto* w = abrir<TWMiGraficaTES>(Listas(TG_TES, kEventosTES, datos));
    // Compacted with 20 ms: the third sag stays apart; four events.
    EXPECT_EQ(w->Describir().value("events").toInt(), 4);
    // The phase-1 sag gathers the phase-2 sag it overlaps: four instants, both phases each.
    const double N = kValorNulo;
    EXPECT_EQ(array<double>(w, PEP_YDATA), (std::vector<double>{10, 11, 12, 13, 20, 21, 22, 23, N, N, N, N}));
    // Markers at the start and at the end.
    std::vector<double> m = array<double>(w, PEP_VLINEX);
    ASSERT_EQ(m.size(), 2u);
    EXPECT_NEAR(m[0], serial(w, A(0)), 1e-9);
    EXPECT_NEAR(m[1], serial(w, A(100)), 1e-9);

    // A negative duration ends at its absolute value.
    for (int i = 0; i < 3; ++i)
        w->NextClick();
    m = array<double>(w, PEP_VLINEX);
    ASSERT_EQ(m.size(), 2u);
    EXPECT_NEAR(m[1], serial(w, A(3600200)), 1e-9);
    EXPECT_EQ(ent(w, PEP_POINTS), 3);

    testsupport::Dialogs::handleNext([](QDialog& d) {
        auto& c = dynamic_cast<TWConfigurarTES&>(d);
        c.Histeresis->setValue(50);
        c.AceptarClick();
        return d.result();
    });
    w->Propiedades();
    EXPECT_EQ(w->DameIntervaloActual(), 0);
    // The third sag now joins the first: one interval whose markers span both.
    EXPECT_EQ(w->Describir().value("events").toInt(), 3);
    EXPECT_EQ(w->Describir().value("first_event_samples").toInt(), 6);
    EXPECT_NEAR(array<double>(w, PEP_VLINEX).at(1), serial(w, A(180)), 1e-9);
}

TEST_F(VentanasEDTES, TesMalformedSampleCountsAreSaidAndTheEventsStay) {
    // Counts that run past the samples.
    ListasAtributos l = Listas(TG_TES, kEventosTES, datos), mala;
    for (int p = 0; p < kNumListas; ++p) {
        if (p == LV_ADICIONALES)
            mala[p].EntrarDoubles({4, 4, 2, 300});
        for (int f = p == LV_ADICIONALES ? 1 : 0; f < l[p].Cuenta(); ++f)
            mala[p].CopiarFila(l[p], f);
    }
    auto* w = abrir<TWMiGraficaTES>(std::move(mala));
    EXPECT_EQ(testsupport::Messages::shown().size(), 1u);
    EXPECT_EQ(w->Describir().value("events").toInt(), 4);
    EXPECT_EQ(w->Describir().value("first_event_samples").toInt(), 0);
    EXPECT_EQ(array<double>(w, PEP_VLINEX).size(), 2u);
}

TEST_F(VentanasEDTES, DurationWindowWithoutEventsKeepsItsAxis) {
    Poner(kFicheroIntervalos, kDosIntervalos);
    auto* ed = abrir<TWMiGraficaED>(Listas(TG_ED, {}, datos));
    EXPECT_EQ(ed->Describir().value("events_placed").toInt(), 0);
    // The axis keeps its intervals; without events the last one keeps its end.
    EXPECT_EQ(array<double>(ed, PEP_VLINEX).size(), 3u);
}
