#include "ui/UiUtils.h"

#include <QLineEdit>

void SelectAllText(QLineEdit *box)
{
    if (!box)
        return;
    box->setSelection(0, int(box->text().size()));
    box->setFocus();
}

// Q_INIT_RESOURCE may not be used inside a namespace, hence this file-level helper.
static void registerQuillClientResources()
{
    Q_INIT_RESOURCE(quillclient);
}

void InitUiResources()
{
    static const bool registered = (registerQuillClientResources(), true);
    Q_UNUSED(registered);
}
