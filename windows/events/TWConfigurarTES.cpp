#include "TWConfigurarTES.h"

#include "Textos.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace {

constexpr int kMaxHisteresis = 10000;

} // namespace

TWConfigurarTES::TWConfigurarTES(const PropiedadesEventos& propiedades, QWidget* padre)
    : QDialog(padre), m_propiedades(propiedades) {
    setObjectName(QStringLiteral("TWConfigurarTES"));
    setWindowTitle(Texto(TXT_HINT_PROPERTIES));

    Compactar = new QCheckBox(Texto(TXT_EV_COMPACT), this);
    Compactar->setObjectName(QStringLiteral("Compactar"));
    LHisteresis = new QLabel(Texto(TXT_EV_HYSTERESIS), this);
    Histeresis = new QSpinBox(this);
    Histeresis->setObjectName(QStringLiteral("Histeresis"));
    Histeresis->setRange(0, kMaxHisteresis);
    Histeresis->setGroupSeparatorShown(false);
    CBTrifasicos = new QCheckBox(Texto(TXT_EV_SEE_III), this);
    CBTrifasicos->setObjectName(QStringLiteral("CBTrifasicos"));

    auto* rejilla = new QGridLayout(this);
    rejilla->addWidget(Compactar, 0, 0);
    rejilla->addWidget(LHisteresis, 1, 0);
    rejilla->addWidget(Histeresis, 1, 1);
    rejilla->addWidget(CBTrifasicos, 2, 0, 1, 2);
    for (int f = 0; f < 3; ++f) {
        const size_t i = static_cast<size_t>(f);
        ResaltarFase[i] = new QCheckBox(Texto(TXT_EV_PAINT_PHASE_1 + f), this);
        ResaltarFase[i]->setObjectName(QStringLiteral("ResaltarFase%1").arg(f + 1));
        ColorFase[i] = new QComboBox(this);
        ColorFase[i]->setObjectName(QStringLiteral("ColorFase%1").arg(f + 1));
        for (int c = 0; c < kNumPaleta; ++c)
            ColorFase[i]->addItem(NombrePaleta(c));
        rejilla->addWidget(ResaltarFase[i], 3 + f, 0);
        rejilla->addWidget(ColorFase[i], 3 + f, 1);
        connect(ResaltarFase[i], &QCheckBox::toggled, this, [this, f] { ResaltarFaseClick(f); });
    }
    Aceptar = new QPushButton(Texto(TXT_OK), this);
    Aceptar->setObjectName(QStringLiteral("Aceptar"));
    Aceptar->setDefault(true);
    Cancelar = new QPushButton(Texto(TXT_CANCEL), this);
    Cancelar->setObjectName(QStringLiteral("Cancelar"));
    rejilla->addWidget(Aceptar, 6, 0);
    rejilla->addWidget(Cancelar, 6, 1);

    Compactar->setChecked(m_propiedades.Compactar());
    Histeresis->setValue(m_propiedades.Histeresis());
    CBTrifasicos->setChecked(m_propiedades.VerTrifasicos());
    for (int f = 0; f < 3; ++f) {
        const size_t i = static_cast<size_t>(f);
        ResaltarFase[i]->setChecked(m_propiedades.Valor(CampoResaltar(f)) != 0);
        ColorFase[i]->setCurrentIndex(m_propiedades.Valor(CampoColorPunto(f)));
        ResaltarFaseClick(f);
    }
    CompactarClick();
    connect(Compactar, &QCheckBox::toggled, this, [this] { CompactarClick(); });
    connect(Aceptar, &QPushButton::clicked, this, [this] { AceptarClick(); });
    connect(Cancelar, &QPushButton::clicked, this, &QDialog::reject);
}

void TWConfigurarTES::CompactarClick() {
    Histeresis->setEnabled(Compactar->isChecked());
    LHisteresis->setEnabled(Compactar->isChecked());
}

void TWConfigurarTES::ResaltarFaseClick(int fase) {
    const size_t i = static_cast<size_t>(fase);
    ColorFase[i]->setEnabled(ResaltarFase[i]->isChecked());
}

void TWConfigurarTES::AceptarClick() {
    m_propiedades.PonerValor(m_propiedades.CampoCompactar(), Compactar->isChecked() ? 1 : 0);
    m_propiedades.PonerValor(m_propiedades.CampoHisteresis(), Histeresis->value());
    m_propiedades.PonerValor(m_propiedades.CampoVerTrifasicos(), CBTrifasicos->isChecked() ? 1 : 0);
    for (int f = 0; f < 3; ++f) {
        const size_t i = static_cast<size_t>(f);
        m_propiedades.PonerValor(CampoResaltar(f), ResaltarFase[i]->isChecked() ? 1 : 0);
        m_propiedades.PonerValor(CampoColorPunto(f), ColorFase[i]->currentIndex());
    }
    // A store that cannot be written keeps the old values for the next window; this one still
    // shows what the user chose.
    m_propiedades.Guardar();
    accept();
}
