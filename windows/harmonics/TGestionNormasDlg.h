#pragma once

#include "JuicioArmonicos.h"

#include <QObject>
#include <QString>

#include <vector>

class QWidget;

// The harmonics filter of one graph window: runs the filter list dialog and keeps a copy of
// the filter chosen there, which the window reads through the getters. A window owns one
// (its field NormasDLG) and sets the two "hay..." options to say which choices it offers.
class TGestionNormasDlg : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString ficheroNormas READ GetFicheroNormas WRITE SetFicheroNormas)
    Q_PROPERTY(QString normaSeleccionada READ GetNormaSeleccionada)
    Q_PROPERTY(bool hayVerSoloMalos READ GetHayVerSoloMalos WRITE SetHayVerSoloMalos)
    Q_PROPERTY(bool hayResaltarMalos READ GetHayResaltarMalos WRITE SetHayResaltarMalos)
    Q_PROPERTY(bool verSoloMalos READ GetVerSoloMalos WRITE SetVerSoloMalos)
    Q_PROPERTY(bool resaltarMalos READ GetResaltarMalos WRITE SetResaltarMalos)
    Q_PROPERTY(int filtroSeleccionado READ GetFiltroSeleccionado WRITE SetFiltroSeleccionado)
    Q_PROPERTY(int colorMalos READ GetColorMalos WRITE SetColorMalos)
public:
    explicit TGestionNormasDlg(QObject* owner = nullptr);

    // Shows the filter list modally over `parent`; true when the user applied a filter ("None"
    // included). Whatever the answer, the component then holds the dialog's state.
    bool Execute(QWidget* parent = nullptr);
    // Applies the filter called `nombre` without a dialog (command-line runs); an empty name
    // is "None". False, leaving everything as it was, when no such filter loads.
    bool AplicarFiltro(const QString& nombre);

    // getters:
    QString GetFicheroNormas() const { return m_ficheroNormas; }
    QString GetNormaSeleccionada() const { return m_normaSeleccionada; }
    bool GetHayVerSoloMalos() const { return m_hayVerSoloMalos; }
    bool GetHayResaltarMalos() const { return m_hayResaltarMalos; }
    bool GetVerSoloMalos() const { return m_verSoloMalos; }
    bool GetResaltarMalos() const { return m_resaltarMalos; }
    int GetFiltroSeleccionado() const { return m_filtroSeleccionado; }
    // COLORREF (0x00BBGGRR).
    int GetColorMalos() const { return m_colorMalos; }
    double GetTHDVn() const { return m_thdV; }
    double GetTHDIn() const { return m_thdI; }
    int GetNFiltrosVn() const { return static_cast<int>(m_filtroV.size()); }
    int GetNFiltrosIn() const { return static_cast<int>(m_filtroI.size()); }
    // Limit i (index 0 = order 2); -1 outside 0 to count - 1.
    double GetFiltroVn(int i) const;
    double GetFiltroIn(int i) const;
    // The limit record of one kind as the windows keep it.
    juicio::RegistroLimites Limites(juicio::Tipo tipo) const;

    // setters:
    void SetFicheroNormas(const QString& fichero) { m_ficheroNormas = fichero; }
    void SetNormaSeleccionada(const QString& nombre) { m_normaSeleccionada = nombre; }
    void SetHayVerSoloMalos(bool hay) { m_hayVerSoloMalos = hay; }
    void SetHayResaltarMalos(bool hay) { m_hayResaltarMalos = hay; }
    void SetVerSoloMalos(bool ver) { m_verSoloMalos = ver; }
    void SetResaltarMalos(bool resaltar) { m_resaltarMalos = resaltar; }
    void SetFiltroSeleccionado(int fila) { m_filtroSeleccionado = fila; }
    void SetColorMalos(int color) { m_colorMalos = color; }

private:
    QString m_ficheroNormas;
    QString m_normaSeleccionada;
    bool m_hayVerSoloMalos = false;
    bool m_hayResaltarMalos = false;
    bool m_verSoloMalos = false;
    bool m_resaltarMalos = false;
    int m_filtroSeleccionado = 0;
    int m_colorMalos = 0;
    double m_thdV = normas::kSinLimite;
    double m_thdI = normas::kSinLimite;
    std::vector<double> m_filtroV;
    std::vector<double> m_filtroI;
};
