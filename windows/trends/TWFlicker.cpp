#include "TWFlicker.h"

#include "Textos.h"
#include "UserInteraction.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>

#include <algorithm>

namespace {

constexpr int kContextoAyuda = 98;
// The time picker shows a time of day.
constexpr int kUltimoSegundoDia = 86399;

template <class Control> Control* Nombrado(Control* c, const char* nombre) {
    c->setObjectName(QString::fromLatin1(nombre));
    return c;
}

} // namespace

TWFlicker::TWFlicker(QWidget* propietario, const CalculoPlt::Ajustes& ajustes)
    : QDialog(propietario), m_ajustes(ajustes) {
    setObjectName(QStringLiteral("TWFlicker"));
    setWindowTitle(Texto(TXT_CONFIGURE_PLT));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    // A batch run keeps the stored settings.
    setProperty("batchResult", static_cast<int>(QDialog::Rejected));

    CBMaximoPlt = Nombrado(new QCheckBox(Texto(TXT_MAXIMUM_PLT), this), "CBMaximoPlt");
    EMaximoPlt = Nombrado(new QLineEdit(this), "EMaximoPlt");
    EMaximoPlt->setMaxLength(5);
    LWindow = Nombrado(new QLabel(Texto(TXT_PLT_WINDOW), this), "LWindow");
    DTWindow = Nombrado(new QTimeEdit(this), "DTWindow");
    DTWindow->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    CBDiscard = Nombrado(new QCheckBox(Texto(TXT_DISCARD_BAD_PLT), this), "CBDiscard");
    BAceptar = Nombrado(new QPushButton(Texto(TXT_OK), this), "BAceptar");
    BCancelar = Nombrado(new QPushButton(Texto(TXT_CANCEL), this), "BCancelar");
    BAceptar->setDefault(true);

    auto* rejilla = new QGridLayout(this);
    rejilla->addWidget(CBMaximoPlt, 0, 0);
    rejilla->addWidget(EMaximoPlt, 0, 1);
    rejilla->addWidget(LWindow, 1, 0);
    rejilla->addWidget(DTWindow, 1, 1);
    rejilla->addWidget(CBDiscard, 2, 0, 1, 2);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(BAceptar);
    botones->addWidget(BCancelar);
    rejilla->addLayout(botones, 3, 0, 1, 2);
    rejilla->setSizeConstraint(QLayout::SetFixedSize);

    const bool conMaximo = m_ajustes.maximo != -1;
    CBMaximoPlt->setChecked(conMaximo);
    EMaximoPlt->setEnabled(conMaximo);
    if (conMaximo)
        EMaximoPlt->setText(QString::asprintf("%.3f", m_ajustes.maximo * 0.001));
    DTWindow->setTime(QTime(0, 0).addSecs(std::clamp(m_ajustes.ventana, 0, kUltimoSegundoDia)));
    CBDiscard->setChecked(m_ajustes.ignorar != 0);

    connect(CBMaximoPlt, &QCheckBox::clicked, this, &TWFlicker::CBMaximoPltClick);
    connect(BAceptar, &QPushButton::clicked, this, &TWFlicker::BAceptarClick);
    connect(BCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

void TWFlicker::CBMaximoPltClick() {
    EMaximoPlt->setEnabled(CBMaximoPlt->isChecked());
}

void TWFlicker::BAceptarClick() {
    const QString texto = EMaximoPlt->text();
    const QTime ventana = DTWindow->time();
    const auto aviso = [this](int mensaje) {
        host::MessageService::show(this, Texto(TXT_WARNING), Texto(mensaje), host::MessageIcon::Warning);
    };
    if ((texto.isEmpty() && CBMaximoPlt->isChecked()) || ventana == QTime(0, 0)) {
        aviso(TXT_EMPTY_FIELDS);
        return;
    }
    int milesimas = -1;
    if (!texto.isEmpty() && !CalculoPlt::LeerMaximo(texto, milesimas)) {
        aviso(TXT_MAX_PLT_NUMBER);
        return;
    }
    m_ajustes.maximo = CBMaximoPlt->isChecked() ? milesimas : -1;
    m_ajustes.ventana = ventana.hour() * 3600 + ventana.minute() * 60 + ventana.second();
    m_ajustes.ignorar = CBDiscard->isChecked() ? 1 : 0;
    CalculoPlt::GuardarAjustes(m_ajustes);
    accept();
}

void TWFlicker::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_F1) {
        host::HelpService::show(kContextoAyuda);
        return;
    }
    QDialog::keyPressEvent(e);
}
