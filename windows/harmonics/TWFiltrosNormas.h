#pragma once

#include "FicheroNormas.h"
#include "SettingsStore.h"

#include <QDialog>

#include <optional>
#include <vector>

class QCheckBox;
class QColorDialog;
class QLabel;
class QPushButton;
class QTableWidget;

// The harmonics filter list: picks a filter of the norms file, the two display options and
// the highlight colour, and opens the editor to create or change filters. Row 0 is "None".
// Run it with host::DialogRunner::exec; on Accepted the loaded filter is the one to apply.
class TWFiltrosNormas : public QDialog {
    Q_OBJECT
public:
    // Settings under the product key, written on OK only.
    static constexpr char kClave[] = "ARMONICOS";
    static constexpr char kSeleccionado[] = "SELECCIONADO";
    static constexpr char kMalos[] = "MALOS";
    static constexpr char kResaltar[] = "RESALTAR";
    static constexpr char kIndexColor[] = "INDEXCOLOR";
    static constexpr int kColorDefecto = 65535; // yellow, as a COLORREF

    explicit TWFiltrosNormas(QWidget* owner);
    ~TWFiltrosNormas() override;

    // getters:
    const QString& FicheroNormas() const { return m_fichero; }
    int Seleccionado() const { return m_seleccionado; }
    bool VerSoloMalos() const { return m_verSoloMalos; }
    bool ResaltarMalos() const { return m_resaltarMalos; }
    int ColorMalos() const { return m_colorMalos; }
    // The colour the colour dialog holds: what an apply records.
    int ColorDialogo() const { return m_colorDialogo; }
    int ColorPanel() const { return m_colorPanel; }
    // The filter of the last load attempted (THD -1 and no values when none).
    const normas::Filtro& FiltroCargado() const { return m_filtro; }
    // The name of the selected row; empty for "None".
    QString NombreSeleccionado() const;
    // The flag of list row `fila` (row 0, "None", has "0").
    char Bandera(int fila) const;
    int NumFilas() const;

    // setters (the component's values, which override what the settings held):
    void PonerFicheroNormas(const QString& fichero) { m_fichero = fichero; }
    void PonerOpciones(bool hayVerSoloMalos, bool hayResaltarMalos);
    void PonerEstado(bool verSoloMalos, bool resaltarMalos, int colorMalos, int seleccionado);

    // Fills the list when it is still empty (the first layout).
    void RellenarSiVacia();
    // Row 0 "None", then one row per record of the norms file; selects the remembered row.
    void RellenarLista();
    void SeleccionarFila(int fila);

    // controls:
    QLabel* LTituloNormas;
    QTableWidget* ListaNormas;
    QCheckBox* CHKRegistrosBuenos;
    QCheckBox* CHKResaltarMalos;
    QPushButton* PanelColor;
    QPushButton* BAplicar;
    QPushButton* BNuevaNorma;
    QPushButton* BModificarNorma;
    QPushButton* BEliminar;
    QPushButton* BCancelar;
    QColorDialog* ColorDialog1;

public slots:
    void BAplicarClick();
    void BNuevaNormaClick();
    void BModificarNormaClick();
    void BEliminarClick();
    void BCancelarClick();
    void PanelColorClick();
    void ListaNormasSelectCell();

protected:
    // reimplemented virtual methods:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void showEvent(QShowEvent* evento) override;

private:
    void LeerRegistro();
    void EscribirRegistro();
    void FormResize();
    void MostrarColor();
    int FilaActual() const;
    bool AbrirEditor(int modo);

    std::optional<host::SettingsKey> m_clave;
    QString m_fichero;
    std::vector<char> m_banderas;
    int m_seleccionado = 0;
    bool m_verSoloMalos = false;
    bool m_resaltarMalos = false;
    int m_colorMalos = kColorDefecto;
    int m_colorDialogo = kColorDefecto;
    int m_colorPanel = kColorDefecto;
    bool m_hayVerSoloMalos = false;
    bool m_hayResaltarMalos = false;
    normas::Filtro m_filtro;
};

// COLORREF (0x00BBGGRR) and Qt colours.
QColor ColorDeColorRef(int color);
int ColorRefDeColor(const QColor& color);
