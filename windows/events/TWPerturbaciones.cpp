#include "TWPerturbaciones.h"

#include "Textos.h"
#include "UserInteraction.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

QColor ColorDe(std::uint32_t c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

std::uint32_t ColorRef(const QColor& c) {
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
           (static_cast<std::uint32_t>(c.blue()) << 16);
}

QString Decimas(int posicion) {
    return QString::asprintf("%.1f", posicion * 0.1);
}

} // namespace

TUpDown::TUpDown(QWidget* padre, QLineEdit* asociado, int minimo, int maximo, int posicion)
    : QWidget(padre), m_asociado(asociado), m_minimo(minimo), m_maximo(std::max(minimo, maximo)),
      m_posicion(std::clamp(posicion, m_minimo, m_maximo)) {
    BArriba = new QToolButton(this);
    BArriba->setArrowType(Qt::UpArrow);
    BArriba->setAutoRepeat(true);
    BAbajo = new QToolButton(this);
    BAbajo->setArrowType(Qt::DownArrow);
    BAbajo->setAutoRepeat(true);
    for (QToolButton* b : {BArriba, BAbajo})
        b->setFixedSize(16, 11);
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    l->addWidget(BArriba);
    l->addWidget(BAbajo);
    connect(BArriba, &QToolButton::clicked, this, &TUpDown::Arriba);
    connect(BAbajo, &QToolButton::clicked, this, &TUpDown::Abajo);
}

void TUpDown::SetRange(int minimo, int maximo) {
    m_minimo = minimo;
    m_maximo = std::max(minimo, maximo);
    m_posicion = std::clamp(m_posicion, m_minimo, m_maximo);
}

void TUpDown::SetPosition(int posicion) {
    m_posicion = std::clamp(posicion, m_minimo, m_maximo);
    if (m_asociado != nullptr)
        m_asociado->setText(m_formato ? m_formato(m_posicion) : QString::number(m_posicion));
}

