// A recording stand-in for the charting library: properties are kept in maps, redraws are
// counted, and the chart paints its colours and titles so captures are not blank.

#include "ChartProperties.h"
#include "PEApi.h"

#include <QDate>
#include <QPainter>
#include <QPicture>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

struct Contadores {
    int reinicios = 0;
    int redibujos = 0;
    int creadas = 0;
    int destruidas = 0;
};

Contadores& contadores() {
    static Contadores c;
    return c;
}

bool EsDouble(int p) {
    static const std::set<int> dobles = {
        PEP_ZOOMXMIN, PEP_ZOOMXMAX,   PEP_ZOOMYMIN, PEP_ZOOMYMAX, PEP_MARKX, PEP_MARKY,     PEP_XDATA,
        PEP_YDATA,    PEP_GRAPHSHARE, PEP_MAXGAP,   PEP_NULLX,    PEP_NULLY, PEP_AXISSHARES};
    return dobles.count(p) != 0;
}

QColor Color(int bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

class GraficaFalsa : public QWidget {
public:
    explicit GraficaFalsa(QWidget* padre) : QWidget(padre) {}

    std::map<int, int> enteros;
    std::map<int, std::vector<int>> historial; // every value each integer property took
    std::map<int, std::string> textos;
    std::map<int, std::vector<double>> dobles;
    std::map<int, std::vector<std::int32_t>> arrays;
    PERect destino;
    QPicture meta;

    int Entero(int p) const {
        auto it = enteros.find(p);
        return it == enteros.end() ? 0 : it->second;
    }

    void Dibujar(QPainter& p, const QRect& r) const {
        p.fillRect(r, Color(Entero(PEP_DESKCOLOR)));
        const QRect area = r.adjusted(r.width() / 10, r.height() / 5, -r.width() / 20, -r.height() / 10);
        p.fillRect(area, Color(Entero(PEP_GRAPHBACKCOLOR)));
        p.setPen(Color(Entero(PEP_TEXTCOLOR)));
        auto titulo = textos.find(PEP_MAINTITLE);
        auto subtitulo = textos.find(PEP_SUBTITLE);
        p.drawText(QRect(r.left(), r.top(), r.width(), r.height() / 10), Qt::AlignCenter,
                   QString::fromStdString(titulo == textos.end() ? "" : titulo->second));
        p.drawText(QRect(r.left(), r.top() + r.height() / 10, r.width(), r.height() / 10), Qt::AlignCenter,
                   QString::fromStdString(subtitulo == textos.end() ? "" : subtitulo->second));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        Dibujar(p, rect());
    }
};

GraficaFalsa* G(HPE h) {
    return static_cast<GraficaFalsa*>(h);
}

} // namespace

#define EXPORTAR extern "C" __attribute__((visibility("default")))

EXPORTAR HPE PEcreate(int, unsigned, const PERect* r, QWidget* padre, int) {
    auto* g = new GraficaFalsa(padre);
    if (r != nullptr)
        g->setGeometry(r->left, r->top, r->right - r->left, r->bottom - r->top);
    g->show();
    ++contadores().creadas;
    return g;
}

EXPORTAR int PEdestroy(HPE g) {
    ++contadores().destruidas;
    delete G(g);
    return 1;
}

EXPORTAR int PEnset(HPE g, int p, int v) {
    if (g == nullptr)
        return 0;
    G(g)->enteros[p] = v;
    G(g)->historial[p].push_back(v);
    return 1;
}

EXPORTAR int PEnget(HPE g, int p) {
    return g == nullptr ? 0 : G(g)->Entero(p);
}

EXPORTAR int PEszset(HPE g, int p, const char* t) {
    if (g == nullptr)
        return 0;
    G(g)->textos[p] = t ? t : "";
    return 1;
}

