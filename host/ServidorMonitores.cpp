#include "ServidorMonitores.h"

#include "DrivFlex.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

ServidorMonitores::ServidorMonitores(QWidget* ventanaPrincipal, QMdiArea* areaMdi)
    : m_ventanaPrincipal(ventanaPrincipal), m_areaMdi(areaMdi) {}

ServidorMonitores::~ServidorMonitores() = default;

void ServidorMonitores::MostrarVentana(QWidget* ventana) {
    if (ventana == nullptr)
        return;
    if (m_areaMdi != nullptr) {
        // The frame is sized around the window's own size: a graph window has no layout to
        // give the MDI area a useful size hint.
        const QSize tamano = ventana->size();
        QMdiSubWindow* sub = m_areaMdi->addSubWindow(ventana);
        // Closing the frame closes the graph window, which frees itself.
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->show();
        const QSize marco = sub->size() - ventana->size();
        sub->resize(tamano + marco);
    } else {
        ventana->show();
    }
}

void ServidorMonitores::Destruyeme(DrivFlex* driver, bool) {
    if (driver == nullptr)
        return;
    if (m_observador)
        m_observador(driver);
    ++m_destruidos;
    delete driver;
}
