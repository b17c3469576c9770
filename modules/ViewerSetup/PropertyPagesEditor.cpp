#include "PropertyPagesEditor.h"

#include "DrivFlex.h"
#include "TablasColores.h"
#include "Textos.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QString editorName(int page, int property) {
    return QStringLiteral("page%1.property%2").arg(page).arg(property);
}

QString readText(DrivFlex* driver, int page, int property) {
    char buffer[DrivFlex::kTextoPropiedad + 1] = {};
    driver->GetPropertyText(page, property, buffer);
    buffer[DrivFlex::kTextoPropiedad] = '\0'; // a driver that forgets the terminator
    return QString::fromUtf8(buffer);
}

// The appearance pages offer colours by name: a swatch beside the name shows which one.
QIcon swatchFor(const QString& option) {
    for (int k = 0; k < kNumColoresFondo; ++k) {
        if (option != Texto(TXT_COLOR_0 + k))
            continue;
        const auto bgr = static_cast<std::uint32_t>(ColorFondo(k));
        QPixmap swatch(14, 14);
        swatch.fill(QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)));
        return QIcon(swatch);
    }
    return {};
}

} // namespace

PropertyPagesEditor::PropertyPagesEditor(QWidget* parent) : QWidget(parent), m_tabs(new QTabWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
    m_tabs->setDocumentMode(true);
}

QWidget* PropertyPagesEditor::editorFor(int page, int property) const {
    return m_tabs->findChild<QWidget*>(editorName(page, property));
}

void PropertyPagesEditor::setDriver(DrivFlex* driver) {
    m_driver = driver;
    rebuild();
}

bool PropertyPagesEditor::saveSnapshot() {
    if (m_driver == nullptr)
        return false;
    int done = 0;
    m_driver->GetPropertyValue(kSnapshotPage, 0, &done);
    return done == 1;
}

bool PropertyPagesEditor::restoreSnapshot() {
    if (m_driver == nullptr)
        return false;
    int done = 0;
    m_driver->GetPropertyValue(kSnapshotPage, 1, &done);
    reload();
    return done == 1;
}

void PropertyPagesEditor::rebuild() {
    while (m_tabs->count() > 0) {
        QWidget* page = m_tabs->widget(0);
        m_tabs->removeTab(0);
        delete page;
    }
    if (m_driver == nullptr)
        return;
    const int pages = m_driver->GetPagesNumber();
    for (int p = 0; p < pages; ++p) {
        if (!m_driver->GetPageVisibility(p))
            continue;
        auto* content = new QWidget;
        auto* form = new QFormLayout(content);
        form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
        const int properties = m_driver->GetPropertyNumber(p);
        for (int i = 0; i < properties; ++i) {
            const QString label = QString::fromUtf8(m_driver->GetPropertyName(p, i));
            const int options = m_driver->GetPropertyOptionsNumber(p, i);
            QWidget* field = nullptr;
            if (options > 0) {
                auto* combo = new QComboBox;
                for (int o = 0; o < options; ++o) {
                    const QString option = QString::fromUtf8(m_driver->GetPropertyOption(p, i, o));
                    combo->addItem(swatchFor(option), option);
                }
                // activated, not currentIndexChanged: only the user's choice reaches the driver.
                connect(combo, &QComboBox::activated, this, [this, p, i](int o) { applyOption(p, i, o); });
                field = combo;
            } else {
                auto* edit = new QLineEdit;
                edit->setMaxLength(DrivFlex::kTextoPropiedad - 1);
                connect(edit, &QLineEdit::editingFinished, this, [this, p, i] { applyText(p, i); });
                field = edit;
            }
            field->setObjectName(editorName(p, i));
            form->addRow(label, field);
        }
        auto* scroll = new QScrollArea;
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(content);
        m_tabs->addTab(scroll, QString::fromUtf8(m_driver->GetPageName(p)));
    }
    reload();
}

void PropertyPagesEditor::reload() {
    if (m_driver == nullptr)
        return;
    m_loading = true;
    const int pages = m_driver->GetPagesNumber();
    for (int p = 0; p < pages; ++p) {
        const int properties = m_driver->GetPropertyNumber(p);
        for (int i = 0; i < properties; ++i) {
            QWidget* field = editorFor(p, i);
            if (auto* combo = qobject_cast<QComboBox*>(field)) {
                int value = -1;
                m_driver->GetPropertyValue(p, i, &value);
                combo->setCurrentIndex(value >= 0 && value < combo->count() ? value : -1);
            } else if (auto* edit = qobject_cast<QLineEdit*>(field)) {
                edit->setText(readText(m_driver, p, i));
                edit->setCursorPosition(0);
                edit->setModified(false);
            }
        }
    }
    m_loading = false;
}

void PropertyPagesEditor::applyText(int page, int property) {
    auto* edit = qobject_cast<QLineEdit*>(editorFor(page, property));
    if (m_loading || m_driver == nullptr || edit == nullptr || !edit->isModified())
        return;
    edit->setModified(false);
    m_driver->SetPropertyText(page, property, edit->text().toUtf8().constData());
    // The driver may cut the text to its limit: show what it kept.
    m_loading = true;
    edit->setText(readText(m_driver, page, property));
    m_loading = false;
    emit propertyEdited(page, property);
}

void PropertyPagesEditor::applyOption(int page, int property, int option) {
    if (m_loading || m_driver == nullptr || option < 0)
        return;
    m_driver->SetPropertyValue(page, property, option);
    emit propertyEdited(page, property);
}