EXPORTAR int PEszget(HPE g, int p, char* buffer, int tamano) {
    if (g == nullptr || buffer == nullptr || tamano <= 0)
        return 0;
    const std::string& t = G(g)->textos[p];
    const size_t n = std::min(t.size(), static_cast<size_t>(tamano - 1));
    std::memcpy(buffer, t.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

EXPORTAR int PEvset(HPE g, int p, const void* datos, int cuenta) {
    if (g == nullptr)
        return 0;
    if (EsDouble(p)) {
        const auto* d = static_cast<const double*>(datos);
        G(g)->dobles[p].assign(d, d + (datos ? cuenta : 0));
    } else {
        const auto* e = static_cast<const std::int32_t*>(datos);
        G(g)->arrays[p].assign(e, e + (datos ? cuenta : 0));
    }
    return 1;
}

EXPORTAR int PEvget(HPE g, int p, void* buffer, int capacidad) {
    if (g == nullptr)
        return 0;
    if (EsDouble(p)) {
        const std::vector<double>& v = G(g)->dobles[p];
        if (buffer != nullptr)
            std::copy_n(v.begin(), std::min<size_t>(v.size(), static_cast<size_t>(capacidad)),
                        static_cast<double*>(buffer));
        return static_cast<int>(v.size());
    }
    const std::vector<std::int32_t>& v = G(g)->arrays[p];
    if (buffer != nullptr)
        std::copy_n(v.begin(), std::min<size_t>(v.size(), static_cast<size_t>(capacidad)),
                    static_cast<std::int32_t*>(buffer));
    return static_cast<int>(v.size());
}

// Entry points a window binds but these tests never call.
EXPORTAR int PEvsetcell(HPE, int, int, const void*) {
    return 0;
}
EXPORTAR int PEvgetcell(HPE, int, int, void*) {
    return 0;
}
EXPORTAR int PEprintgraph(HPE, QPrinter*, int) {
    return 0;
}

EXPORTAR int PEvgetcellEx(HPE g, int p, int serie, int punto, void* valor) {
    if (g == nullptr || valor == nullptr)
        return 0;
    const std::vector<double>& v = G(g)->dobles[p];
    const size_t i = static_cast<size_t>(serie * G(g)->Entero(PEP_POINTS) + punto);
    *static_cast<double*>(valor) = i < v.size() ? v[i] : 0.0;
    return 1;
}

EXPORTAR int PEreinitialize(HPE g) {
    if (g != nullptr)
        ++contadores().reinicios;
    return 1;
}

EXPORTAR int PEresetimage(HPE g, int, int) {
    if (g != nullptr)
        ++contadores().redibujos;
    return 1;
}

EXPORTAR int PEresetimageEx(HPE g, const PERect* r) {
    if (g != nullptr && r != nullptr)
        G(g)->destino = *r;
    return 1;
}

EXPORTAR const QPicture* PEgetmeta(HPE g) {
    if (g == nullptr)
        return nullptr;
    GraficaFalsa* f = G(g);
    f->meta = QPicture();
    QPainter p(&f->meta);
    f->Dibujar(p, QRect(f->destino.left, f->destino.top, f->destino.right - f->destino.left,
                        f->destino.bottom - f->destino.top));
    p.end();
    return &f->meta;
}

EXPORTAR int PEcreateserialdate(double* serie, const PETM* tm, int) {
    const QDate fecha(tm->nYear + 1900, tm->nMonth, tm->nDay);
    *serie = static_cast<double>(QDate(1899, 12, 30).daysTo(fecha)) +
             (tm->nHour * 3600 + tm->nMinute * 60 + tm->nSecond) / 86400.0;
    return 1;
}

EXPORTAR int PEdecipherserialdate(const double*, PETM*, int) {
    return 0;
}

// For the tests: 0 re-initialisations, 1 image resets, 2 charts created, 3 charts destroyed.
EXPORTAR int FalsaContador(int cual) {
    const Contadores& c = contadores();
    const int valores[] = {c.reinicios, c.redibujos, c.creadas, c.destruidas};
    return cual >= 0 && cual < 4 ? valores[cual] : -1;
}

// Every value an integer property took, in order; returns how many.
EXPORTAR int FalsaHistorial(HPE g, int p, int* valores, int capacidad) {
    const auto& h = G(g)->historial[p];
    for (size_t i = 0; i < h.size() && static_cast<int>(i) < capacidad; ++i)
        valores[i] = h[i];
    return static_cast<int>(h.size());
}
