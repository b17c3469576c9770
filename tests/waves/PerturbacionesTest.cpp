#include "Perturbaciones.h"
#include "SettingsStore.h"
#include "TWPerturbaciones.h"
#include "TestEnvironment.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <cmath>

using namespace perturbaciones;

namespace {

constexpr double kVref = 230.0;
constexpr double kAlto = 300.0; // beyond the drop limit of every test below
constexpr std::int32_t kSerie = 0x0000FF;

// A register of `total` samples at kAlto with `hueco` samples at 0 from `desde` on.
std::vector<double> ConHueco(int total, int desde, int hueco) {
    std::vector<double> v(static_cast<size_t>(total), kAlto);
    for (int i = desde; i < desde + hueco && i < total; ++i)
        v[static_cast<size_t>(i)] = 0.0;
    return v;
}

Filtro Hueco(int frecuencia, int ciclos) {
    Filtro f;
    f.VerPorcentaje = 1;
    f.Porcentaje = 50; // A = 162.6 V at a Vref of 230 V
    f.Frecuencia = frecuencia;
    f.Ciclos = ciclos;
    return f;
}

bool Malo(const Filtro& f, const std::vector<double>& muestras) {
    const std::span<const double> s(muestras);
    return RegistroMalo(f, kVref, std::span<const std::span<const double>>(&s, 1), 0,
                        static_cast<int>(muestras.size()) - 1);
}

int Pintadas(const std::vector<std::int32_t>& colores, std::uint32_t color) {
    return static_cast<int>(std::count(colores.begin(), colores.end(), static_cast<std::int32_t>(color)));
}

} // namespace

TEST(Perturbaciones, ThresholdsFollowVrefPercentageAndTrigger) {
    Filtro f;
    f.Porcentaje = 90;
    f.Trigger = 1.5;
    f.Frecuencia = 60;
    const Umbrales u = UmbralesDe(f, kVref);
    EXPECT_NEAR(0.01 * std::sqrt(2.0) * 230.0 * 90.0, u.A, 1e-9);
    EXPECT_NEAR(std::sqrt(2.0) * 230.0 * std::sin(60 * 0.0031415926535897933) * 1.5, u.B, 1e-9);
    EXPECT_EQ(40, VentanaHueco(Hueco(50, 1)));
    EXPECT_EQ(20, VentanaHueco(Hueco(50, 0)));
    EXPECT_EQ(33, VentanaHueco(Hueco(60, 1)));
    EXPECT_EQ(16, VentanaHueco(Hueco(60, 0)));
}

TEST(Perturbaciones, AVoltageDropMakesARegisterBadFromTheWindowOn) {
    // 50 Hz, one cycle: 40 samples inside the limit make the register bad, 39 do not.
    EXPECT_TRUE(Malo(Hueco(50, 1), ConHueco(200, 60, 40)));
    EXPECT_FALSE(Malo(Hueco(50, 1), ConHueco(200, 60, 39)));
    // 60 Hz: 33 samples for a cycle, 16 for half a cycle.
    EXPECT_TRUE(Malo(Hueco(60, 1), ConHueco(200, 60, 33)));
    EXPECT_FALSE(Malo(Hueco(60, 1), ConHueco(200, 60, 32)));
    EXPECT_TRUE(Malo(Hueco(60, 0), ConHueco(200, 60, 16)));
    EXPECT_FALSE(Malo(Hueco(60, 0), ConHueco(200, 60, 15)));
    // A drop that lasts to the end of the register counts as well.
    EXPECT_TRUE(Malo(Hueco(50, 1), ConHueco(100, 60, 40)));
    EXPECT_FALSE(Malo(Hueco(50, 1), ConHueco(100, 61, 39)));
    // Two short drops are not one long one; a missing sample breaks a drop.
    std::vector<double> dos = ConHueco(200, 10, 30);
    for (int i = 41; i < 71; ++i)
        dos[static_cast<size_t>(i)] = 0.0;
    EXPECT_FALSE(Malo(Hueco(50, 1), dos));
    std::vector<double> roto = ConHueco(200, 10, 60);
    roto[40] = -9999.9;
    EXPECT_FALSE(Malo(Hueco(50, 1), roto));
    // The criterion off: no drop is looked for.
    Filtro apagado = Hueco(50, 1);
    apagado.VerPorcentaje = 0;
    EXPECT_FALSE(Malo(apagado, ConHueco(200, 0, 200)));
}

