// Entry point of DataExport.vlk, looked up by name.

#include "ModuleEntries.h"
#include "ObjGen.h"
#include "RecordData.h"
#include "ServidorMonitores.h"
#include "TableExport.h"
#include "Textos.h"
#include "UserInteraction.h"

#include <QFileDialog>

#include <type_traits>

extern "C" {

// Asks for a file name and writes the records' data there as CSV. A cancelled dialog or a
// cancelled write leaves every file as it was; a failed write reports why and leaves the old
// file intact.
__attribute__((visibility("default"))) ObjGen* _DameObjeto2(int, ServidorMonitores* servidor, DrivFlex*,
                                                            TValorMultiple* registros) {
    QWidget* owner = servidor != nullptr ? servidor->VentanaPrincipal() : nullptr;
    QFileDialog dialog(owner, Texto(TXT_DE_CAPTION), QString(), Texto(TXT_DE_FILTER));
    dialog.setObjectName(QStringLiteral("ExportFile"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (host::DialogRunner::exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return new ObjGen;
    const QString path = dialog.selectedFiles().constFirst();
    if (path.isEmpty())
        return new ObjGen;

    RecordTable table;
    {
        host::WaitCursor wait;
        table = RecordData::load(registros);
    }
    exportTableWithFeedback(owner, path, table);
    return new ObjGen;
}
}

static_assert(std::is_same_v<decltype(&_DameObjeto2), ModuloRegistrosFn>);
