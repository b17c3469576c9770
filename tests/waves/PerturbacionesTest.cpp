#include "Perturbaciones.h"
#include "TWPerturbaciones.h"
#include "TestEnvironment.h"

#include <QCheckBox>
#include <QLineEdit>
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

// A = 162.6 V at a Vref of 230 V.
Filtro Hueco(int frecuencia, int ciclos) {
    return Filtro{.Porcentaje = 50, .VerPorcentaje = 1, .Frecuencia = frecuencia, .Ciclos = ciclos};
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
    const Umbrales u = UmbralesDe(Filtro{.Trigger = 1.5, .Porcentaje = 90, .Frecuencia = 60}, kVref);
    EXPECT_NEAR(0.01 * std::sqrt(2.0) * 230.0 * 90.0, u.A, 1e-9);
    EXPECT_NEAR(std::sqrt(2.0) * 230.0 * std::sin(60 * 0.0031415926535897933) * 1.5, u.B, 1e-9);
    for (auto [frecuencia, ciclos, muestras] : {std::array{50, 1, 40}, {50, 0, 20}, {60, 1, 33}, {60, 0, 16}})
        EXPECT_EQ(muestras, VentanaHueco(Hueco(frecuencia, ciclos))) << frecuencia << " Hz " << ciclos;
}

TEST(Perturbaciones, AVoltageDropMakesARegisterBadFromTheWindowOn) {
    // A drop that lasts to the end of the register counts as well.
    // clang-format off
    const struct { int frecuencia, ciclos, total, desde, hueco; bool malo; } casos[] = {
        {50, 1, 200, 60, 40, true}, {50, 1, 200, 60, 39, false}, {60, 1, 200, 60, 33, true}, {60, 1, 200, 60, 32, false},
        {60, 0, 200, 60, 16, true}, {60, 0, 200, 60, 15, false}, {50, 1, 100, 60, 40, true}, {50, 1, 100, 61, 39, false},
    };
    // clang-format on
    for (const auto& c : casos)
        EXPECT_EQ(Malo(Hueco(c.frecuencia, c.ciclos), ConHueco(c.total, c.desde, c.hueco)), c.malo)
            << c.frecuencia << " Hz, " << c.hueco << " samples from " << c.desde;
    // Two short drops are not one long one; a missing sample breaks a drop.
    std::vector<double> dos = ConHueco(200, 10, 30);
    std::fill(dos.begin() + 41, dos.begin() + 71, 0.0);
    EXPECT_FALSE(Malo(Hueco(50, 1), dos));
    std::vector<double> roto = ConHueco(200, 10, 60);
    roto[40] = -9999.9;
    EXPECT_FALSE(Malo(Hueco(50, 1), roto));
    // The criterion off: no drop is looked for.
    Filtro apagado = Hueco(50, 1);
    apagado.VerPorcentaje = 0;
    EXPECT_FALSE(Malo(apagado, ConHueco(200, 0, 200)));
    // Only the given range of every series is judged.
    const std::vector<double> limpia(200, kAlto);
    const std::vector<double> hundida = ConHueco(200, 100, 50);
    const std::span<const double> series[] = {limpia, hundida};
    EXPECT_TRUE(RegistroMalo(Hueco(50, 1), kVref, series, 100, 199)) << "the second phase drops";
    EXPECT_FALSE(RegistroMalo(Hueco(50, 1), kVref, series, 0, 99)) << "not in the first register";
    EXPECT_FALSE(RegistroMalo(Hueco(50, 1), kVref, series, 120, 500)) << "cut at the data's end: 30 samples";
}

TEST(Perturbaciones, ASteepStepMakesARegisterBadAndIsPainted) {
    Filtro f{.Trigger = 1.0, .VerTrigger = 1};
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
    f.VerTrigger = 1;

    // Painting marks the sample after a steep step too; nothing on, the series colour everywhere.
    std::vector<double> pico(10, 0.0);
    pico[4] = 100.0; // up at 4, down at 5
    const std::int32_t t = static_cast<std::int32_t>(f.ColorTrigger);
    EXPECT_EQ(
        (std::vector<std::int32_t>{kSerie, kSerie, kSerie, kSerie, t, t, kSerie, kSerie, kSerie, kSerie}),
        ColoresMarcas(f, kVref, pico, kSerie));
    EXPECT_EQ(10, Pintadas(ColoresMarcas(Filtro{}, kVref, pico, kSerie), kSerie));
}

TEST(Perturbaciones, PaintingMarksRunsOf40Or20SamplesWhateverTheFrequency) {
    const std::uint32_t verde = Filtro{}.ColorPorcentaje;
    // At 60 Hz, 33 samples make the register bad but are not painted.
    for (auto [frecuencia, ciclos, hueco, pintadas] :
         {std::array{50, 1, 40, 40}, {50, 1, 39, 0}, {60, 0, 20, 20}, {60, 0, 19, 0}, {60, 1, 33, 0}})
        EXPECT_EQ(pintadas,
                  Pintadas(ColoresMarcas(Hueco(frecuencia, ciclos), kVref, ConHueco(200, 50, hueco), kSerie),
                           verde))
            << frecuencia << " Hz " << ciclos << ": " << hueco;
    // The painted run is exactly the run, at the end of the register too.
    const auto fin = ColoresMarcas(Hueco(50, 1), kVref, ConHueco(100, 60, 40), kSerie);
    EXPECT_EQ(kSerie, fin[59]);
    EXPECT_EQ(static_cast<std::int32_t>(verde), fin[60]);
    EXPECT_EQ(static_cast<std::int32_t>(verde), fin[99]);
}