TEST(Perturbaciones, OnlyTheGivenRangeOfEverySeriesIsJudged) {
    const std::vector<double> limpia(200, kAlto);
    const std::vector<double> hundida = ConHueco(200, 100, 50);
    const std::span<const double> series[] = {limpia, hundida};
    EXPECT_TRUE(RegistroMalo(Hueco(50, 1), kVref, series, 100, 199)) << "the second phase drops";
    EXPECT_FALSE(RegistroMalo(Hueco(50, 1), kVref, series, 0, 99)) << "not in the first register";
    EXPECT_FALSE(RegistroMalo(Hueco(50, 1), kVref, series, 120, 500)) << "cut at the data's end: 30 samples";
}

TEST(Perturbaciones, ASteepStepMakesARegisterBad) {
    Filtro f;
    f.VerTrigger = 1;
    f.Trigger = 1.0;
    const double b = UmbralesDe(f, kVref).B; // about 50.9 V at 50 Hz
    std::vector<double> v(100, 0.0);
    v[50] = b - 0.01;
    EXPECT_FALSE(Malo(f, v));
    v[50] = b;
    EXPECT_TRUE(Malo(f, v));
    // A missing sample is no step.
    std::vector<double> hueco(100, 0.0);
    hueco[50] = -9999.9;
    EXPECT_FALSE(Malo(f, hueco));
    f.VerTrigger = 0;
    EXPECT_FALSE(Malo(f, v)) << "both criteria off: no register is bad";
    // No reference value: no limits, nothing bad, nothing marked.
    f.VerTrigger = 1;
    const std::span<const double> s(v);
    EXPECT_FALSE(RegistroMalo(f, 0.0, std::span<const std::span<const double>>(&s, 1), 0, 99));
    EXPECT_EQ(100, Pintadas(ColoresMarcas(f, 0.0, v, kSerie), kSerie));
}

TEST(Perturbaciones, PaintingMarksRunsOf40Or20SamplesWhateverTheFrequency) {
    for (int frecuencia : {50, 60}) {
        SCOPED_TRACE(frecuencia);
        const Filtro ciclo = Hueco(frecuencia, 1);
        const Filtro semiciclo = Hueco(frecuencia, 0);
        EXPECT_EQ(
            40, Pintadas(ColoresMarcas(ciclo, kVref, ConHueco(200, 50, 40), kSerie), ciclo.ColorPorcentaje));
        EXPECT_EQ(
            0, Pintadas(ColoresMarcas(ciclo, kVref, ConHueco(200, 50, 39), kSerie), ciclo.ColorPorcentaje));
        EXPECT_EQ(20, Pintadas(ColoresMarcas(semiciclo, kVref, ConHueco(200, 50, 20), kSerie),
                               ciclo.ColorPorcentaje));
        EXPECT_EQ(0, Pintadas(ColoresMarcas(semiciclo, kVref, ConHueco(200, 50, 19), kSerie),
                              ciclo.ColorPorcentaje));
    }
    // At 60 Hz, 33 samples make the register bad but are not painted.
    EXPECT_TRUE(Malo(Hueco(60, 1), ConHueco(200, 60, 33)));
    const auto c = ColoresMarcas(Hueco(60, 1), kVref, ConHueco(200, 60, 33), kSerie);
    EXPECT_EQ(200, Pintadas(c, kSerie));
    // The painted run is exactly the run, at the end of the register too.
    const auto fin = ColoresMarcas(Hueco(50, 1), kVref, ConHueco(100, 60, 40), kSerie);
    EXPECT_EQ(kSerie, fin[59]);
    EXPECT_EQ(static_cast<std::int32_t>(0x008000), fin[60]);
    EXPECT_EQ(static_cast<std::int32_t>(0x008000), fin[99]);
}

TEST(Perturbaciones, PaintingMarksTheSampleAfterASteepStep) {
    Filtro f;
    f.VerTrigger = 1;
    f.Trigger = 1.0;
    std::vector<double> v(10, 0.0);
    v[4] = 100.0; // up at 4, down at 5
    const auto c = ColoresMarcas(f, kVref, v, kSerie);
    EXPECT_EQ(static_cast<std::int32_t>(f.ColorTrigger), c[4]);
    EXPECT_EQ(static_cast<std::int32_t>(f.ColorTrigger), c[5]);
    EXPECT_EQ(kSerie, c[3]);
    EXPECT_EQ(kSerie, c[6]);
    EXPECT_EQ(2, Pintadas(c, f.ColorTrigger));
    // Nothing on: the series colour everywhere.
    EXPECT_EQ(10, Pintadas(ColoresMarcas(Filtro{}, kVref, v, kSerie), kSerie));
}

