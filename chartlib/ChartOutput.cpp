// Output: the metafile, printing and image files.

#include "ChartWidget.h"

#include "ChartStyle.h"
#include "UserInteraction.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

#include <algorithm>

namespace chartlib {

const QPicture* ChartWidget::meta() {
    const QRect target = m_metaTarget.isValid() ? m_metaTarget : QRect(0, 0, width(), height());
    m_meta = QPicture();
    QCPPainter painter(&m_meta);
    painter.translate(target.topLeft());
    toPainter(&painter, target.width(), target.height());
    painter.end();
    m_sceneDirty = true;
    return &m_meta;
}

bool ChartWidget::print(QPrinter* printer, bool landscape) {
    std::unique_ptr<QPrinter> own;
    if (printer == nullptr) {
        if (QPrinterInfo::defaultPrinter().isNull())
            return false;
        own = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer = own.get();
    }
    if (landscape)
        printer->setPageOrientation(QPageLayout::Landscape);
    QCPPainter painter;
    if (!painter.begin(printer))
        return false;
    const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
    // Lay the chart out at screen size scaled to the page, so fonts keep their proportions.
    const double scale = std::max(1.0, printer->resolution() / 96.0);
    painter.scale(scale, scale);
    toPainter(&painter, static_cast<int>(page.width() / scale), static_cast<int>(page.height() / scale));
    painter.end();
    m_sceneDirty = true;
    return true;
}

bool ChartWidget::launchPrintDialog(bool fullPage, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(fullPage);
    QPrintDialog dialog(&printer, parent != nullptr ? parent : this);
    if (host::DialogRunner::exec(dialog) != QDialog::Accepted)
        return false;
    return print(&printer, false);
}

bool ChartWidget::saveToFile(const QString& path, int format) {
    if (format != 0 && format != 1)
        return false;
    replot(QCustomPlot::rpImmediateRefresh);
    const QImage image = grab().toImage().convertToFormat(QImage::Format_RGB888);
    // Written beside the target and renamed over it, so a failed write never loses the old file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!image.save(&file, format == 0 ? "BMP" : "PNG")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace chartlib
