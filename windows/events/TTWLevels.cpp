#include "TTWLevels.h"

#include "TValorMultiple.h"
#include "Textos.h"
#include "UserInteraction.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

// An edit with its up-down in tenths of a percent, shown in percent with one decimal.
QDoubleSpinBox* EditNivel(QWidget* padre, const char* nombre, int minimo, int maximo) {
    auto* e = new QDoubleSpinBox(padre);
    e->setObjectName(QString::fromLatin1(nombre));
    e->setDecimals(1);
    e->setSingleStep(0.1);
    e->setRange(minimo * 0.1, maximo * 0.1);
    return e;
}

int Decimas(const QDoubleSpinBox* e, int minimo, int maximo) {
    return NivelTecleado(e->cleanText(), minimo, maximo).value_or(static_cast<int>(e->value() * 10.0 + 1e-7));
}

} // namespace

TTWLevels::TTWLevels(TValorMultiple& registros, QWidget* padre) : QDialog(padre), m_registros(registros) {
    setObjectName(QStringLiteral("TTWLevels"));
    setWindowTitle(Texto(TXT_INCOMPATIBLE_THRESHOLDS));

    RBLevels = new QRadioButton(Texto(TXT_THRESHOLDS_LIST), this);
    RBLevels->setObjectName(QStringLiteral("RBLevels"));
    CBLevels = new QComboBox(this);
    CBLevels->setObjectName(QStringLiteral("CBLevels"));
    for (int f = 0; f < registros.Cuenta(); ++f)
        CBLevels->addItem(TextoNiveles(LeerNiveles(registros, f)));
    RBNewLevel = new QRadioButton(Texto(TXT_NEW_THRESHOLD), this);
    RBNewLevel->setObjectName(QStringLiteral("RBNewLevel"));
    LSobretension = new QLabel(Texto(TXT_OVERVOLTAGE_LEVEL), this);
    USobretension = EditNivel(this, "USobretension", kMinSobretension, kMaxSobretension);
    LHueco = new QLabel(Texto(TXT_SAG_LEVEL), this);
    UHueco = EditNivel(this, "UHueco", kMinHueco, kMaxHueco);
    LInterrupcion = new QLabel(Texto(TXT_INTERRUPTION_LEVEL), this);
    UInterrupcion = EditNivel(this, "UInterrupcion", kMinInterrupcion, kMaxInterrupcion);
    BSalir = new QPushButton(Texto(TXT_OK), this);
    BSalir->setObjectName(QStringLiteral("BSalir"));
    BSalir->setDefault(true);

    auto* rejilla = new QGridLayout(this);
    rejilla->addWidget(RBLevels, 0, 0, 1, 2);
    rejilla->addWidget(CBLevels, 1, 0, 1, 2);
    rejilla->addWidget(RBNewLevel, 2, 0, 1, 2);
    rejilla->addWidget(LSobretension, 3, 0);
    rejilla->addWidget(USobretension, 3, 1);
    rejilla->addWidget(LHueco, 4, 0);
    rejilla->addWidget(UHueco, 4, 1);
    rejilla->addWidget(LInterrupcion, 5, 0);
    rejilla->addWidget(UInterrupcion, 5, 1);
    rejilla->addWidget(BSalir, 6, 1);

    RBLevels->setChecked(true);
    CBLevels->setCurrentIndex(0);
    CargarNiveles(LeerNiveles(registros, 0));
    RBLevelsClick();
    connect(RBLevels, &QRadioButton::toggled, this, [this] { RBLevelsClick(); });
    connect(CBLevels, &QComboBox::currentIndexChanged, this, [this](int i) { CBLevelsChange(i); });
    connect(BSalir, &QPushButton::clicked, this, &QDialog::accept);
}

void TTWLevels::CargarNiveles(const NivelesInstrumento& n) {
    USobretension->setValue(n.sobretension * 0.1);
    UHueco->setValue(n.hueco * 0.1);
    UInterrupcion->setValue(n.interrupcion * 0.1);
}

void TTWLevels::RBLevelsClick() {
    const bool lista = RBLevels->isChecked();
    CBLevels->setEnabled(lista);
    for (QWidget* w : {static_cast<QWidget*>(USobretension), static_cast<QWidget*>(UHueco),
                       static_cast<QWidget*>(UInterrupcion)})
        w->setEnabled(!lista);
}

void TTWLevels::CBLevelsChange(int indice) {
    if (indice >= 0)
        CargarNiveles(LeerNiveles(m_registros, indice));
}

bool TTWLevels::Aplicar() {
    if (RBLevels->isChecked())
        return ElegirNivelesDeRegistro(m_registros, CBLevels->currentIndex());
    const NivelesInstrumento nuevos{Decimas(UInterrupcion, kMinInterrupcion, kMaxInterrupcion),
                                    Decimas(UHueco, kMinHueco, kMaxHueco),
                                    Decimas(USobretension, kMinSobretension, kMaxSobretension)};
    return EscribirNiveles(m_registros, 0, nuevos);
}

bool ComprobarNivelesConDialogo(TValorMultiple& registros, QWidget* padre) {
    return ComprobarNiveles(registros, [padre](TValorMultiple& r) {
        TTWLevels dialogo(r, padre);
        if (host::DialogRunner::exec(dialogo) != QDialog::Accepted)
            return false;
        dialogo.Aplicar();
        return true;
    });
}