TEST(Perturbaciones, TheStoredObjectHoldsTenValuesTaggedTwo) {
    Filtro f;
    f.VerTrigger = 1;
    f.Trigger = 1.7;
    f.ColorTrigger = 0x123456;
    f.Frecuencia = 60;
    f.VerPorcentaje = 1;
    f.Porcentaje = 80;
    f.ColorPorcentaje = 0x00FF00;
    f.Ciclos = 0;
    f.VerMalos = 1;
    const auto o = ObjetoFiltro(f);
    const std::array<double, 10> esperado = {2.0, 1, 1.7, 0x123456, 60, 1, 80, 0x00FF00, 0, 1};
    EXPECT_EQ(esperado, o);
    Filtro leido;
    ASSERT_TRUE(FiltroDeObjeto(o, leido));
    EXPECT_EQ(f, leido);
    // Not a filter object: another tag, another size, a non-number.
    auto otro = o;
    otro[0] = 1.0;
    Filtro intacto;
    EXPECT_FALSE(FiltroDeObjeto(otro, intacto));
    EXPECT_FALSE(FiltroDeObjeto(std::span<const double>(o.data(), 9), intacto));
    otro = o;
    otro[6] = std::nan("");
    EXPECT_FALSE(FiltroDeObjeto(otro, intacto));
    EXPECT_EQ(Filtro{}, intacto);
}

TEST(Perturbaciones, RegistryValuesAreWrittenWithTheirDefaultsAndWrongOnesIgnored) {
    Filtro f;
    f.Frecuencia = 60;
    LeerRegistro(f);
    EXPECT_EQ(50, f.Frecuencia) << "a new key gives the defaults";
    auto clave = host::SettingsKey::openOrCreate(QStringLiteral("PERTURBACIONES"));
    ASSERT_TRUE(clave.has_value());
    EXPECT_EQ(0xFF00FF, clave->readInt(QStringLiteral("COLORT")).value_or(-1));
    EXPECT_EQ(0x008000, clave->readInt(QStringLiteral("COLORP")).value_or(-1));
    EXPECT_EQ(50, clave->readInt(QStringLiteral("FRECUENCIA")).value_or(-1));
    EXPECT_EQ(1, clave->readInt(QStringLiteral("CICLOS")).value_or(-1));

    clave->writeInt(QStringLiteral("FRECUENCIA"), 55);
    clave->writeInt(QStringLiteral("CICLOS"), 0);
    clave->writeInt(QStringLiteral("COLORT"), 0x0000FF);
    LeerRegistro(f);
    EXPECT_EQ(50, f.Frecuencia);
    EXPECT_EQ(0, f.Ciclos);
    EXPECT_EQ(0x0000FFu, f.ColorTrigger);

    f.Frecuencia = 60;
    f.ColorPorcentaje = 0x00AAAA;
    EscribirRegistro(f);
    Filtro g;
    LeerRegistro(g);
    EXPECT_EQ(60, g.Frecuencia);
    EXPECT_EQ(0x00AAAAu, g.ColorPorcentaje);
}

TEST(Perturbaciones, TypedTextsGiveUpDownPositions) {
    int p = -1;
    EXPECT_TRUE(PosicionTrigger(QStringLiteral("1.2"), p));
    EXPECT_EQ(12, p);
    EXPECT_TRUE(PosicionTrigger(QStringLiteral("5.0"), p));
    EXPECT_EQ(50, p);
    EXPECT_TRUE(PosicionTrigger(QStringLiteral("51"), p));
    EXPECT_EQ(510, p);
    EXPECT_TRUE(PosicionTrigger(QStringLiteral("0.35"), p));
    EXPECT_EQ(3, p);
    EXPECT_FALSE(PosicionTrigger(QStringLiteral("abc"), p));
    EXPECT_FALSE(PosicionTrigger(QString(), p));
    EXPECT_FALSE(PosicionTrigger(QStringLiteral("1e300"), p));
    EXPECT_TRUE(PosicionPorcentaje(QStringLiteral("75.9"), p));
    EXPECT_EQ(75, p);
    EXPECT_FALSE(PosicionPorcentaje(QStringLiteral("7x"), p));
    EXPECT_EQ(12, MinimoTrigger(1.2));
    EXPECT_EQ(0, MinimoTrigger(kSinTrigger));
    EXPECT_EQ(50, MinimoTrigger(9.0)) << "kept within the up-down's range";
    EXPECT_EQ(0, MinimoTrigger(-3.0));
}

