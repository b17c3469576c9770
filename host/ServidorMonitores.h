#pragma once

#include <cstdint>
#include <functional>

class DrivFlex;
class QWidget;
class QMdiArea;

// The host's monitor server: it knows the main window that owns every graph window, shows
// new graph windows in the host's MDI area, and destroys drivers when they ask for it.
class ServidorMonitores {
public:
    explicit ServidorMonitores(QWidget* ventanaPrincipal = nullptr, QMdiArea* areaMdi = nullptr);
    virtual ~ServidorMonitores();

    QWidget* VentanaPrincipal() const { return m_ventanaPrincipal; }
    void PonerVentanaPrincipal(QWidget* ventana) { m_ventanaPrincipal = ventana; }
    QMdiArea* AreaMdi() const { return m_areaMdi; }
    void PonerAreaMdi(QMdiArea* area) { m_areaMdi = area; }
    // The host's value handed to sibling modules' factories along with the server.
    std::int32_t Valor() const { return m_valor; }
    void PonerValor(std::int32_t valor) { m_valor = valor; }

    // Shows a new graph window: as a child of the MDI area when the host has one, else as a
    // top-level window (headless runs and tests).
    virtual void MostrarVentana(QWidget* ventana);
    // Destroys the driver. Observers registered with AlDestruir hear of it first.
    virtual void Destruyeme(DrivFlex* driver, bool avisar);

    void AlDestruir(std::function<void(DrivFlex*)> observador) { m_observador = std::move(observador); }
    int Destruidos() const { return m_destruidos; }

private:
    QWidget* m_ventanaPrincipal = nullptr;
    QMdiArea* m_areaMdi = nullptr;
    std::int32_t m_valor = 0;
    int m_destruidos = 0;
    std::function<void(DrivFlex*)> m_observador;
};
