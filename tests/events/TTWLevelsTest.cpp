#include "TTWLevels.h"
#include "TValorMultiple.h"
#include "TestEnvironment.h"

#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace {

std::vector<std::int32_t> Registro(int li, int lh, int ls) {
    return {10, 1, 0, 0, 0, 0, li, lh, ls};
}

template <typename T> T* Control(QDialog& d, const char* nombre) {
    T* c = d.findChild<T*>(QString::fromLatin1(nombre));
    EXPECT_NE(c, nullptr) << nombre;
    return c;
}

} // namespace

TEST(TTWLevels, TypedNewLevelsAreStoredInTenthsAndABatchRunTakesTheProposedOnes) {
    TValorMultiple r;
    r.EntrarEnteros(Registro(100, 900, 1100));
    r.EntrarEnteros(Registro(50, 850, 1150));
    testsupport::Dialogs::handleNext([](QDialog& d) {
        Control<QRadioButton>(d, "RBNewLevel")->setChecked(true);
        Control<QDoubleSpinBox>(d, "UHueco")->findChild<QLineEdit*>()->setText(QStringLiteral("95.5"));
        Control<QDoubleSpinBox>(d, "UInterrupcion")->findChild<QLineEdit*>()->setText(QStringLiteral("7.3"));
        Control<QDoubleSpinBox>(d, "USobretension")->stepUp(); // one tenth above 110.0
        Control<QPushButton>(d, "BSalir")->click();
        return d.result();
    });
    EXPECT_TRUE(ComprobarNivelesConDialogo(r, nullptr));
    EXPECT_EQ(LeerNiveles(r, 0), (NivelesInstrumento{73, 955, 1101}));
    EXPECT_EQ(LeerNiveles(r, 1), (NivelesInstrumento{50, 850, 1150}));

    // A run without a person takes the proposed levels: the first record's.
    testsupport::Dialogs::handleNext([](QDialog& d) { return host::BatchMode::dialogResult(d); });
    EXPECT_TRUE(ComprobarNivelesConDialogo(r, nullptr));
    EXPECT_EQ(LeerNiveles(r, 0), (NivelesInstrumento{73, 955, 1101}));
    EXPECT_EQ(testsupport::Dialogs::runs(), 2);
}