TEST(Perturbaciones, TheRegistersOfAWindowComeFromTheFirstVariable) {
    ListasAtributos l;
    std::vector<double> fase1 = ConHueco(300, 0, 0);
    std::vector<double> fase2 = ConHueco(300, 150, 45); // a drop in the second register
    l[LV_VALORES].EntrarDoubles(fase1);
    l[LV_VALORES].EntrarDoubles(fase2);
    // A pair past the data and a reversed pair name no register.
    l[LV_INTERVALOS].EntrarDoubles({0, 99, 100, 199, 200, 299, 400, 500, 50, 10});
    l[LV_INTERVALOS].EntrarDoubles({0, 99});
    l[LV_ADICIONALES].EntrarDoubles({230, 230, 230});
    l[LV_ADICIONALES].EntrarDoubles({1.4, 0.9, 2.0});
    l[LV_NOMBRES].EntrarTexto("V1");
    l[LV_UNIDADES].EntrarTexto("V");
    const DatosPerturbaciones d(l);
    ASSERT_EQ(3u, d.Registros().size());
    EXPECT_EQ(std::make_pair(200, 299), d.Registros()[2]);
    EXPECT_EQ(2, d.NumSeries());
    EXPECT_EQ(QStringLiteral("V1"), d.Nombre(0));
    EXPECT_EQ(QString(), d.Nombre(1));
    EXPECT_DOUBLE_EQ(0.9, d.MenorTrigger());
    EXPECT_DOUBLE_EQ(0.0, d.Vref(7)) << "a register without Vref";
    EXPECT_EQ(std::vector<int>{1}, d.Malos(Hueco(50, 1)));
    EXPECT_TRUE(d.Malos(Filtro{}).empty());
}

TEST(Perturbaciones, EmptyOrBrokenDataGiveOneRegisterOrNone) {
    ListasAtributos vacias;
    const DatosPerturbaciones nada(vacias);
    EXPECT_TRUE(nada.Registros().empty());
    EXPECT_FALSE(nada.Malo(Hueco(50, 1), 0));
    ListasAtributos sinPares;
    sinPares[LV_VALORES].EntrarDoubles({1, 2, std::nan(""), 4});
    const DatosPerturbaciones uno(sinPares);
    ASSERT_EQ(1u, uno.Registros().size());
    EXPECT_EQ(-9999.9, uno.Serie(0)[2]) << "a non-number is a missing sample";
    EXPECT_EQ(kSinTrigger, uno.MenorTrigger());
}

// The filter dialog.
class DialogoPerturbaciones : public testing::Test {
protected:
    void SetUp() override { testsupport::Messages::clear(); }
    static QString UnicoMensaje() {
        const auto& m = testsupport::Messages::shown();
        return m.size() == 1 ? m.front().text : QStringLiteral("%1 messages").arg(m.size());
    }
};

TEST_F(DialogoPerturbaciones, OpensOnTheFilterAsItStands) {
    Filtro f;
    f.Trigger = 1.5;
    f.Porcentaje = 80;
    f.VerTrigger = 1;
    f.Frecuencia = 60;
    f.Ciclos = 0;
    TWPerturbaciones d(nullptr, f, 1.2);
    EXPECT_EQ(QStringLiteral("1.5"), d.ETrigger->text());
    EXPECT_EQ(QStringLiteral("80"), d.EPorcentaje->text());
    EXPECT_EQ(12, d.UpDownTrigger->Min()) << "the registers' lowest trigger is the floor";
    EXPECT_EQ(50, d.UpDownTrigger->Max());
    EXPECT_TRUE(d.CBVerTrigger->isChecked());
    EXPECT_FALSE(d.CBVerPorcentaje->isChecked());
    EXPECT_TRUE(d.RB60->isChecked());
    EXPECT_TRUE(d.RBSemiciclos->isChecked());
    EXPECT_EQ(3, d.ETrigger->maxLength());
    EXPECT_EQ(QStringLiteral("View only bad registers"), d.CBVerMalos->text());
    d.UpDownTrigger->Arriba();
    EXPECT_EQ(QStringLiteral("1.6"), d.ETrigger->text()) << "the up-down writes tenths";
    d.UpDownTrigger->SetPosition(2);
    EXPECT_EQ(QStringLiteral("1.2"), d.ETrigger->text()) << "not below its floor";
}

