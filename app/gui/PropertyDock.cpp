#include "PropertyDock.h"

#include "DrivFlex.h"
#include "PropertyPagesEditor.h"
#include "ServidorMonitores.h"
#include "Textos.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PropertyDock::PropertyDock(ServidorMonitores* server, QWidget* parent)
    : QDockWidget(Texto(TXT_APP_PROPERTIES), parent), m_server(server), m_editor(new PropertyPagesEditor) {
    setObjectName(QStringLiteral("PropertyDock"));
    auto* content = new QWidget;
    m_ok = new QPushButton(Texto(TXT_OK), content);
    m_cancel = new QPushButton(Texto(TXT_CANCEL), content);
    m_print = new QPushButton(Texto(TXT_APP_PRINT), content);
    m_ok->setObjectName(QStringLiteral("OK"));
    m_cancel->setObjectName(QStringLiteral("Cancel"));
    m_print->setObjectName(QStringLiteral("Print"));
    connect(m_ok, &QPushButton::clicked, this, &PropertyDock::accept);
    connect(m_cancel, &QPushButton::clicked, this, &PropertyDock::cancel);
    connect(m_print, &QPushButton::clicked, this, &PropertyDock::printRequested);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_print);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_editor, 1);
    layout->addLayout(buttons);
    setWidget(content);
    setDriver(nullptr);
}

PropertyDock::~PropertyDock() {
    setDriver(nullptr);
}

void PropertyDock::setDriver(DrivFlex* driver) {
    if (driver == m_driver && driver != nullptr) {
        driver->DecRef(); // already held: keep one reference
        return;
    }
    DrivFlex* previous = m_driver;
    m_driver = driver;
    m_editor->setDriver(driver);
    if (driver != nullptr)
        m_editor->saveSnapshot();
    for (QPushButton* b : {m_ok, m_cancel, m_print})
        b->setEnabled(driver != nullptr);
    if (previous != nullptr && previous->DecRef() != 0) {
        if (m_server != nullptr)
            m_server->Destruyeme(previous, false);
        else
            delete previous;
    }
}

void PropertyDock::accept() {
    m_editor->saveSnapshot();
}

void PropertyDock::cancel() {
    m_editor->restoreSnapshot();
}

void PropertyDock::refresh() {
    if (m_driver == nullptr)
        return;
    auto* typing = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (typing != nullptr && typing->isModified() && m_editor->isAncestorOf(typing))
        return;
    m_editor->reload();
}
