#include "GraphConfiguratorDialog.h"

#include "PropertyPagesEditor.h"
#include "Textos.h"
#include "UserInteraction.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

GraphConfiguratorDialog::GraphConfiguratorDialog(DrivFlex* driver, QWidget* parent)
    : QDialog(parent), m_editor(new PropertyPagesEditor(this)) {
    setObjectName(QStringLiteral("GraphConfigurator"));
    setWindowTitle(Texto(TXT_GRAPH_CONFIGURATOR));
    m_editor->setDriver(driver);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_editor, 1);
    layout->addWidget(buttons);
    resize(440, 380);
}

int GraphConfiguratorDialog::run() {
    m_editor->saveSnapshot();
    const int result = host::DialogRunner::exec(*this);
    if (result != QDialog::Accepted)
        m_editor->restoreSnapshot();
    return result;
}
