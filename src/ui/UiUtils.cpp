#include "ui/UiUtils.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace {

// The event filter shared by every box that selects on focus.
class FocusSelector : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) {
            QPointer<QLineEdit> box = qobject_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, this, [box] {
                if (box && box->hasFocus())
                    box->setSelection(0, int(box->text().size()));
            });
        }
        return false;
    }
};

FocusSelector& focusSelector()
{
    static QPointer<FocusSelector> instance;
    if (!instance)
        instance = new FocusSelector(QCoreApplication::instance());
    return *instance;
}

} // namespace

void SelectAllText(QLineEdit* box)
{
    if (!box)
        return;
    box->setSelection(0, int(box->text().size()));
    box->setFocus();
}

void SelectTextOnFocus(QLineEdit* box)
{
    if (box)
        box->installEventFilter(&focusSelector());
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
