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
        QMdiSubWindow* sub = m_areaMdi->addSubWindow(ventana);
        // Closing the frame closes the graph window, which frees itself.
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->show();
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
