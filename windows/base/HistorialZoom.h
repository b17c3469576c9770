#pragma once

#include <memory>
#include <vector>

// The zoom windows of one chart, as the charting library reports them after a zoom: left,
// right, bottom and top extents, in that order.
struct RegistroZoom {
    double xMin = -1.0;
    double xMax = -1.0;
    double yMin = -1.0;
    double yMax = -1.0;
};

// The zooms the user has gone through, newest last. "Last zoom" steps back one record at a
// time; "Zoom out" forgets them all.
class HistorialZoom {
public:
    HistorialZoom();

    // getters:
    int Cuenta() const { return static_cast<int>(m_registros.size()); }
    bool Vacio() const { return m_registros.empty(); }
    // The newest record; only valid when the history is not empty.
    const RegistroZoom& Ultimo() const { return *m_registros.back(); }

    // setters:
    void LimpiarZoom();
    void ApilarZoom(double xMin, double xMax, double yMin, double yMax);
    // False when empty. Otherwise drops the newest record and, when one remains, copies the
    // new newest into `registro` (it stays in the history).
    bool DesapilarZoom(RegistroZoom& registro);

private:
    std::vector<std::unique_ptr<RegistroZoom>> m_registros;
};
