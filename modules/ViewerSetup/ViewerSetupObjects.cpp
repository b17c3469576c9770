#include "ViewerSetupObjects.h"

#include "Comando.h"
#include "GraphConfiguratorDialog.h"
#include "GraphSelectorDialog.h"
#include "SourceCatalog.h"
#include "TValorMultiple.h"
#include "UserInteraction.h"

ViewerSetupObject::ViewerSetupObject(QWidget* owner, DrivFlex* target) : m_owner(owner), m_target(target) {}

int ViewerSetupObject::AtenderComando(Comando* comando, TValorMultiple* respuesta, int, ObjGen*) {
    switch (comando->Numero()) {
    case kCmdCaption:
        if (comando->NumParams() > 0 && comando->Param(0).Tipo() == TV_TEXTO)
            m_caption = QString::fromStdString(comando->Param(0).ComoTexto());
        return captionSet();
    case kCmdRun:
        return run(respuesta);
    default:
        return -1;
    }
}

int GraphSelectorObject::Iniciar() {
    m_files = SourceCatalog::read(m_target);
    m_loaded = true;
    return 0;
}

int GraphSelectorObject::run(TValorMultiple* respuesta) {
    if (!m_loaded)
        Iniciar();
    GraphSelectorDialog dialog(m_files, m_owner);
    if (!m_caption.isEmpty())
        dialog.setWindowTitle(m_caption);
    if (host::DialogRunner::exec(dialog) != QDialog::Accepted)
        return 0;
    const auto chosen = dialog.chosen();
    if (chosen.empty() || respuesta == nullptr)
        return 0;
    std::vector<std::int32_t> row;
    row.reserve(chosen.size() * 3);
    for (const auto& triple : chosen)
        row.insert(row.end(), triple.begin(), triple.end());
    respuesta->EntrarEnteros(row);
    return 1;
}

int GraphConfiguratorObject::run(TValorMultiple*) {
    if (m_target == nullptr)
        return 0;
    GraphConfiguratorDialog dialog(m_target, m_owner);
    if (!m_caption.isEmpty())
        dialog.setWindowTitle(m_caption);
    dialog.run();
    return 0;
}

int GraphConfiguratorObject::captionSet() {
    return run(nullptr);
}