TEST_F(DialogoPerturbaciones, OutOfRangeValuesAreRefusedAndTheDialogStaysOpen) {
    Filtro f;
    TWPerturbaciones d(nullptr, f, kSinTrigger);
    d.ETrigger->setText(QStringLiteral("51"));
    d.BAceptarClick();
    EXPECT_EQ(QStringLiteral("Incorrect trigger value"), UnicoMensaje());
    EXPECT_EQ(QStringLiteral("Error"), testsupport::Messages::shown().front().title);
    EXPECT_NE(QDialog::Accepted, d.result());
    testsupport::Messages::clear();
    d.ETrigger->setText(QStringLiteral("5.1"));
    d.BAceptarClick();
    EXPECT_EQ(QStringLiteral("Incorrect trigger value"), UnicoMensaje());
    testsupport::Messages::clear();
    d.ETrigger->setText(QStringLiteral("2.5"));
    d.EPorcentaje->setText(QStringLiteral("101"));
    d.BAceptarClick();
    EXPECT_EQ(QStringLiteral("Incorrect percentage"), UnicoMensaje());
    testsupport::Messages::clear();
    d.EPorcentaje->setText(QStringLiteral("x"));
    d.BAceptarClick();
    EXPECT_EQ(QStringLiteral("Incorrect percentage"), UnicoMensaje());
    EXPECT_EQ(Filtro{}, f) << "nothing taken while the input is wrong";
}

TEST_F(DialogoPerturbaciones, OkTakesTheValuesAndWritesTheRegistry) {
    Filtro f;
    TWPerturbaciones d(nullptr, f, 0.5);
    d.ETrigger->setText(QStringLiteral("2.5"));
    d.EPorcentaje->setText(QStringLiteral("85"));
    d.CBVerTrigger->setChecked(true);
    d.CBVerPorcentaje->setChecked(false);
    d.CBVerMalos->setChecked(true);
    d.RB60->setChecked(true);
    d.RBSemiciclos->setChecked(true);
    d.BAceptarClick();
    EXPECT_EQ(QDialog::Accepted, d.result());
    EXPECT_TRUE(testsupport::Messages::shown().empty());
    EXPECT_DOUBLE_EQ(2.5, f.Trigger);
    EXPECT_DOUBLE_EQ(75.0, f.Porcentaje) << "the drop criterion off: the usual 75 %";
    EXPECT_EQ(1, f.VerMalos);
    EXPECT_EQ(1, f.VerTrigger);
    EXPECT_EQ(0, f.VerPorcentaje);
    EXPECT_EQ(60, f.Frecuencia);
    EXPECT_EQ(0, f.Ciclos);
    auto clave = host::SettingsKey::openOrCreate(QStringLiteral("PERTURBACIONES"));
    EXPECT_EQ(60, clave->readInt(QStringLiteral("FRECUENCIA")).value_or(-1));
    EXPECT_EQ(0, clave->readInt(QStringLiteral("CICLOS")).value_or(-1));

    // The other way round: trigger off, drop on.
    Filtro g;
    TWPerturbaciones e(nullptr, g, 0.5);
    e.CBVerTrigger->setChecked(false);
    e.CBVerPorcentaje->setChecked(true);
    e.EPorcentaje->setText(QStringLiteral("85"));
    e.BAceptarClick();
    EXPECT_EQ(kSinTrigger, g.Trigger);
    EXPECT_DOUBLE_EQ(85.0, g.Porcentaje);
}

TEST_F(DialogoPerturbaciones, CancelClearsATriggerLeftAtItsFloor) {
    Filtro f;
    f.Trigger = 1.2; // what the window offers before the user chose
    TWPerturbaciones d(nullptr, f, 1.2);
    d.BCancelarClick();
    EXPECT_EQ(QDialog::Rejected, d.result());
    EXPECT_EQ(kSinTrigger, f.Trigger);
    Filtro elegido;
    elegido.Trigger = 2.0;
    TWPerturbaciones e(nullptr, elegido, 1.2);
    e.ETrigger->setText(QStringLiteral("3.0"));
    e.BCancelarClick();
    EXPECT_DOUBLE_EQ(2.0, elegido.Trigger) << "a chosen trigger stays; the edit is not taken";
}