TEST(Perturbaciones, TheStoredObjectHoldsTenValuesTaggedTwo) {
    // Trigger, percentage, bad only, trigger on, drop on, colours, frequency, half cycles.
    const Filtro f{1.7, 80, 1, 1, 1, 0x123456, 0x00FF00, 60, 0};
    const auto o = ObjetoFiltro(f);
    EXPECT_EQ((std::array<double, 10>{2.0, 1, 1.7, 0x123456, 60, 1, 80, 0x00FF00, 0, 1}), o);
    Filtro leido;
    ASSERT_TRUE(FiltroDeObjeto(o, leido));
    EXPECT_EQ(f, leido);
    // Not a filter object: another tag, a non-number.
    auto otro = o;
    otro[0] = 1.0;
    Filtro intacto;
    EXPECT_FALSE(FiltroDeObjeto(otro, intacto));
    otro[0] = 2.0;
    otro[6] = std::nan("");
    EXPECT_FALSE(FiltroDeObjeto(otro, intacto));
    EXPECT_EQ(Filtro{}, intacto);
}

TEST(Perturbaciones, RegistersComeFromTheFirstVariableAndBrokenDataGiveOneOrNone) {
    ListasAtributos l;
    l[LV_VALORES].EntrarDoubles(ConHueco(300, 0, 0));
    l[LV_VALORES].EntrarDoubles(ConHueco(300, 150, 45)); // a drop in the second register
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
    EXPECT_EQ((QStringList{"V1", ""}), (QStringList{d.Nombre(0), d.Nombre(1)}));
    EXPECT_DOUBLE_EQ(0.9, d.MenorTrigger());
    EXPECT_DOUBLE_EQ(0.0, d.Vref(7)) << "a register without Vref";
    EXPECT_EQ(std::vector<int>{1}, d.Malos(Hueco(50, 1)));
    EXPECT_TRUE(d.Malos(Filtro{}).empty());

    // Empty or broken data: one register or none.
    EXPECT_FALSE(DatosPerturbaciones{ListasAtributos{}}.Malo(Hueco(50, 1), 0));
    ListasAtributos sinPares;
    sinPares[LV_VALORES].EntrarDoubles({1, 2, std::nan(""), 4});
    const DatosPerturbaciones uno(sinPares);
    ASSERT_EQ(1u, uno.Registros().size());
    EXPECT_EQ(-9999.9, uno.Serie(0)[2]) << "a non-number is a missing sample";
    EXPECT_EQ(kSinTrigger, uno.MenorTrigger());
}

TEST(DialogoPerturbaciones, OutOfRangeValuesAreRefusedThenOkTakesTheValues) {
    Filtro f;
    TWPerturbaciones d(nullptr, f, 0.5);
    d.CBVerTrigger->setChecked(true);
    d.CBVerPorcentaje->setChecked(false);
    d.CBVerMalos->setChecked(true);
    d.RB60->setChecked(true);
    d.RBSemiciclos->setChecked(true);
    for (auto [trigger, mensaje] :
         {std::pair{"51", "Incorrect trigger value"}, {"2.5", "Incorrect percentage"}}) {
        d.ETrigger->setText(QString::fromLatin1(trigger));
        d.EPorcentaje->setText(QStringLiteral("101"));
        d.BAceptarClick();
        EXPECT_EQ(testsupport::Messages::count(QString::fromLatin1(mensaje)), 1) << trigger;
        EXPECT_NE(QDialog::Accepted, d.result());
    }
    EXPECT_EQ(Filtro{}, f) << "nothing taken while the input is wrong";

    d.EPorcentaje->setText(QStringLiteral("85"));
    d.BAceptarClick();
    EXPECT_EQ(QDialog::Accepted, d.result());
    EXPECT_EQ(testsupport::Messages::shown().size(), 2u);
    EXPECT_DOUBLE_EQ(2.5, f.Trigger);
    EXPECT_DOUBLE_EQ(75.0, f.Porcentaje) << "the drop criterion off: the usual 75 %";
    EXPECT_EQ((std::array<int, 5>{1, 1, 0, 60, 0}),
              (std::array<int, 5>{f.VerMalos, f.VerTrigger, f.VerPorcentaje, f.Frecuencia, f.Ciclos}));
}

TEST(DialogoPerturbaciones, CancelClearsATriggerLeftAtItsFloor) {
    Filtro f{.Trigger = 1.2}; // what the window offers before the user chose
    TWPerturbaciones d(nullptr, f, 1.2);
    d.BCancelarClick();
    EXPECT_EQ(QDialog::Rejected, d.result());
    EXPECT_EQ(kSinTrigger, f.Trigger);
    Filtro elegido{.Trigger = 2.0};
    TWPerturbaciones e(nullptr, elegido, 1.2);
    e.ETrigger->setText(QStringLiteral("3.0"));
    e.BCancelarClick();
    EXPECT_DOUBLE_EQ(2.0, elegido.Trigger) << "a chosen trigger stays; the edit is not taken";
}
