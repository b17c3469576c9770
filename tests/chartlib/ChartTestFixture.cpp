#include "ChartTestFixture.h"

#include "Textos.h"

#include <QLibrary>
#include <QTest>

namespace {

// Loaded once for the whole program, as the engine does.
std::unique_ptr<QLibrary>& library() {
    static std::unique_ptr<QLibrary> lib;
    return lib;
}

EnlaceGrafica& binding() {
    static EnlaceGrafica enlace;
    return enlace;
}

} // namespace

bool NotificationSink::event(QEvent* e) {
    if (e->type() == PENotifyEvent::kType) {
        codes.push_back(static_cast<PENotifyEvent*>(e)->code());
        if (onNotify)
            onNotify(codes.back());
        return true;
    }
    return QWidget::event(e);
}

void ChartTest::SetUpTestSuite() {
    if (library())
        return;
    library() = EnlaceGrafica::CargarLibreria();
    ASSERT_TRUE(library()) << "the charting library " << kChartingLibrary << " does not load";
    binding() = EnlaceGrafica(library().get());
    // Every entry point, also those the engine's own checks let be missing.
    const EnlaceGrafica& a = binding();
    ASSERT_TRUE(a.PEresetimageEx && a.PElaunchprintdialog && a.PEsavetofile && a.PEstorepartial);
    ASSERT_NO_THROW(a.ExigirVentana(true, TXT_CTX_TGRAFICA));
}

const EnlaceGrafica& ChartTest::api() {
    return binding();
}

void ChartTest::SetUp() {
    ASSERT_TRUE(library());
    m_parent = std::make_unique<NotificationSink>();
    m_parent->resize(400, 300);
    m_parent->show();
    PERect rect{0, 0, 400, 300};
    m_chart = api().PEcreate(304, 0, &rect, m_parent.get(), 1);
    ASSERT_NE(m_chart, nullptr);
    ASSERT_NE(plot(), nullptr);
    pe = api();
    pe.PonerGrafica(m_chart);
    // White everywhere and no null value unless a test sets one.
    pe.ponerEntero(PEP_DESKCOLOR, static_cast<int>(peRGB(255, 255, 255)));
    pe.ponerEntero(PEP_GRAPHBACKCOLOR, static_cast<int>(peRGB(255, 255, 255)));
}

void ChartTest::TearDown() {
    if (m_chart != nullptr)
        api().PEdestroy(m_chart);
    m_parent.reset();
}

void ChartTest::setDoubles(int property, const std::vector<double>& values) {
    ASSERT_EQ(api().PEvset(m_chart, property, values.data(), static_cast<int>(values.size())), 1);
}
void ChartTest::setInts(int property, const std::vector<int>& values) {
    ASSERT_EQ(api().PEvset(m_chart, property, values.data(), static_cast<int>(values.size())), 1);
}

void ChartTest::setTexts(int property, const std::vector<std::string>& values) {
    std::vector<const char*> pointers;
    for (const auto& v : values)
        pointers.push_back(v.c_str());
    ASSERT_EQ(api().PEvset(m_chart, property, pointers.data(), static_cast<int>(pointers.size())), 1);
}

void ChartTest::series(int subsets, const std::vector<double>& x, const std::vector<double>& y,
                       const std::vector<int>& colours, const std::vector<int>& lines) {
    pe.ponerEntero(PEP_SUBSETS, subsets);
    pe.ponerEntero(PEP_POINTS, static_cast<int>(x.size()) / subsets);
    setDoubles(PEP_XDATA, x);
    setDoubles(PEP_YDATA, y);
    if (!colours.empty())
        setInts(PEP_SUBSETCOLORS, colours);
    if (!lines.empty())
        setInts(PEP_LINETYPES, lines);
}

void ChartTest::drag(QPoint from, QPoint to) {
    QTest::mousePress(m_chart, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), m_chart->mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_chart, &move);
    QTest::mouseRelease(m_chart, Qt::LeftButton, {}, to);
}

QImage ChartTest::grab() {
    return m_chart->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QPointF ChartTest::pixelOf(int axis, double x, double y) {
    QCPAxisRect* rect = plot()->axisRect(axis);
    return {rect->axis(QCPAxis::atBottom)->coordToPixel(x), rect->axis(QCPAxis::atLeft)->coordToPixel(y)};
}

bool near(const QColor& a, const QColor& b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

bool anyNear(const QImage& image, QPointF at, const QColor& colour, int radius) {
    for (int dx = -radius; dx <= radius; ++dx)
        for (int dy = -radius; dy <= radius; ++dy) {
            const QPoint p(qRound(at.x()) + dx, qRound(at.y()) + dy);
            if (image.rect().contains(p) && near(image.pixelColor(p), colour))
                return true;
        }
    return false;
}