TWPerturbaciones::TWPerturbaciones(QWidget* padre, perturbaciones::Filtro& filtro, double menorTrigger)
    : QDialog(padre), m_filtro(filtro), m_colorTrigger(filtro.ColorTrigger),
      m_colorPorcentaje(filtro.ColorPorcentaje) {
    using namespace perturbaciones;
    setObjectName(QStringLiteral("TWPerturbaciones"));
    setWindowTitle(Texto(TXT_PER_CAPTION));

    const auto nombrar = [](QWidget* w, const char* nombre) {
        w->setObjectName(QString::fromLatin1(nombre));
    };

    VLow = new QGroupBox(Texto(TXT_PER_VOLTAGE_LOW), this);
    nombrar(VLow, "VLow");
    LPorcentaje = new QLabel(Texto(TXT_PER_PERCENTAGE), VLow);
    EPorcentaje = new QLineEdit(VLow);
    nombrar(EPorcentaje, "EPorcentaje");
    EPorcentaje->setMaxLength(3);
    EPorcentaje->setFixedWidth(48);
    UpDownPorcentaje = new TUpDown(VLow, EPorcentaje, kPorcentajeMinimo, kPorcentajeMaximo,
                                   static_cast<int>(kPorcentajeInicial));
    nombrar(UpDownPorcentaje, "UpDownPorcentaje");
    LColorPorcentaje = new QLabel(Texto(TXT_PER_COLOR), VLow);
    PColorPorcentaje = new QPushButton(VLow);
    nombrar(PColorPorcentaje, "PColorPorcentaje");
    PColorPorcentaje->setAutoDefault(false);
    PColorPorcentaje->setFixedSize(40, 20);
    RGCiclos = new QGroupBox(Texto(TXT_PER_INTERVAL), VLow);
    nombrar(RGCiclos, "RGCiclos");
    RBCiclos = new QRadioButton(Texto(TXT_PER_CYCLES), RGCiclos);
    RBSemiciclos = new QRadioButton(Texto(TXT_PER_SEMICYCLES), RGCiclos);
    auto* lc = new QVBoxLayout(RGCiclos);
    lc->addWidget(RBCiclos);
    lc->addWidget(RBSemiciclos);
    CBVerPorcentaje = new QCheckBox(Texto(TXT_PER_SHOW), VLow);
    nombrar(CBVerPorcentaje, "CBVerPorcentaje");
    auto* lv = new QGridLayout(VLow);
    lv->addWidget(LPorcentaje, 0, 0);
    lv->addWidget(EPorcentaje, 0, 1);
    lv->addWidget(UpDownPorcentaje, 0, 2);
    lv->addWidget(LColorPorcentaje, 1, 0);
    lv->addWidget(PColorPorcentaje, 1, 1);
    lv->addWidget(RGCiclos, 0, 3, 2, 1);
    lv->addWidget(CBVerPorcentaje, 2, 0, 1, 2);

    Rampa = new QGroupBox(Texto(TXT_PER_MAXIMUM_ANGLE), this);
    nombrar(Rampa, "Rampa");
    LTrigger = new QLabel(Texto(TXT_PER_TRIGGER), Rampa);
    ETrigger = new QLineEdit(Rampa);
    nombrar(ETrigger, "ETrigger");
    ETrigger->setMaxLength(3);
    ETrigger->setFixedWidth(48);
    UpDownTrigger = new TUpDown(Rampa, ETrigger, kTriggerMinimo, kTriggerMaximo, kTriggerMinimo);
    nombrar(UpDownTrigger, "UpDownTrigger");
    UpDownTrigger->SetFormato(Decimas);
    LColorTrigger = new QLabel(Texto(TXT_PER_COLOR), Rampa);
    PColorTrigger = new QPushButton(Rampa);
    nombrar(PColorTrigger, "PColorTrigger");
    PColorTrigger->setAutoDefault(false);
    PColorTrigger->setFixedSize(40, 20);
    RGFrecuencia = new QGroupBox(Texto(TXT_PER_FREQUENCY), Rampa);
    nombrar(RGFrecuencia, "RGFrecuencia");
    RB50 = new QRadioButton(Texto(TXT_PER_50HZ), RGFrecuencia);
    RB60 = new QRadioButton(Texto(TXT_PER_60HZ), RGFrecuencia);
    auto* lf = new QVBoxLayout(RGFrecuencia);
    lf->addWidget(RB50);
    lf->addWidget(RB60);
    CBVerTrigger = new QCheckBox(Texto(TXT_PER_SHOW), Rampa);
    nombrar(CBVerTrigger, "CBVerTrigger");
    auto* lr = new QGridLayout(Rampa);
    lr->addWidget(LTrigger, 0, 0);
    lr->addWidget(ETrigger, 0, 1);
    lr->addWidget(UpDownTrigger, 0, 2);
    lr->addWidget(LColorTrigger, 1, 0);
    lr->addWidget(PColorTrigger, 1, 1);
    lr->addWidget(RGFrecuencia, 0, 3, 2, 1);
    lr->addWidget(CBVerTrigger, 2, 0, 1, 2);

    CBVerMalos = new QCheckBox(Texto(TXT_VIEW_ONLY_BAD), this);
    nombrar(CBVerMalos, "CBVerMalos");
    BAceptar = new QPushButton(Texto(TXT_OK), this);
    nombrar(BAceptar, "BAceptar");
    BAceptar->setDefault(true);
    BCancelar = new QPushButton(Texto(TXT_CANCEL), this);
    nombrar(BCancelar, "BCancelar");
    BCancelar->setAutoDefault(false);
    ColorDialog1 = new QColorDialog(this);
    nombrar(ColorDialog1, "ColorDialog1");
    // A run without a person keeps the colours.
    ColorDialog1->setProperty("batchResult", static_cast<int>(QDialog::Rejected));

    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(BAceptar);
    botones->addWidget(BCancelar);
    auto* principal = new QVBoxLayout(this);
    principal->addWidget(VLow);
    principal->addWidget(Rampa);
    principal->addWidget(CBVerMalos);
    principal->addLayout(botones);

    connect(BAceptar, &QPushButton::clicked, this, &TWPerturbaciones::BAceptarClick);
    connect(BCancelar, &QPushButton::clicked, this, &TWPerturbaciones::BCancelarClick);
    connect(PColorPorcentaje, &QPushButton::clicked, this, &TWPerturbaciones::PColorPorcentajeClick);
    connect(PColorTrigger, &QPushButton::clicked, this, &TWPerturbaciones::PColorTriggerClick);

    // The filter as it stands.
    UpDownTrigger->SetRange(MinimoTrigger(menorTrigger), kTriggerMaximo);
    UpDownTrigger->SetPosition(
        filtro.Trigger >= kSinTrigger
            ? UpDownTrigger->Min()
            : static_cast<int>(std::lround(std::clamp(filtro.Trigger * 10.0, -1e6, 1e6))));
    ETrigger->setText(filtro.Trigger >= kSinTrigger ? Decimas(UpDownTrigger->Position())
                                                    : QString::asprintf("%.1f", filtro.Trigger));
    // A percentage never set (or absurd) shows within the up-down's range.
    const int porcentaje = static_cast<int>(std::clamp(filtro.Porcentaje, 0.0, 999.0));
    UpDownPorcentaje->SetPosition(porcentaje);
    EPorcentaje->setText(QString::asprintf("%d", porcentaje));
    CBVerMalos->setChecked(filtro.VerMalos != 0);
    CBVerTrigger->setChecked(filtro.VerTrigger != 0);
    CBVerPorcentaje->setChecked(filtro.VerPorcentaje != 0);
    (filtro.Frecuencia == 50 ? RB50 : RB60)->setChecked(true);
    (filtro.Ciclos == 1 ? RBCiclos : RBSemiciclos)->setChecked(true);
    PintarPaneles();
}

