#include "ChartTestFixture.h"

#include "ModuleLoader.h"

#include <QApplication>

namespace {

std::unique_ptr<QLibrary>& library() {
    static std::unique_ptr<QLibrary> lib;
    return lib;
}

ChartApi& mutableApi() {
    static ChartApi a;
    return a;
}

template <typename F> void resolve(F& slot, const char* name) {
    slot = reinterpret_cast<F>(host::resolveEntry(library().get(), name));
    ASSERT_NE(slot, nullptr) << name;
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
    QString error;
    library() = host::loadModule(QString::fromLatin1(kChartingLibraryFile), &error);
    ASSERT_TRUE(library()) << error.toStdString();
    ChartApi& a = mutableApi();
    resolve(a.create, "PEcreate");
    resolve(a.destroy, "PEdestroy");
    resolve(a.nset, "PEnset");
    resolve(a.nget, "PEnget");
    resolve(a.szset, "PEszset");
    resolve(a.szget, "PEszget");
    resolve(a.vset, "PEvset");
    resolve(a.vget, "PEvget");
    resolve(a.vsetcell, "PEvsetcell");
    resolve(a.vgetcell, "PEvgetcell");
    resolve(a.vgetcellEx, "PEvgetcellEx");
    resolve(a.reinitialize, "PEreinitialize");
    resolve(a.resetimage, "PEresetimage");
    resolve(a.resetimageEx, "PEresetimageEx");
    resolve(a.getmeta, "PEgetmeta");
    resolve(a.printgraph, "PEprintgraph");
    resolve(a.launchprintdialog, "PElaunchprintdialog");
    resolve(a.savetofile, "PEsavetofile");
    resolve(a.storepartial, "PEstorepartial");
    resolve(a.createserialdate, "PEcreateserialdate");
    resolve(a.decipherserialdate, "PEdecipherserialdate");
}

const ChartApi& ChartTest::api() {
    return mutableApi();
}

void ChartTest::SetUp() {
    ASSERT_TRUE(library());
    m_parent = std::make_unique<NotificationSink>();
    m_parent->resize(400, 300);
    m_parent->show();
    PERect rect{0, 0, 400, 300};
    m_chart = api().create(304, 0, &rect, m_parent.get(), 1);
    ASSERT_NE(m_chart, nullptr);
    ASSERT_NE(plot(), nullptr);
    // White everywhere and no null value unless a test sets one.
    api().nset(m_chart, PEP_DESKCOLOR, static_cast<int>(peRGB(255, 255, 255)));
    api().nset(m_chart, PEP_GRAPHBACKCOLOR, static_cast<int>(peRGB(255, 255, 255)));
}

void ChartTest::TearDown() {
    if (m_chart != nullptr)
        api().destroy(m_chart);
    m_parent.reset();
}

void ChartTest::setDoubles(int property, const std::vector<double>& values) {
    ASSERT_EQ(api().vset(m_chart, property, values.data(), static_cast<int>(values.size())), 1);
}

void ChartTest::setInts(int property, const std::vector<int>& values) {
    ASSERT_EQ(api().vset(m_chart, property, values.data(), static_cast<int>(values.size())), 1);
}

void ChartTest::setTexts(int property, const std::vector<std::string>& values) {
    std::vector<const char*> pointers;
    for (const auto& v : values)
        pointers.push_back(v.c_str());
    ASSERT_EQ(api().vset(m_chart, property, pointers.data(), static_cast<int>(pointers.size())), 1);
}

void ChartTest::setDouble(int property, double value) {
    ASSERT_EQ(api().vset(m_chart, property, &value, 1), 1);
}

double ChartTest::getDouble(int property) {
    double value = std::numeric_limits<double>::quiet_NaN();
    api().vget(m_chart, property, &value, 1);
    return value;
}

void ChartTest::redraw() {
    api().reinitialize(m_chart);
    api().resetimage(m_chart, 0, 0);
}

QImage ChartTest::grab() {
    return m_chart->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QPointF ChartTest::pixelOf(int axis, double x, double y) {
    QCPAxisRect* rect = plot()->axisRect(axis);
    return {rect->axis(QCPAxis::atBottom)->coordToPixel(x), rect->axis(QCPAxis::atLeft)->coordToPixel(y)};
}