void TWPerturbaciones::PintarPaneles() {
    const auto pintar = [](QPushButton* p, std::uint32_t c) {
        p->setStyleSheet(
            QStringLiteral("background-color: %1; border: 1px solid black;").arg(ColorDe(c).name()));
    };
    pintar(PColorTrigger, m_colorTrigger);
    pintar(PColorPorcentaje, m_colorPorcentaje);
}

void TWPerturbaciones::PColorPorcentajeClick() {
    ColorDialog1->setCurrentColor(ColorDe(m_colorPorcentaje));
    if (host::DialogRunner::exec(*ColorDialog1) != QDialog::Accepted)
        return;
    m_colorPorcentaje = ColorRef(ColorDialog1->currentColor());
    PintarPaneles();
}

void TWPerturbaciones::PColorTriggerClick() {
    ColorDialog1->setCurrentColor(ColorDe(m_colorTrigger));
    if (host::DialogRunner::exec(*ColorDialog1) != QDialog::Accepted)
        return;
    m_colorTrigger = ColorRef(ColorDialog1->currentColor());
    PintarPaneles();
}

void TWPerturbaciones::BAceptarClick() {
    using namespace perturbaciones;
    int trigger = 0;
    if (!PosicionTrigger(ETrigger->text(), trigger) || trigger < UpDownTrigger->Min() ||
        trigger > UpDownTrigger->Max()) {
        host::MessageService::show(this, Texto(TXT_ERROR), Texto(TXT_PER_INCORRECT_TRIGGER),
                                   host::MessageIcon::Error);
        return;
    }
    int porcentaje = 0;
    if (!PosicionPorcentaje(EPorcentaje->text(), porcentaje) || porcentaje < UpDownPorcentaje->Min() ||
        porcentaje > UpDownPorcentaje->Max()) {
        host::MessageService::show(this, Texto(TXT_ERROR), Texto(TXT_PER_INCORRECT_PERCENTAGE),
                                   host::MessageIcon::Error);
        return;
    }
    UpDownTrigger->SetPosition(trigger);
    UpDownPorcentaje->SetPosition(porcentaje);
    m_filtro.VerMalos = CBVerMalos->isChecked() ? 1 : 0;
    m_filtro.VerTrigger = CBVerTrigger->isChecked() ? 1 : 0;
    m_filtro.VerPorcentaje = CBVerPorcentaje->isChecked() ? 1 : 0;
    m_filtro.Trigger = m_filtro.VerTrigger ? UpDownTrigger->Position() * 0.1 : kSinTrigger;
    m_filtro.Porcentaje = m_filtro.VerPorcentaje ? UpDownPorcentaje->Position() : kPorcentajeInicial;
    m_filtro.Frecuencia = RB50->isChecked() ? 50 : 60;
    m_filtro.Ciclos = RBCiclos->isChecked() ? 1 : 0;
    m_filtro.ColorTrigger = m_colorTrigger;
    m_filtro.ColorPorcentaje = m_colorPorcentaje;
    EscribirRegistro(m_filtro);
    m_cerrando = true;
    accept();
}

void TWPerturbaciones::BCancelarClick() {
    reject();
}

void TWPerturbaciones::reject() {
    using namespace perturbaciones;
    // A trigger still at its floor was only the default the window offered: not a choice.
    if (!m_cerrando && std::fabs(m_filtro.Trigger - UpDownTrigger->Min() * 0.1) < 1e-9)
        m_filtro.Trigger = kSinTrigger;
    QDialog::reject();
}
